// Closing a sale against the virtual printer: the closing start, the payments in the order they
// were taken, the consolidation under a transfer, refusals and retries, the change receipt, the
// answer and the debug log.
#include "driver/ClosingTestSupport.h"

#include <algorithm>

#include "framework/Cp1252.h"

namespace {

using namespace closingtest;

std::vector<std::string> ClosingLog(const std::vector<std::string>& texts) {
    std::vector<std::string> kept;
    for (const std::string& t : texts)
        if (t.starts_with("Bematech_FI_IniciaFechamentoCupom") || t.starts_with("Registros ") ||
            t.starts_with("Bematech_FI_EfetuaFormaPagamento") || t.starts_with("Bematech_FI_TerminaFechamentoCupom") ||
            t.starts_with("Bematech_FI_RecebimentoNaoFiscal"))
            kept.push_back(t);
    return kept;
}

TEST_F(ClosingTest, SaleWithDiscountTwoPaymentsAndChangeReceipt) {
    OpenSale();
    std::vector<Variant> v = ClosingValues();
    v[4] = true;    // the change as a receipt
    v[6] = 5.009;   // discount, truncated to 5,00
    v[7] = 5.0;     // change
    v[8] = 2.0;     // a surcharge beside a discount is not applied
    // Entered out of order: the card at 12:02, then cash at 12:01 in two change orders.
    v[13] = Movements({{"E", 2, 0, "002", 10.0, "", ""},
                       {"E", 1, 2, "001", 12.0, "", ""},
                       {"E", 1, 1, "001", 8.0, "", ""}});
    ASSERT_TRUE(Close(v));

    EXPECT_EQ(Sent("Bematech_FI_IniciaFechamentoCupom"), (std::vector<json>{{"d", "$", "5,00"}}));
    EXPECT_EQ(Sent("Bematech_FI_EfetuaFormaPagamento"),
              (std::vector<json>{{"Dinheiro", "8,00"}, {"Dinheiro", "12,00"}, {"Cartao Credito V", "10,00"}}));
    EXPECT_EQ(Sent("Bematech_FI_RecebimentoNaoFiscal"), (std::vector<json>{{"01", "5,00", "Dinheiro"}}));

    const json state = Printer();
    EXPECT_FALSE(state["docs"]["couponOpen"].get<bool>());
    const auto counter = Sent("Bematech_FI_NumeroOperacoesNaoFiscais");
    ASSERT_EQ(counter.size(), 1u);
    EXPECT_EQ(result[0].ToInt(), 0);
    EXPECT_EQ(result[1].ToString(), "4711");
    EXPECT_EQ(result[2].ToString(), counter[0].at(0).get<std::string>());
    EXPECT_EQ(result[3].ToString(), "");
    EXPECT_TRUE(Orb00100::boClieUtil);
    const std::string roll = Sim({{"sim", "roll"}})["roll"];
    EXPECT_NE(roll.find("TROCO"), std::string::npos) << roll;

    EXPECT_EQ(ClosingLog(NewLogTexts()),
              (std::vector<std::string>{"Bematech_FI_IniciaFechamentoCupom : d - $ - 5,00",
                                        "Registros cdsMovCaixa: 3", "Registros cdsMovCaixaTef: 3",
                                        "Bematech_FI_EfetuaFormaPagamento : Dinheiro - 8,00",
                                        "Bematech_FI_EfetuaFormaPagamento : Dinheiro - 12,00",
                                        "Bematech_FI_EfetuaFormaPagamento : Cartao Credito V - 10,00",
                                        "Bematech_FI_TerminaFechamentoCupom",
                                        "Bematech_FI_RecebimentoNaoFiscal : 01 - 5,00 - Dinheiro"}));
}

TEST_F(ClosingTest, ClosingStartTextWithSurchargeOrNothing) {
    OpenSale();
    std::vector<Variant> v = ClosingValues();
    v[8] = 1.5;
    v[13] = Movements({{"E", 1, 0, "001", 31.5, "", ""}});
    ASSERT_TRUE(Close(v));
    EXPECT_EQ(Sent("Bematech_FI_IniciaFechamentoCupom"), (std::vector<json>{{"a", "$", "1,50"}}));

    OpenSale();
    ASSERT_TRUE(Close(ClosingValues()));
    EXPECT_EQ(Sent("Bematech_FI_IniciaFechamentoCupom"), (std::vector<json>{{"d", "$", "0"}}));
    EXPECT_EQ(ClosingLog(NewLogTexts()).at(0), "Bematech_FI_IniciaFechamentoCupom : d - $ - 0");
}

TEST_F(ClosingTest, TransferConsolidatesOnePaymentTypeAndSkipsOtherKinds) {
    const std::vector<Movement> moves = {{"E", 1, 0, "001", 10.0, "", ""},
                                         {"S", 2, 0, "001", 99.0, "", ""},
                                         {"E", 3, 0, "001", 15.0, "", ""},
                                         {"T", 4, 0, "002", 5.0, "", ""}};
    OpenSale();
    std::vector<Variant> v = ClosingValues();
    v[9] = "S";
    v[13] = Movements(moves);
    ASSERT_TRUE(Close(v));
    EXPECT_EQ(Sent("Bematech_FI_EfetuaFormaPagamento"),
              (std::vector<json>{{"Dinheiro", "25,00"}, {"Cartao Credito V", "5,00"}}));
    const auto log = ClosingLog(NewLogTexts());
    EXPECT_NE(std::find(log.begin(), log.end(), "Registros cdsMovCaixa: 4"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "Registros cdsMovCaixaTef: 3"), log.end());

    // The same movements without a transfer: one call per cash movement.
    OpenSale();
    v[9] = "N";
    ASSERT_TRUE(Close(v));
    EXPECT_EQ(Sent("Bematech_FI_EfetuaFormaPagamento"),
              (std::vector<json>{{"Dinheiro", "10,00"}, {"Dinheiro", "15,00"}, {"Cartao Credito V", "5,00"}}));
}

TEST_F(ClosingTest, CardPaymentIsPaidUnderItsOriginalType) {
    OpenSale();
    std::vector<Variant> v = ClosingValues();
    v[13] = Movements({{"E", 1, 0, "099", 30.0, "341", "002"}});
    ASSERT_TRUE(Close(v));
    EXPECT_EQ(Sent("Bematech_FI_EfetuaFormaPagamento"), (std::vector<json>{{"Cartao Credito V", "30,00"}}));
}

TEST_F(ClosingTest, UnknownPaymentTypeFailsWithTheResultFilled) {
    OpenSale();
    std::vector<Variant> v = ClosingValues();
    v[13] = Movements({{"E", 1, 0, "777", 30.0, "", ""}});
    result = Variant::MakeArray(2);  // shorter than the host should pass
    EXPECT_FALSE(Close(v));
    EXPECT_TRUE(Sent("Bematech_FI_EfetuaFormaPagamento").empty());
    ASSERT_EQ(result.ArraySize(), 4u);
    EXPECT_EQ(result[1].ToString(), "4711");
    EXPECT_TRUE(Printer()["docs"]["couponOpen"].get<bool>());
}

TEST_F(ClosingTest, AttendedTransferRetriesARefusedPaymentAndMarksTheResult) {
    OpenSale();
    Orb00100::boNUtilTaa = true;
    std::vector<Variant> v = ClosingValues();
    v[9] = "T";
    v[11] = true;
    FailNext("Bematech_FI_EfetuaFormaPagamento", 0);
    QueueAnswers({true});
    ASSERT_TRUE(Close(v));
    EXPECT_EQ(Sent("Bematech_FI_EfetuaFormaPagamento").size(), 2u);
    EXPECT_EQ(Sent("Bematech_FI_RetornoImpressora").empty(), false) << "the transfer pre-check asks the state";
    std::vector<std::string> questions;
    for (const auto& d : Dialogs())
        if (d.question == "S") questions.push_back(d.text);
    EXPECT_EQ(questions, (std::vector<std::string>{CP("Impressora não responde. Imprimir novamente?")}));
    EXPECT_EQ(result[0].ToInt(), 1);
    EXPECT_FALSE(Printer()["docs"]["couponOpen"].get<bool>());
}

TEST_F(ClosingTest, RefusedClosingStartRetriesInTransferMode) {
    OpenSale();
    Orb00100::boNUtilTaa = true;
    std::vector<Variant> v = ClosingValues();
    v[9] = "S";
    v[11] = true;
    FailNext("Bematech_FI_IniciaFechamentoCupom", 0);
    QueueAnswers({true});
    ASSERT_TRUE(Close(v));
    const auto entries = JournalEntries();
    const auto tef = std::find(entries.begin(), entries.end(), "Bematech_FI_IniciaModoTEF");
    ASSERT_NE(tef, entries.end());
    EXPECT_EQ(std::count(tef, entries.end(), "Bematech_FI_IniciaFechamentoCupom"), 1);
    EXPECT_EQ(result[0].ToInt(), 1);
}

TEST_F(ClosingTest, DeclinedRetryLeavesTheResultAsPassed) {
    OpenSale();
    Orb00100::boNUtilTaa = true;
    std::vector<Variant> v = ClosingValues();
    v[9] = "T";
    v[11] = true;
    FailNext("Bematech_FI_TerminaFechamentoCupom", 0);
    QueueAnswers({false});
    EXPECT_FALSE(Close(v));
    EXPECT_EQ(Sent("Bematech_FI_TerminaFechamentoCupom").size(), 1u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_TRUE(result[i].IsUnassigned()) << i;
    EXPECT_TRUE(Printer()["docs"]["couponOpen"].get<bool>());
}

TEST_F(ClosingTest, SelfServiceRefusalAsksNothingAndCollectsTheMessage) {
    OpenSale();
    Orb00100::boNUtilTaa = false;
    Orb00100::boClieUtil = true;
    std::vector<Variant> v = ClosingValues();
    v[9] = "T";
    v[11] = true;
    FailNext("Bematech_FI_EfetuaFormaPagamento", 0);
    EXPECT_FALSE(Close(v));
    EXPECT_FALSE(Orb00100::boClieUtil);
    EXPECT_EQ(Sent("Bematech_FI_EfetuaFormaPagamento").size(), 1u);
    EXPECT_TRUE(std::none_of(Dialogs().begin(), Dialogs().end(), [](const auto& d) { return d.question == "S"; }));
    EXPECT_FALSE(Orb00100::stMensagemTaa.empty());
}

TEST_F(ClosingTest, RefusedChangeReceiptStillClosesTheSale) {
    OpenSale();
    std::vector<Variant> v = ClosingValues();
    v[4] = true;
    v[7] = 2.0;
    v[13] = Movements({{"E", 1, 0, "001", 32.0, "", ""}});
    FailNext("Bematech_FI_RecebimentoNaoFiscal", 0);
    EXPECT_TRUE(Close(v));
    EXPECT_EQ(Sent("Bematech_FI_RecebimentoNaoFiscal").size(), 1u);
    EXPECT_FALSE(Printer()["docs"]["couponOpen"].get<bool>());
}

TEST_F(ClosingTest, NoPaymentLeavesTheCouponOpenAndAnswersFalse) {
    OpenSale();
    std::vector<Variant> v = ClosingValues();
    v[13] = Movements({{"S", 1, 0, "001", 30.0, "", ""}});
    EXPECT_FALSE(Close(v));
    EXPECT_TRUE(Sent("Bematech_FI_TerminaFechamentoCupom").empty());
    EXPECT_EQ(result[1].ToString(), "4711");
}

TEST_F(ClosingTest, ShortParameterArrayStopsReadingButStillCloses) {
    OpenSale();
    std::vector<Variant> v = ClosingValues();
    v.resize(20);  // the footer values are missing: they count as empty
    ASSERT_TRUE(Close(v));
    EXPECT_EQ(result[1].ToString(), "");
    EXPECT_EQ(Footer().find("Cliente"), std::string::npos);
}

}  // namespace
