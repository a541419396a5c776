// The floor's management reports against the virtual printer: which report the product report
// closes, and the open accounts' report that fails (the printed reports are in the table-reports
// scenario).
#include "driver/TestSupport.h"
#include "external/vendor/EntryPoints.h"
#include "nonfiscal/ManagementReports.h"
#include "slips/ProductReport.h"
#include "slips/TableReports.h"

namespace {

using namespace Orb00100;
using orb::fw::FieldType;
using orb::test::Texts;

constexpr const char* kClose = "Bematech_FI_FechaRelatorioGerencial";
const std::string kSerial = "BE0001";

class TableReports : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        Start({{"reports", {"Mesas Abertas"}}});
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

}  // namespace
