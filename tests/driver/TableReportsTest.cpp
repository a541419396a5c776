// The floor's management reports against the virtual printer: products sold (plain and by tax
// situation), open accounts, transferred and blocked products, and what each leaves open.
#include "driver/TestSupport.h"
#include "external/vendor/EntryPoints.h"
#include "framework/DateTime.h"
#include "nonfiscal/ManagementReports.h"
#include "slips/ProductReport.h"
#include "slips/TableReports.h"

namespace {

using namespace Orb00100;
using orb::fw::FieldType;
using orb::test::Left;
using orb::test::Right;
using orb::test::Texts;

constexpr const char* kUsa = "Bematech_FI_UsaComprovanteNaoFiscalVinculado";
constexpr const char* kClose = "Bematech_FI_FechaRelatorioGerencial";
const std::string kSerial = "BE0001";

class TableReports : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        Start({{"reports", {"Mesas Abertas"}}});
        PinClock(orb::fw::EncodeDateTime(2026, 12, 6, 22, 10, 0));
    }
    void FillProducts(const std::vector<std::vector<orb::fw::Variant>>& rows) {
        products_.Close();
        products_.ClearFieldDefs();
        orb::test::FillTable(products_,
                             {{"CDPRODIMPFIS"},
                              {"CDPRODUTO"},
                              {"NMPRODUTO", FieldType::String, 40},
                              {"QTPRODVEND", FieldType::Float},
                              {"VRTOTAL", FieldType::Float},
                              {"VRACRE", FieldType::Float},
                              {"VRDESC", FieldType::Float},
                              {"VRPEALIMPFIS", FieldType::Float},
                              {"IDTPIMPOSFIS"}},
                             rows);
    }
    void ProductReport(const std::string& confirm, const std::string& grouped, bool& reportOpen) {
        Relatorio_Produto("", "D", kSerial, "0001", "001", coupon_, &products_, confirm, grouped, "001", reportOpen);
    }
    orb::fw::ClientDataSet products_;
    std::string coupon_;
};

std::string Header() {
    return "\n" + std::string(9, ' ') + "RELATORIO DE PRODUTOS DO DIA" + std::string(10, ' ') +
           "\n\nFILIAL 0001  CAIXA 001\n" + std::string(48, '-') + "\n" + Left("NOME", 34) + Left("QTDE", 7) +
           Left("VLR.TOT", 10) + "\n";
}

std::string Totals(const std::string& surcharges, const std::string& discounts, const std::string& quantity,
                   const std::string& total) {
    return "\n" + Left("Total de Acréscimos", 42) + Left(surcharges, 13) + "\n\n" + Left("Total de Descontos", 42) +
           Left(discounts, 13) + "\n\n" + Left("Total das Vendas", 34) + Left(quantity, 6) + " " + Left(total, 10) +
           "\n\n\n";
}

TEST_F(TableReports, ProductsGroupedByTaxSituationWithTheirSummary) {
    FillProducts({{"", "000310", "AGUA MINERAL", 3.0, 13.5, 0.0, 1.5, 0.0, "F"},
                  {"7891000100", "000101", "CHOPP PILSEN 300ML", 1.25, 4.98, 0.0, 0.0, 18.0, "T"},
                  {"", "000230", "FILE A PARMEGIANA COM ARROZ", 2.0, 91.8, 9.18, 0.0, 18.0, "T"}});
    bool reportOpen = true;
    ProductReport("N", "S", reportOpen);
    EXPECT_EQ(
        SentTexts(kUsa),
        (Texts{Header(), "Subst. Tributaria\n",
               Left("000310", 14) + " " + Left("AGUA MINERAL", 18) + " " + Left("3,00", 6) + " " + Left("13,50", 10) +
                   "\n",
               "Tributacao  18,00\n",
               Left("7891000100", 14) + " " + Left("CHOPP PILSEN 300ML", 18) + " " + Left("1,25", 6) + " " +
                   Left("4,98", 10) + "\n",
               Left("000230", 14) + " " + "FILE A PARMEGIANA " + " " + Left("2,00", 6) + " " + Left("91,80", 10) + "\n",
               Left("VALOR", 32) + Right("6,25", 9) + Right("110,28", 10) + "\n\n" + Left("Resumo da Tributação", 35) +
                   "\n" + std::string(51, '-') + "\n",
               Left("Subst. Tributaria", 35) + Right("13,50", 13) + "\n", Left("18,00", 35) + Right("96,78", 13) + "\n",
               Totals("9,18", "1,50", "6,25", "110,28")}));
    EXPECT_EQ(coupon_, "000001");
    EXPECT_EQ(Docs()["open"], "");
    EXPECT_EQ(LedgerTypes(), Texts{"RG"});
}

