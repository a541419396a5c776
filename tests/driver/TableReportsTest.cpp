// The floor's management reports against the virtual printer: which report the product report
// closes, the open accounts' report that fails, and the blocked products under the heading of the
// table's current row (the other printed reports are in the table-reports scenario).
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
