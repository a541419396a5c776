// Closing a sale against the virtual printer: the closing start, the payments in the order they
// were taken, the consolidation under a transfer, refusals and retries, the change receipt, the
// answer and the debug log.
#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "ClosingValues.h"
#include "coupon/Closing.h"
#include "coupon/CouponOpening.h"
#include "coupon/Footer.h"
#include "coupon/Items.h"
#include "driver/Globals.h"
#include "driver/TestSupport.h"
#include "framework/ClientDataSet.h"
#include "framework/Cp1252.h"
#include "framework/DateTime.h"
#include "framework/Variant.h"

namespace closingtest {

using nlohmann::json;
using orb::fw::ClientDataSet;
using orb::fw::FieldType;
using orb::fw::Variant;

struct Movement {
    std::string kind;      // IDTIPOMOVIVE
    int minute;            // DTHRINCMOV, minutes after noon
    int changeOrder;       // NRORDTROCO
    std::string type;      // CDTIPORECE
    double amount;         // VRMOVIVEND
    std::string card;      // CDBANCARTCR
    std::string original;  // CDTIPORECEORIG
};

inline Variant Movements(const std::vector<Movement>& rows) {
    ClientDataSet t;
    t.AddFieldDef("CDFILIAL", FieldType::String, 4);
    t.AddFieldDef("IDTIPOMOVIVE", FieldType::String, 1);
    t.AddFieldDef("DTHRINCMOV", FieldType::DateTime);
    t.AddFieldDef("CDTIPORECE", FieldType::String, 3);
    t.AddFieldDef("VRMOVIVEND", FieldType::Float);
    t.AddFieldDef("NRORDTROCO", FieldType::Integer);
    t.AddFieldDef("CDBANCARTCR", FieldType::String, 3);
    t.AddFieldDef("CDTIPORECEORIG", FieldType::String, 3);
    t.CreateDataSet();
    for (const Movement& m : rows) {
        t.Append();
        t.FieldByName("CDFILIAL").SetAsString("0001");
        t.FieldByName("IDTIPOMOVIVE").SetAsString(m.kind);
        t.FieldByName("DTHRINCMOV").SetAsDateTime(orb::fw::EncodeDateTime(2026, 12, 5, 12, m.minute, 0));
        t.FieldByName("CDTIPORECE").SetAsString(m.type);
        t.FieldByName("VRMOVIVEND").SetAsFloat(m.amount);
        t.FieldByName("NRORDTROCO").SetAsInteger(m.changeOrder);
        t.FieldByName("CDBANCARTCR").SetAsString(m.card);
        t.FieldByName("CDTIPORECEORIG").SetAsString(m.original);
        t.Post();
    }
    return Variant(t.Data());
}

// Code, name as the printer knows it, kind.
inline Variant PaymentTypes(const std::vector<std::vector<std::string>>& rows) {
    ClientDataSet t;
    t.AddFieldDef("CDTIPORECE", FieldType::String, 3);
    t.AddFieldDef("NMTIPORECE", FieldType::String, 40);
    t.AddFieldDef("IDTIPORECE", FieldType::String, 1);
    t.CreateDataSet();
    for (const auto& r : rows) {
        t.Append();
        t.FieldByName("CDTIPORECE").SetAsString(r.at(0));
        t.FieldByName("NMTIPORECE").SetAsString(r.at(1));
        t.FieldByName("IDTIPORECE").SetAsString(r.at(2));
        t.Post();
    }
    return Variant(t.Data());
}

inline Variant StandardTypes() {
    return PaymentTypes({{"001", "Dinheiro", "1"},
                         {"002", "Cartao Credito Visa Internacional", "2"},
                         {"003", "Convenio", "8"},
                         {"004", "Conta Cliente", "9"}});
}

// The closing's values: no discount, cash 30,00, a plain footer, messages shown.
inline std::vector<Variant> ClosingValues() {
    return orb::cli::ClosingValues{
        .scheme = "002", .movements = Movements({{"E", 1, 0, "001", 30.0, "", ""}}), .paymentTypes = StandardTypes()}
        .Values();
}

class ClosingTest : public orb::test::DriverTest {
protected:
    // A printer with cash, a card, an agreement and a consumer account programmed, and a
    // change totalizer; the module started; a coupon open with items worth 30,00.
    void OpenSale(std::vector<double> prices = {10.0, 20.0}) {
        ResetPrinter(
            {{"payments", {"Dinheiro", "Cartao Credito V", "Convenio", "Conta Cliente"}}, {"totalizers", {"Troco"}}});
        ASSERT_TRUE(StartModule());
        Variant opening = orb::test::NamedParams{{"ESQUEMACOR", "002"}, {"IDUTILTEF", "N"}, {"UTILTEF", false}};
        ASSERT_TRUE(Orb00100::AbreCupom(opening));
        for (double price : prices) {
            Variant item = orb::test::NamedParams{{"ESQUEMACOR", "002"}, {"CDARVPROD", "7891"}, {"NMPROD", "Prato"},
                                                  {"CDALIQ", "01"},      {"QTDE", 1.0},         {"VALOR", price},
                                                  {"DESCONT", 0.0},      {"UNIDADE", "UN"},     {"VRPERCALIQ", "18"},
                                                  {"IDUTILTEF", "N"},    {"UTILTEF", false},    {"ACRESCIMO", 0.0}};
            ASSERT_TRUE(Orb00100::VendaItem(item));
        }
        ForgetSoFar();
    }
    bool Close(const std::vector<Variant>& values, orb::fw::StringList* lines = nullptr) {
        return Orb00100::FechaCupom(values, lines, result);
    }
    std::vector<json> Sent(const std::string& entry) {
        std::vector<json> args;
        for (const json& call : Journal())
            if (call.value("entry", "") == entry) args.push_back(call["args"]);
        return args;
    }
    std::string Footer() {
        const auto sent = Sent("Bematech_FI_TerminaFechamentoCupom");
        return sent.empty() ? std::string() : sent.back().at(0).get<std::string>();
    }
    json Printer() { return Sim({{"sim", "state"}}); }

