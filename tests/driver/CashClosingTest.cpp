// The till's closing against the virtual printer: the two withdrawal-receipt copies, the closing
// report's shortage or surplus, the end-of-day questions and what each path leaves open.
#include "driver/TestSupport.h"
#include "external/vendor/EntryPoints.h"
#include "slips/CashClosing.h"

namespace {

using namespace Orb00100;
using orb::fw::ClientDataSet;
using orb::fw::FieldType;
using orb::test::Left;
using orb::test::Right;
using orb::test::Texts;

constexpr const char* kUsa = "Bematech_FI_UsaComprovanteNaoFiscalVinculado";
constexpr const char* kClose = "Bematech_FI_FechaRelatorioGerencial";
const std::string kDashes(48, '-');

// What the host passes, with the defaults of a plain till closing.
struct Closing {
    bool print = true, withdrawalOnly = false, keepTables = false, reduction = true;
    std::string reason, remark, envelope = "S", productMode = "X";
    double sales = 110.28, credit = 10;
    std::vector<std::vector<orb::fw::Variant>> movements = {
        {"1", "Sangria Dinheiro", 100.0}, {"5", "Sangria Cartao", 50.0}, {"3", "Suprimento", 20.0}};
};

class CashClosing : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        Start();
    }
    static void Fill(ClientDataSet& table, const std::vector<orb::test::Column>& columns,
                     const std::vector<std::vector<orb::fw::Variant>>& rows) {
        table.Close();
        table.ClearFieldDefs();
        orb::test::FillTable(table, columns, rows);
    }
    bool Run(const Closing& c) {
        Fill(amounts_,
             {{"NMTIPORECE"}, {"NRENVELOPE"}, {"VRFECHAINF", FieldType::Float}, {"VRFECHADIG", FieldType::Float}},
             {{"Dinheiro", "000001", 100.0, 98.5}, {"Cartao Credito", "000002", 50.0, 50.0}});
        Fill(staff_, {{"CDSUPERVISOR"}, {"NMSUPERVISOR"}, {"CDOPERADOR"}, {"NMOPERADOR"}},
             {{"000010", "MARIA SUPERVISORA", "000020", "JOAO CAIXA"}});
        Fill(movements_, {{"IDTIPOREG"}, {"NMTIPORECE"}, {"VRSAIDA", FieldType::Float}}, c.movements);
        Fill(sales_, {{"VRTOTAL", FieldType::Float}}, {{c.sales}});
        Fill(credit_, {{"VRCARGACREDITO", FieldType::Float}}, {{c.credit}});
        Fill(other_, {{"X"}}, {});
        ClientDataSet* none = nullptr;
        return GeraReciboSangria("", "BE0001", "0001", "001", "", 0, first_, &amounts_, &other_, &sales_, &staff_,
                                 &movements_, &movements_, &sales_, &credit_, {}, c.print, c.reduction, false, none,
                                 none, none, none, tillClosed_, &other_, c.productMode, "N", "N", c.envelope, "001",
                                 c.withdrawalOnly, c.keepTables, c.reduction, c.reason, c.remark);
    }
    ClientDataSet amounts_, staff_, movements_, sales_, credit_, other_;
    std::string first_;
    bool tillClosed_ = true;
};

// One copy as it is sent: the heading piece, one piece per row, the total and signature piece.
Texts Copy(const std::string& start, const std::string& title, const std::string& reasonLines, const std::string& cash,
           const std::string& total, const std::string& signature) {
    return {start + title + "\n" + kDashes + "\n" + reasonLines + "NR.ENV " + Left("MODALIDADE", 25) + " " +
                Right("VALOR", 15) + "\n",
            "000001 " + Left("Dinheiro", 25) + " " + Right(cash, 15) + "\n",
            "000002 " + Left("Cartao Credito", 25) + " " + Right("50,00", 15) + "\n",
            Left("TOTAL SANGRIAS", 27) + Right(total, 15) + "\n\n" + kDashes + "\n" + signature + "\n\n\n"};
}

TEST_F(CashClosing, WithdrawalPrintsTwoCopiesOfTheTypedAmountsAndAsksNothing) {
    Closing c;
    c.withdrawalOnly = true;
    c.reason = "Troco excedente";
    EXPECT_TRUE(Run(c));
    Texts expected =
        Copy("\n", std::string(13, ' ') + "RECIBO SAIDA NUMERARIO" + std::string(13, ' '),
             "Motivo: Troco excedente\n" + kDashes + "\n", "98,50", "148,50", "Supervisor : 000010 MARIA SUPERVISORA");
    const Texts second =
        Copy("", std::string(10, ' ') + "SAIDA DE NUMERARIO - SANGRIA" + std::string(10, ' '),
             "Motivo: Troco excedente\n" + kDashes + "\n", "98,50", "148,50", "Operador : 000020 JOAO CAIXA");
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(SentTexts(kUsa), expected);
    EXPECT_TRUE(Questions().empty());
    EXPECT_EQ(LedgerTypes(), Texts{"RG"});
    EXPECT_EQ(first_, "000001");
    EXPECT_FALSE(tillClosed_);
    EXPECT_EQ(Docs()["open"], "");

    // Blank reason and remark: no reason lines and no second dash line.
    ClearJournal();
    c.reason = "  ";
    c.envelope = "N";
    EXPECT_TRUE(Run(c));
    EXPECT_EQ(SentTexts(kUsa).at(0), "\n" + std::string(13, ' ') + "RECIBO SAIDA NUMERARIO" + std::string(13, ' ') +
                                         "\n" + kDashes + "\n" + Left("MODALIDADE", 25) + " " + Right("VALOR", 15) +
                                         "\n");
}

