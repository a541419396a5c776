// Closing a sale against the virtual printer: the closing start, the payments in the order they
// were taken, the consolidation under a transfer, refusals and retries, the change receipt, the
// answer and the debug log.
#include <map>

#include "ClosingValues.h"
#include "coupon/Closing.h"
#include "coupon/CouponOpening.h"
#include "coupon/Footer.h"
#include "coupon/Items.h"
#include "driver/Catalogs.h"
#include "driver/Globals.h"
#include "driver/TestSupport.h"
#include "framework/Cp1252.h"

namespace closingtest {

using nlohmann::json;
using orb::fw::FieldType;
using orb::fw::Variant;
using orb::test::Texts;

using Movement = orb::cli::ClosingMovement;
using orb::cli::ClosingMovements;

// Payments taken this many minutes after noon.
inline orb::fw::TDateTime At(int minute) { return orb::fw::EncodeDateTime(2026, 12, 5, 12, minute, 0); }

inline Variant StandardTypes() {
    return orb::cli::ClosingPaymentTypes({{"001", "Dinheiro", "1"},
                                          {"002", "Cartao Credito Visa Internacional", "2"},
                                          {"003", "Convenio", "8"},
                                          {"004", "Conta Cliente", "9"}});
}

// The closing's values: no discount, cash 30,00, a plain footer, messages shown.
inline std::vector<Variant> ClosingValues() {
    return orb::cli::ClosingValues{
        .scheme = "002", .movements = ClosingMovements({{"001", 30.0, At(1)}}), .paymentTypes = StandardTypes()}
        .Values();
}

class ClosingTest : public orb::test::DriverTest {
protected:
    // A printer with cash, a card, an agreement and a consumer account programmed, and a
    // change totalizer; the module started; a coupon open with items worth 30,00.
    void OpenSale() {
        Start({{"payments", {"Dinheiro", "Cartao Credito V", "Convenio", "Conta Cliente"}}, {"totalizers", {"Troco"}}});
        Variant opening = orb::test::NamedParams{{"ESQUEMACOR", "002"}, {"IDUTILTEF", "N"}, {"UTILTEF", false}};
        ASSERT_TRUE(Orb00100::AbreCupom(opening));
        for (double price : {10.0, 20.0}) {
            Variant item = orb::test::NamedParams{{"ESQUEMACOR", "002"}, {"CDARVPROD", "7891"}, {"NMPROD", "Prato"},
                                                  {"CDALIQ", "01"},      {"QTDE", 1.0},         {"VALOR", price},
                                                  {"DESCONT", 0.0},      {"UNIDADE", "UN"},     {"VRPERCALIQ", "18"},
                                                  {"IDUTILTEF", "N"},    {"UTILTEF", false},    {"ACRESCIMO", 0.0}};
            ASSERT_TRUE(Orb00100::VendaItem(item));
        }
        ForgetSoFar();
        result = Variant::MakeArray(4);
    }
    bool Close(const std::vector<Variant>& values, orb::fw::StringList* lines = nullptr) {
        return Orb00100::FechaCupom(values, lines, result);
    }
    // The payments as "method amount", in the order they were sent.
    Texts Payments() { return SentTexts("Bematech_FI_EfetuaFormaPagamento"); }

    Variant result = Variant::MakeArray(4);
};

}  // namespace closingtest