TEST_F(TableReports, ProductsPlainAndTheConfirmationModes) {
    FillProducts({{"", "000101", "CHOPP PILSEN 300ML", 1.25, 4.98, 0.5, 0.0, 18.0, "T"}});
    const struct {
        const char* confirm;
        std::vector<bool> answers;
        bool printed;
    } modes[] = {{"X", {}, false}, {"S", {false}, false}, {"S", {true}, true}, {"N", {}, true}};
    for (const auto& m : modes) {
        ClearJournal();
        QueueAnswers(m.answers);
        bool reportOpen = false;
        ProductReport(m.confirm, "N", reportOpen);
        EXPECT_EQ(reportOpen, m.printed) << m.confirm;  // untouched when nothing is printed
        if (!m.printed) {
            EXPECT_TRUE(Sent(kUsa).empty()) << m.confirm;
            continue;
        }
        EXPECT_EQ(
            SentTexts(kUsa),
            (Texts{Header(), Left("CHOPP PILSEN 300ML", 33) + " " + Left("1,25", 6) + " " + Left("4,98", 10) + "\n",
                   Totals("0,50", "0,00", "1,25", "4,98")}));
    }
    EXPECT_EQ(Questions(), Texts(2, CatalogText("ConfRelProds")));
}

TEST_F(TableReports, ProductReportClosesOnlyTheCallersReport) {
    // Handed over: the caller's report is closed, and an empty table opens nothing of its own.
    FillProducts({});
    ASSERT_TRUE(Relatorio_Gerencial_Imp("001", "0001", "001", "", ""));
    bool reportOpen = false;
    ClearJournal();
    ProductReport("N", "N", reportOpen);
    EXPECT_TRUE(reportOpen);
    EXPECT_EQ(CallCount(kClose), 1);
    EXPECT_EQ(CallCount("Bematech_FI_RelatorioGerencial"), 0);
    EXPECT_EQ(Docs()["open"], "");

    // A card slip is not the caller's report: left alone, and the report that cannot open
    // behind it is neither closed nor recorded.
    FillProducts({{"", "000101", "CHOPP", 1.0, 4.0, 0.0, 0.0, 18.0, "T"}});
    ResetPrinter({{"totalizers", {"MESA"}}, {"payments", {"Dinheiro", {{"name", "Cartao"}, {"linkable", true}}}}});
    char slot[] = "01", amount[] = "5,00", method[] = "Cartao", none[] = "";
    ASSERT_EQ(Bematech_FI_RecebimentoNaoFiscal(slot, amount, method), 1);
    ASSERT_EQ(Bematech_FI_AbreComprovanteNaoFiscalVinculado(method, none, none), 1);
    orb::hostlib::ClearRecorded();
    ClearJournal();
    reportOpen = false;
    ProductReport("N", "N", reportOpen);
    EXPECT_EQ(CallCount(kClose), 0);
    EXPECT_EQ(Docs()["open"], "slip");
    EXPECT_TRUE(Recorded().ledger.empty());
}

TEST_F(TableReports, OpenAccountsInSectionsUnderTheNumberedReport) {
    const auto accounts = orb::test::TableData({{"DSCOMANDA"}, {"NRCOMANDA"}, {"NRMESA"}, {"DTHRABERMESA"}},
                                               {{"RES0012", "", "0012", "06/12/2026 19:02:11"},
                                                {"PKR0015", "", "0015", "06/12/2026 19:40:05"},
                                                {"DLV0007", "0007", "", "06/12/2026 20:05:00"},
                                                {"CLIENTE 42", "", "", "06/12/2026 20:30:00"}});
    orb::fw::ClientDataSet* unused = nullptr;
    EXPECT_TRUE(ImprimeMesasAbertas(unused, "0001", "001", "001", kSerial, "01", accounts));
    EXPECT_EQ(SentTexts(kUsa),
              (Texts{"Data Emissão: 06/12/2026 22:10:00\n", "Mesas Abertas:\nNrº da Mesa      Data/Hora de abertura\n",
                     "0012             06/12/2026 19:02:11\n", "0015             06/12/2026 19:40:05\n", "\n\n",
                     "Pedidos Abertos:\nNrº do Pedido    Data/Hora de abertura\n", "0007       06/12/2026 20:05:00\n",
                     "\n\n", "Conta Cliente Abertas:\nNrº da Conta Cliente   Data/Hora de abertura\n",
                     "CLIENTE 42             06/12/2026 20:30:00\n", "\n"}));
    EXPECT_EQ(JournalEntries({"Bematech_FI_AbreRelatorioGerencialMFD", "Bematech_FI_RelatorioGerencial", kClose}),
              (Texts{"Bematech_FI_AbreRelatorioGerencialMFD", kClose}));
    EXPECT_EQ(LedgerTypes(), Texts{"RG"});
}