TEST_F(CashClosing, WithdrawalAnswersWhetherEverythingPrinted) {
    Closing c;
    c.withdrawalOnly = true;
    FailNext(kUsa, 0);
    EXPECT_FALSE(Run(c));
    EXPECT_EQ(Sent(kUsa).size(), 8u);  // the rest still printed
    EXPECT_EQ(Docs()["open"], "");

    // A report that does not open prints no receipt.
    ClearJournal();
    FailNext("Bematech_FI_RelatorioGerencial", 0);
    EXPECT_FALSE(Run(c));
    EXPECT_TRUE(Sent(kUsa).empty());
    EXPECT_EQ(CallCount(kClose), 0);
}

TEST_F(CashClosing, ClosingReportSetsSalesAgainstMovementsShortageOrSurplus) {
    const struct {
        double sales, credit;
        const char *salesText, *creditText, *line;
    } cases[] = {{120, 10, "120,00", "10,00", "SOBRA                                       0,00\n"},
                 {130.01, 0, "130,01", "0,00", "FALTA                                      -0,01\n"}};
    for (const auto& k : cases) {
        ClearJournal();
        Closing c;
        c.sales = k.sales;
        c.credit = k.credit;
        QueueAnswers({false, false});
        EXPECT_FALSE(Run(c));
        const Texts sent = SentTexts(kUsa);
        ASSERT_EQ(sent.size(), 8u + 4u);
        EXPECT_EQ(sent[8], std::string(12, ' ') + "RELATORIO DE FECHAMENTO" + std::string(12, ' ') + "\n\n" +
                               Left("TOTAL VENDAS", 35) + Right(k.salesText, 13) + "\n" +
                               Left("Compra de Credito", 35) + Right(k.creditText, 13) + "\n" + kDashes + "\n");
        EXPECT_EQ(sent[9], Left("Sangria Dinheiro", 33) + Right("100,00", 15) + "\n");
        EXPECT_EQ(sent[10], Left("Sangria Cartao", 33) + Right("50,00", 15) + "\n");
        EXPECT_EQ(sent[11], Left("CONTRA-VALE RECEBIDO(+)", 33) + Right("0,00", 15) + "\n" +
                                Left("CONTRA-VALE EMITIDO(-)", 33) + Right("0,00", 15) + "\n" +
                                Left("SUPRIMENTO(-)", 33) + Right("20,00", 15) + "\n" + std::string(51, '-') + "\n" +
                                Left("TOTAL SANGRIAS", 33) + Right("130,00", 15) + "\n\n" + k.line);
        EXPECT_EQ(Docs()["open"], "");
        // The product report printed nothing: the closing report goes on in the receipts' report.
        EXPECT_EQ(CallCount(kClose), 1);
        EXPECT_EQ(LedgerTypes(), Texts{"RG"});
        orb::hostlib::ClearRecorded();
    }
}

TEST_F(CashClosing, EmptyMovementsCloseTheReportTheReceiptsLeftOpen) {
    Closing c;
    c.movements = {};
    QueueAnswers({false, false});
    EXPECT_FALSE(Run(c));
    EXPECT_EQ(Sent(kUsa).size(), 8u);  // the receipts only
    EXPECT_EQ(CallCount(kClose), 1);
    EXPECT_EQ(Docs()["open"], "");
}

TEST_F(CashClosing, EndOfDayQuestions) {
    const struct {
        bool print, keepTables, reduction;
        std::vector<bool> answers;
        bool result, tillClosed, generalReport;
        std::size_t questions;
    } cases[] = {
        {false, false, true, {true}, true, false, false, 1},                // reopen the till
        {false, false, false, {false}, false, false, false, 1},             // no reduction offered
        {false, false, true, {false, false}, false, false, false, 2},       // reduction declined
        {false, false, true, {false, true, false}, false, true, false, 3},  // no general report
        {false, false, true, {false, true, true}, false, true, true, 3},
        {false, true, true, {true}, false, false, true, 1},  // kept tables: the report question only
    };
    for (const auto& k : cases) {
        ClearJournal();
        orb::hostlib::ClearRecorded();
        Closing c;
        c.print = k.print;
        c.keepTables = k.keepTables;
        c.reduction = k.reduction;
        QueueAnswers(k.answers);
        EXPECT_EQ(Run(c), k.result);
        EXPECT_EQ(tillClosed_, k.tillClosed);
        EXPECT_EQ(Questions().size(), k.questions);
        const Texts sent = SentTexts(kUsa);
        if (!k.generalReport) {
            EXPECT_TRUE(sent.empty());
            continue;
        }
        ASSERT_EQ(sent.size(), 4u);
        // The catalog holds no title for it: the lookup answers the key.
        EXPECT_EQ(sent[0].substr(0, 48), std::string(14, ' ') + "relFechamentoGeral" + std::string(15, ' ') + "\n");
        EXPECT_NE(sent[0].find("Compra de Credito" + std::string(18, ' ') + Right("10,00", 13) + "\n" +
                               std::string(51, '-') + "\n"),
                  std::string::npos);
        EXPECT_NE(sent[3].find(kDashes + "\nTOTAL SANGRIAS"), std::string::npos);
        EXPECT_EQ(Docs()["open"], "");
    }
}

}  // namespace