    Variant result = Variant::MakeArray(4);
};

}  // namespace closingtest

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
    v[4] = true;   // the change as a receipt
    v[6] = 5.009;  // discount, truncated to 5,00
    v[7] = 5.0;    // change
    v[8] = 2.0;    // a surcharge beside a discount is not applied
    // Entered out of order: the card at 12:02, then cash at 12:01 in two change orders.
    v[13] = Movements(
        {{"E", 2, 0, "002", 10.0, "", ""}, {"E", 1, 2, "001", 12.0, "", ""}, {"E", 1, 1, "001", 8.0, "", ""}});
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
    EXPECT_EQ(result[3].ToString(), Orb00100::stMensagemTaa);
    EXPECT_EQ(Orb00100::boClieUtil, Orb00100::stMensagemTaa.empty());
    const std::string roll = Sim({{"sim", "roll"}})["roll"];
    EXPECT_NE(roll.find("TROCO"), std::string::npos) << roll;

    EXPECT_EQ(ClosingLog(NewLogTexts()),
              (std::vector<std::string>{
                  "Bematech_FI_IniciaFechamentoCupom : d - $ - 5,00", "Registros cdsMovCaixa: 3",
                  "Registros cdsMovCaixaTef: 3", "Bematech_FI_EfetuaFormaPagamento : Dinheiro - 8,00",
                  "Bematech_FI_EfetuaFormaPagamento : Dinheiro - 12,00",
                  "Bematech_FI_EfetuaFormaPagamento : Cartao Credito V - 10,00", "Bematech_FI_TerminaFechamentoCupom",
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

// ---- The footer forms the closing chooses ------------------------------------------------

TEST_F(ClosingTest, StandardFormCarriesCountersPiecesAndSubsidy) {
    OpenSale();
    std::vector<Variant> v = ClosingValues();
    v[15] = "123456789012345678901234";  // cut to 20
    v[16] = "Maria";
    v[21] = "12";
    v[22] = "7";
    v[23] = "Ana";
    v[28] = "34";
    v[29] = "0012";
    v[31] = "88";
    v[38] = 1.5;
    v[51] = 3.2;
    v[58] = 1.1;
    ASSERT_TRUE(Close(v));
    const std::string footer = Footer();
    EXPECT_TRUE(
        footer.starts_with("Obrigado pela preferencia\nTrib aprox R$: 3,20 Federal e 1,10 Estadual\n\rFonte: IBPT\n"
                           "ECF:001-Conf.Mesa -CER: 000012- COO: 000034\n"
                           "Cliente : 12345678901234567890 - Maria\n"))
        << footer;
    EXPECT_NE(footer.find("Pr. subsidiado: 1,50 - \n"), std::string::npos) << footer;
    EXPECT_NE(footer.find("Mesa: 12 \x1B"
                          "E\x1B"
                          "W1SENHA: 88\x1B"
                          "F\x1B"
                          "W0\n"),
              std::string::npos)
        << footer;
    // Eight lines used: the contact line takes the last one and the operator is dropped.
    EXPECT_TRUE(footer.ends_with(std::string(Orb00100::kMakerContactLine) + "\n")) << footer;
}

TEST_F(ClosingTest, ConsumerPairFormHasNoCounters) {
    OpenSale();
    std::vector<Variant> v = ClosingValues();
    v[35] = "2";
    v[36] = "1";
    v[17] = "C2";
    v[18] = "Joao";
    v[28] = "34";
    v[29] = "12";
    v[38] = 1.5;
    ASSERT_TRUE(Close(v));
    const std::string footer = Footer();
    EXPECT_EQ(footer.find("-Conf.Mesa"), std::string::npos) << footer;
    EXPECT_NE(footer.find("Consumidor : C2 - Joao\n"), std::string::npos) << footer;
    EXPECT_EQ(footer.find("Pr. subsidiado"), std::string::npos) << footer;

    // Without element 60 the second consumer is left out.
    OpenSale();
    v[60] = false;
    ASSERT_TRUE(Close(v));
    EXPECT_EQ(Footer().find("C2 - Joao"), std::string::npos);
}

TEST_F(ClosingTest, BalanceBlockFormSubtractsFamilyBalancesAndLoans) {
    ClientDataSet credits, families, loans;
    credits.AddFieldDef("CDFAMILISALD", FieldType::String, 3);
    credits.AddFieldDef("NMFAMILISALD", FieldType::String, 20);
    credits.AddFieldDef("VRSALDCONFAM", FieldType::Float);
    credits.CreateDataSet();
    for (auto [code, name, amount] : {std::tuple{"b", "Bebidas", 20.0}, std::tuple{"z", "Zero", 0.0},
                                      std::tuple{"L", "Lanches", 10.0}, std::tuple{"x", "Extra", 5.0}}) {
        credits.Append();
        credits.FieldByName("CDFAMILISALD").SetAsString(code);
        credits.FieldByName("NMFAMILISALD").SetAsString(name);
        credits.FieldByName("VRSALDCONFAM").SetAsFloat(amount);
        credits.Post();
    }
    families.AddFieldDef("CDFAMILISALD", FieldType::String, 3);
    families.AddFieldDef("VRSALDCONFAM", FieldType::Float);
    families.CreateDataSet();
    families.Append();
    families.FieldByName("CDFAMILISALD").SetAsString("B");
    families.FieldByName("VRSALDCONFAM").SetAsFloat(4);
    families.Post();
    loans.AddFieldDef("CDFAMILISALD", FieldType::String, 3);
    loans.AddFieldDef("IDTPMOVEXT", FieldType::String, 1);
    loans.AddFieldDef("VRMOVEXTCONS", FieldType::Float);
    loans.CreateDataSet();
    for (auto [code, kind, amount] : {std::tuple{"b", "C", 1.0}, std::tuple{"L", "D", 3.0}}) {
        loans.Append();
        loans.FieldByName("CDFAMILISALD").SetAsString(code);
        loans.FieldByName("IDTPMOVEXT").SetAsString(kind);
        loans.FieldByName("VRMOVEXTCONS").SetAsFloat(amount);
        loans.Post();
    }
    OpenSale();
    std::vector<Variant> v = ClosingValues();
    v[27] = "1";
    v[36] = "1";
    v[32] = Variant(credits.Data());
    v[33] = Variant(families.Data());
    v[34] = Variant(loans.Data());
    ASSERT_TRUE(Close(v));
    // Bebidas: 20 - 4 + 1 given back; Lanches: 10 - 3 taken; the zero row and the third are not shown.
    EXPECT_NE(Footer().find("\nBebidas: 17,00 Lanches: 7,00 \n"), std::string::npos) << Footer();
}

TEST_F(ClosingTest, TransferReceiptFormWithoutLinesLeavesTheCouponToTheHost) {
    OpenSale();
    std::vector<Variant> v = ClosingValues();
    v[9] = "T";
    v[11] = true;
    v[40] = "S";
    ASSERT_TRUE(Close(v));
    EXPECT_TRUE(Sent("Bematech_FI_TerminaFechamentoCupom").empty());
    EXPECT_TRUE(Printer()["docs"]["couponOpen"].get<bool>());

    OpenSale();
    orb::fw::StringList lines{"COMPROVANTE\n"};
    ASSERT_TRUE(Close(v, &lines));
    EXPECT_EQ(Sent("Bematech_FI_TerminaFechamentoCupom").size(), 1u);
    EXPECT_FALSE(Printer()["docs"]["couponOpen"].get<bool>());
}

TEST_F(ClosingTest, AgreementPaymentSelectsTheAgreementLayoutWithTheAccountBalance) {
    OpenSale();
    std::vector<Variant> v = ClosingValues();
    v[13] = Movements({{"E", 1, 0, "003", 20.0, "", ""}, {"E", 2, 0, "004", 10.0, "", ""}});
    v[15] = "55";
    v[16] = "Empresa";
    v[27] = "1";
    v[37] = 100.0;
    // The agreement layout takes ten lines whatever the budget; the virtual printer holds eight,
    // so it refuses the footer and the closing answers false with the coupon still open.
    EXPECT_FALSE(Close(v));
    EXPECT_TRUE(Printer()["docs"]["couponOpen"].get<bool>());
    const std::string footer = Footer();
    EXPECT_NE(footer.find("\nConvênio ..: 55 - Empresa\n") /* the journal writes UTF-8 */, std::string::npos) << footer;
    // 100 before the sale, less the 10 paid on the consumer's account.
    EXPECT_NE(footer.find("\nSaldo Final :  - 90,00\n"), std::string::npos) << footer;
}

TEST_F(ClosingTest, StateProgrammeLineCarriesTheNetAmountAndTheFooterFitsThePrinter) {
    OpenSale();
    PinClock(orb::fw::EncodeDateTime(2026, 12, 5, 14, 0, 0));
    std::vector<Variant> v = ClosingValues();
    v[7] = 4.5;
    v[13] = Movements({{"E", 1, 0, "001", 34.5, "", ""}});
    v[43] = "PB";
    v[15] = "C1";
    v[17] = "C2";
    v[19] = "x";
    v[22] = "7";
    v[28] = "1";
    v[29] = "2";
    v[10] = std::string(200, 'f');
    ASSERT_TRUE(Close(v));
    const std::string footer = Footer();
    EXPECT_NE(footer.find("TORPEDO PREMIADO: 123456780 05122026 4711 3000\n"), std::string::npos) << footer;
    EXPECT_EQ(footer.find("Operador"), std::string::npos) << footer;
    EXPECT_FALSE(Printer()["docs"]["couponOpen"].get<bool>());
}

}  // namespace