namespace {

using namespace closingtest;

TEST_F(ClosingTest, ClosingStartCarriesTheDiscountCutToCentsOrTheSurcharge) {
    struct Case {
        double discount, surcharge;
        json start;
    };
    const Case cases[] = {
        {5.009, 2.0, {"d", "$", "5,00"}},  // a surcharge beside a discount is not applied
        {0, 1.5, {"a", "$", "1,50"}},
        {0, 0, {"d", "$", "0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start.dump());
        OpenSale();
        std::vector<Variant> v = ClosingValues();
        v[6] = c.discount;
        v[8] = c.surcharge;
        v[13] = ClosingMovements({{"001", 30.0 - static_cast<int>(c.discount) + c.surcharge, At(1)}});
        ASSERT_TRUE(Close(v));
        EXPECT_EQ(Sent("Bematech_FI_IniciaFechamentoCupom"), std::vector<json>{c.start});
    }
}

TEST_F(ClosingTest, PaymentsGoInTheOrderTheyWereTakenUnderThePrintersNames) {
    struct Case {
        const char* what;
        const char* transfer;
        std::vector<Movement> moves;
        Texts paid;
    };
    const std::vector<Movement> mixed = {
        {"001", 10.0, At(1)}, {"001", 99.0, At(2), "S"}, {"001", 15.0, At(3)}, {"002", 5.0, At(4), "T"}};
    const Case cases[] = {
        // By time, then by change order: the card at 12:02 after cash at 12:01 in two change orders.
        {"out of order",
         "N",
         {{"002", 10.0, At(2)}, {"001", 12.0, At(1), "E", 2}, {"001", 8.0, At(1), "E", 1}},
         {"Dinheiro 8,00", "Dinheiro 12,00", "Cartao Credito V 10,00"}},
        // A transfer consolidates one payment type; only entries (E) and transfers (T) are paid.
        {"transfer", "S", mixed, {"Dinheiro 25,00", "Cartao Credito V 5,00"}},
        {"no transfer", "N", mixed, {"Dinheiro 10,00", "Dinheiro 15,00", "Cartao Credito V 5,00"}},
        // A card payment is paid under its original type.
        {"card", "N", {{"099", 30.0, At(1), "E", 0, "341", "002"}}, {"Cartao Credito V 30,00"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OpenSale();
        std::vector<Variant> v = ClosingValues();
        v[9] = c.transfer;
        v[13] = ClosingMovements(c.moves);
        ASSERT_TRUE(Close(v));
        EXPECT_EQ(Payments(), c.paid);
    }
    EXPECT_TRUE(WasLogged("Registros cdsMovCaixa: 4"));
    EXPECT_TRUE(WasLogged("Registros cdsMovCaixaTef: 3"));
}

TEST_F(ClosingTest, SaleThatCannotBePaidAnswersFalseWithTheCouponOpen) {
    // An unknown payment type: nothing is paid, the result array is made whole and filled.
    OpenSale();
    std::vector<Variant> v = ClosingValues();
    v[13] = ClosingMovements({{"777", 30.0, At(1)}});
    result = Variant::MakeArray(2);  // shorter than the host should pass
    EXPECT_FALSE(Close(v));
    EXPECT_TRUE(Payments().empty());
    ASSERT_EQ(result.ArraySize(), 4u);
    EXPECT_EQ(result[1].ToString(), "4711");
    EXPECT_TRUE(CouponOpen());

    // No entry at all: the coupon is not ended.
    OpenSale();
    v[13] = ClosingMovements({{"001", 30.0, At(1), "S"}});
    EXPECT_FALSE(Close(v));
    EXPECT_EQ(CallCount("Bematech_FI_TerminaFechamentoCupom"), 0);
    EXPECT_EQ(result[1].ToString(), "4711");
}

TEST_F(ClosingTest, RefusalsAreRetriedOnAnAttendedTillAndCollectedOnASelfServiceOne) {
    struct Case {
        const char* what;
        bool attended;
        const char *transfer, *refused;
        std::vector<bool> answers;
        bool closed;
        Texts calls;  // the refused entry and the transfer mode's start, in order
        int marker;   // result[0]; -1: left unassigned
    };
    const std::string pay = "Bematech_FI_EfetuaFormaPagamento", start = "Bematech_FI_IniciaFechamentoCupom",
                      end = "Bematech_FI_TerminaFechamentoCupom", tef = "Bematech_FI_IniciaModoTEF";
    const Case cases[] = {
        {"payment, retried", true, "T", pay.c_str(), {true}, true, {pay, pay}, 1},
        {"closing start, retried in transfer mode", true, "S", start.c_str(), {true}, true, {start, tef, start}, 1},
        {"end, declined", true, "T", end.c_str(), {false}, false, {end}, -1},
        {"payment, self-service", false, "T", pay.c_str(), {}, false, {pay}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OpenSale();
        Orb00100::boNUtilTaa = c.attended;
        Orb00100::boClieUtil = true;
        std::vector<Variant> v = ClosingValues();
        v[9] = c.transfer;
        v[11] = true;
        FailNext(c.refused, 0);
        QueueAnswers(c.answers);
        EXPECT_EQ(Close(v), c.closed);
        EXPECT_EQ(JournalEntries({c.refused, tef}), c.calls);
        EXPECT_EQ(Questions(), Texts(c.answers.size(), orb::test::ReprintQuestion()));
        EXPECT_EQ(result[0].IsUnassigned() ? -1 : result[0].ToInt(), c.marker);
        EXPECT_EQ(CouponOpen(), !c.closed);
        if (!c.attended) {
            EXPECT_FALSE(Orb00100::boClieUtil);
            EXPECT_FALSE(Orb00100::stMensagemTaa.empty());
        }
    }
}

TEST_F(ClosingTest, RefusedChangeReceiptStillClosesTheSale) {
    OpenSale();
    std::vector<Variant> v = ClosingValues();
    v[4] = true;
    v[7] = 2.0;
    v[13] = ClosingMovements({{"001", 32.0, At(1)}});
    FailNext("Bematech_FI_RecebimentoNaoFiscal", 0);
    EXPECT_TRUE(Close(v));
    EXPECT_EQ(Sent("Bematech_FI_RecebimentoNaoFiscal"), (std::vector<json>{{"01", "2,00", "Dinheiro"}}));
    EXPECT_FALSE(CouponOpen());
    // The host learns the change went unrecorded: no receipt counter, the amount in the messages.
    EXPECT_EQ(result[2].ToString(), "");
    EXPECT_TRUE(result[3].ToString().ends_with(CP(" Troco não registrado: 2,00"))) << result[3].ToString();
}

// ---- The footer forms the closing chooses ------------------------------------------------

TEST_F(ClosingTest, FooterFormsCarryTheirLinesAndFitThePrinter) {
    using orb::test::TableData;
    const FieldType kFloat = FieldType::Float;
    // clang-format off
    const std::string standard =
        "Obrigado pela preferencia\nTrib aprox R$: 3,20 Federal e 1,10 Estadual\n\rFonte: IBPT\n"
        "ECF:001-Conf.Mesa -CER: 000012- COO: 000034\nCliente : 12345678901234567890 - Maria\n"
        "Pr. subsidiado: 1,50 - \nMesa: 12 \x1B" "E\x1B" "W1SENHA: 88\x1B" "F\x1B" "W0\n" +
        std::string(Orb00100::kMakerContactLine) + "\n";
    const std::map<int, Variant> pair = {{35, "2"}, {36, "1"}, {17, "C2"}, {18, "Joao"}, {28, "34"}, {29, "12"},
                                         {38, 1.5}};
    std::map<int, Variant> pairWithout60 = pair;
    pairWithout60[60] = false;
    struct Case {
        const char* what;
        std::map<int, Variant> set;
        std::size_t size;  // the parameter array cut to this many; 0: whole
        bool closes, open;
        int ends;  // calls of the closing's end
        Texts present, absent;
        bool lines = false;
    };
    const Case cases[] = {
        // The operator is dropped when the line is full; the client cut to 20.
        {"standard", {{15, "123456789012345678901234"}, {16, "Maria"}, {21, "12"}, {22, "7"}, {23, "Ana"}, {28, "34"},
                      {29, "0012"}, {31, "88"}, {38, 1.5}, {51, 3.2}, {58, 1.1}},
         0, true, false, 1, {standard}, {"Ana"}},
        // A short parameter array counts the missing footer values as empty.
        {"short array", {}, 20, true, false, 1, {}, {"Cliente"}},
        {"consumer pair", pair, 0, true, false, 1, {"Consumidor : C2 - Joao\n"}, {"-Conf.Mesa", "Pr. subsidiado"}},
        {"consumer pair without element 60", pairWithout60, 0, true, false, 1, {}, {"C2 - Joao"}},
        // Bebidas: 20 - 4 + 1 given back; Lanches: 10 - 3 taken; the zero row and the third are not shown.
        {"balance block", {{27, "1"}, {36, "1"},
          {32, TableData({{"CDFAMILISALD"}, {"NMFAMILISALD"}, {"VRSALDCONFAM", kFloat}},
                         {{"b", "Bebidas", 20.0}, {"z", "Zero", 0.0}, {"L", "Lanches", 10.0}, {"x", "Extra", 5.0}})},
          {33, TableData({{"CDFAMILISALD"}, {"VRSALDCONFAM", kFloat}}, {{"B", 4.0}})},
          {34, TableData({{"CDFAMILISALD"}, {"IDTPMOVEXT"}, {"VRMOVEXTCONS", kFloat}},
                         {{"b", "C", 1.0}, {"L", "D", 3.0}})}},
         0, true, false, 1, {"\nBebidas: 17,00 Lanches: 7,00 \n"}, {}},
        // A transfer receipt without lines leaves the coupon to the host.
        {"transfer receipt", {{9, "T"}, {11, true}, {40, "S"}}, 0, true, true, 0, {}, {}},
        {"transfer receipt with lines", {{9, "T"}, {11, true}, {40, "S"}}, 0, true, false, 1, {}, {}, true},
        // Ten lines, 100 before the sale less the 10 paid on the consumer's account: the virtual
        // printer holds eight and refuses the footer.
        {"agreement", {{13, ClosingMovements({{"003", 20.0, At(1)}, {"004", 10.0, At(2)}})}, {15, "55"},
                       {16, "Empresa"}, {27, "1"}, {37, 100.0}},
         0, false, true, 1, {"\nConvênio ..: 55 - Empresa\n", "\nSaldo Final :  - 90,00\n"}, {}},
        // The state programme line carries the net amount; the operator goes to fit the printer.
        {"state programme", {{7, 4.5}, {13, ClosingMovements({{"001", 34.5, At(1)}})}, {43, "PB"}, {15, "C1"},
                             {17, "C2"}, {19, "x"}, {22, "7"}, {28, "1"}, {29, "2"}, {10, std::string(200, 'f')}},
         0, true, false, 1, {"TORPEDO PREMIADO: 123456780 05122026 4711 3000\n"}, {"Operador"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        orb::fw::SetClock({});  // the module's start compares its clock with the printer's
        OpenSale();
        PinClock(orb::fw::EncodeDateTime(2026, 12, 5, 14, 0, 0));
        std::vector<Variant> v = ClosingValues();
        for (const auto& [index, value] : c.set) v[index] = value;
        if (c.size) v.resize(c.size);
        orb::fw::StringList lines{"COMPROVANTE\n"};
        EXPECT_EQ(Close(v, c.lines ? &lines : nullptr), c.closes);
        EXPECT_EQ(CouponOpen(), c.open);
        const auto sent = Sent("Bematech_FI_TerminaFechamentoCupom");
        ASSERT_EQ(sent.size(), static_cast<std::size_t>(c.ends));
        const std::string footer = sent.empty() ? "" : sent[0].at(0).get<std::string>();
        for (const std::string& text : c.present) EXPECT_NE(footer.find(text), std::string::npos) << footer;
        for (const std::string& text : c.absent) EXPECT_EQ(footer.find(text), std::string::npos) << footer;
        EXPECT_TRUE(c.size == 0 || result[1].ToString().empty()) << result[1].ToString();
    }
}

}  // namespace