TEST_F(TableReports, OpenAccountsFailureAnswersFalseLogsWhyAndClosesTheReport) {
    // No DSCOMANDA column: the report opened on an untitled slot falls back to the plain one.
    const auto accounts = orb::test::TableData({{"NRMESA"}}, {{"0012"}});
    orb::fw::ClientDataSet* unused = nullptr;
    EXPECT_FALSE(ImprimeMesasAbertas(unused, "0001", "001", "001", kSerial, "02", accounts));
    EXPECT_TRUE(WasLogged("ImprimeMesasAbertas: Field 'DSCOMANDA' not found"));
    EXPECT_EQ(JournalEntries({"Bematech_FI_AbreRelatorioGerencialMFD", "Bematech_FI_RelatorioGerencial", kClose}),
              (Texts{"Bematech_FI_AbreRelatorioGerencialMFD", "Bematech_FI_RelatorioGerencial", kClose}));
    EXPECT_EQ(Docs()["open"], "");
    EXPECT_TRUE(Recorded().ledger.empty());
}

TEST_F(TableReports, TransferredProductsGroupedByOriginAndDestination) {
    const auto moved = orb::test::TableData({{"NRMESA"},
                                             {"NRMESADSCOMORIT"},
                                             {"CDPRODUTO"},
                                             {"NMPRODUTO", FieldType::String, 40},
                                             {"QTPRODCOMVEN", FieldType::Float},
                                             {"VRPRECCOMVEN", FieldType::Float}},
                                            {{"0015", "0012", "000310", "AGUA MINERAL", 1.0, 4.5},
                                             {"0015", "0012", "000230", "FILE A PARMEGIANA COM ARROZ", 0.5, 91.8},
                                             {"0020", "0012", "000101", "CHOPP", 2.0, 1234.5}});
    imprimeProdutosTransf("0001", "001", "001", kSerial, "01", moved);
    const std::string heading = "Código  -  Nome Produto   -    Qtde. -  Vr Unit.\n";
    EXPECT_EQ(SentTexts(kUsa),
              (Texts{"Data Emissão: 06/12/2026 22:10:00\n\n\n", "Mes Origem: 0012 -> Mesa Destino: 0015\n", heading,
                     Left("000310 AGUA MINERAL        1,000", 37) + " " + Right("R$ 4,50", 10) + "\n",
                     Left("000230 FILE A PARMEGIANA C 0,500", 37) + " " + Right("R$ 91,80", 10) + "\n", "\n",
                     "Mes Origem: 0012 -> Mesa Destino: 0020\n", heading,
                     Left("000101 CHOPP               2,000", 37) + " " + "R$ 1.234,5" + "\n", "\n"}));
    EXPECT_EQ(LedgerTypes(), Texts{"RG"});
    EXPECT_EQ(Docs()["open"], "");
}

TEST_F(TableReports, BlockedProductsAndAnEmptyList) {
    orb::fw::ClientDataSet blocked;
    orb::test::FillTable(blocked,
                         {{"NMFILIAL", FieldType::String, 40},
                          {"CDLOJA"},
                          {"CDPRODUTO"},
                          {"CDPROTECLADO"},
                          {"NMPRODUTO", FieldType::String, 40}},
                         {{"RESTAURANTE CENTRO", "01", "000777", "77", "PEIXE DO DIA COM LEGUMES NO VAPOR"}});
    EXPECT_TRUE(ImprimeProdBloq("0001", "001", "001", &blocked));
    const std::string dashes(48, '-');
    EXPECT_EQ(SentTexts(kUsa), (Texts{std::string(47, '-') + "\n" + std::string(15, ' ') + "RESTAURANTE CENTRO" +
                                          std::string(15, ' ') + "\n" + dashes + "\n",
                                      "Loja:" + Left("01", 20) + "06/12/2026 22:10:00\n" + dashes + "\n" +
                                          std::string(10, ' ') + ">>> Produtos Bloqueados <<<" + std::string(11, ' ') +
                                          "\n" + dashes + "\n" + "CODIGO     COD. TECLADO NOME\n",
                                      Left("000777", 11) + Left("77", 13) + "PEIXE DO DIA COM LEGUMES\n",
                                      "Suporte do ECF: consulte o fabricante "}));
    EXPECT_TRUE(Recorded().ledger.empty());

    ClearJournal();
    blocked.EmptyDataSet();
    EXPECT_TRUE(ImprimeProdBloq("0001", "001", "001", &blocked));
    EXPECT_EQ(Sent(kUsa).size(), 3u);
    EXPECT_EQ(Docs()["open"], "");
}

}  // namespace
