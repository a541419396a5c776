// Management reports against the virtual printer: opening, the report left open, the close
// decided by the extended status, the ledger records, and the whole-report operations with their
// pieces, fallbacks and exceptions (the report-counter records, the numbered reports and the table
// check are in the report-records scenario).

#include <filesystem>
#include <functional>

#include "driver/TestSupport.h"
#include "framework/Exceptions.h"
#include "nonfiscal/ManagementReports.h"
#include "nonfiscal/ReportDocuments.h"

namespace {

using namespace Orb00100;
using nlohmann::json;
using orb::test::Texts;

class Reports : public orb::test::DriverTest {
protected:
    // The calls that make the document, without the status reads and the ledger's queries.
    Texts DocumentCalls() {
        return JournalEntries({kStatus, kOpen, "Bematech_FI_AbreRelatorioGerencialMFD",
                               "Bematech_FI_UsaRelatorioGerencialMFD", kUsa, kClose});
    }
    static constexpr const char* kUsa = "Bematech_FI_UsaComprovanteNaoFiscalVinculado";
    static constexpr const char* kStatus = "Bematech_FI_StatusEstendidoMFD";
    static constexpr const char* kOpen = "Bematech_FI_RelatorioGerencial";
    static constexpr const char* kClose = "Bematech_FI_FechaRelatorioGerencial";
    static constexpr const char* kOpenNumbered = "Bematech_FI_AbreRelatorioGerencialMFD";
};

TEST_F(Reports, AReportLeftOpenIsClosedBeforeANewOneAndAnEmptyTextMakesAnEmptyReport) {
    Start();
    EXPECT_TRUE(Relatorio_Generico("001", "A", "B", "", "BE000001", ""));
    EXPECT_EQ(DocumentCalls(), (Texts{kStatus, kOpen, kStatus, kClose}));
    EXPECT_EQ(LedgerTypes(), Texts{"RG"});
    orb::hostlib::ClearRecorded();
    EXPECT_TRUE(Cupom_Troca("001", "A", "B", "TROCA\n"));
    EXPECT_TRUE(Recorded().ledger.empty());

    ASSERT_TRUE(Relatorio_Gerencial_Imp("001", "A", "B", "", ""));
    ASSERT_EQ(Docs()["open"], "report");
    const int reports = State()["counters"]["cer"];
    ClearJournal();
    EXPECT_TRUE(Relatorio_Generico("001", "A", "B", "segundo\n", "BE000001", ""));
    EXPECT_EQ(DocumentCalls(), (Texts{kStatus, kStatus, kClose, kOpen, kUsa, kStatus, kClose}));
    EXPECT_EQ(State()["counters"]["cer"], reports + 1);  // two reports, not one continued

    // Only exactly 4 means "a report alone is open": with 5 no close goes first.
    ForceExtended(5);
    ClearJournal();
    EXPECT_TRUE(Relatorio_Gerencial_Imp("001", "A", "B", "", ""));
    EXPECT_EQ(DocumentCalls(), (Texts{kStatus, kOpen}));
}

TEST_F(Reports, CloseIsSentOnlyWhenTheLowBitsShowADocument) {
    Start();
    for (int status = 0; status <= 248; status += 8) {
        ForceExtended(status);
        ClearJournal();
        EXPECT_TRUE(FechRelatGerenc("001", true, false)) << status;
        EXPECT_EQ(DocumentCalls(), Texts{kStatus}) << status;
    }
    for (int status : {4, 5, 2, 68}) {
        ForceExtended(-1);
        ASSERT_TRUE(Relatorio_Gerencial_Imp("001", "A", "B", "", ""));
        ForceExtended(status);
        ClearJournal();
        EXPECT_TRUE(FechRelatGerenc("001", true, false)) << status;
        EXPECT_EQ(DocumentCalls(), (Texts{kStatus, kClose})) << status;
        EXPECT_EQ(Docs()["open"], "");
    }
    EXPECT_TRUE(Dialogs().empty());
    // The status claims a document the printer does not hold: the refusal is the verdict, shown
    // only when asked.
    ForceExtended(1);
    EXPECT_FALSE(FechRelatGerenc("001", false, false));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_FALSE(FechRelatGerenc("001", true, false));
    EXPECT_FALSE(Dialogs().empty());
}

TEST_F(Reports, NumberedReportTextIsLoggedWithItsLineFeedsAsCrLf) {
    Start({{"reports", {"Relatorios", "Conf. Mesa"}}});
    ASSERT_TRUE(Abre_RelGerencial_MFD("001", "A", "B", "02", ""));
    EXPECT_TRUE(Imprime_RelGerencial_MFD("001", "MESA 12\n"));
    EXPECT_TRUE(WasLogged("Bematech_FI_UsaRelatorioGerencialMFD: MESA 12\r\n"));
}

TEST_F(Reports, OnlyAReportThePrinterOpenedAndClosedIsASuccessAndIsRecorded) {
    Start({{"reports", {"Relatorios"}}});
    struct Case {
        const char* what;
        std::vector<const char*> refused;
        std::function<bool()> print;
    };
    auto generic = [] { return Relatorio_Generico("001", "A", "B", "x\n", "BE000001", ""); };
    auto byType = [] { return imprimeTipoRece("A", "B", "001", "BE000001", "x\n", "01"); };
    const Case cases[] = {
        {"generic, close refused", {kClose}, generic},
        {"by payment type, close refused", {kClose}, byType},
        {"generic, never opened", {kOpen}, generic},
        {"exchange slip, never opened", {kOpen}, [] { return Cupom_Troca("001", "A", "B", "x\n"); }},
        {"by payment type, both openings refused", {kOpenNumbered, kOpen}, byType},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* entry : c.refused) FailNext(entry, 0);
        EXPECT_FALSE(c.print());
        EXPECT_TRUE(Recorded().ledger.empty());
        ASSERT_TRUE(FechRelatGerenc("001", true, false));
    }
    EXPECT_TRUE(imprimeTipoRece("A", "B", "001", "BE000001", "DINHEIRO 10,00\n", "01"));
    EXPECT_EQ(LedgerTypes(), Texts{"RG"});
    EXPECT_TRUE(Recorded().cer.empty());
    EXPECT_NE(Roll().find("DINHEIRO 10,00"), std::string::npos);
}

TEST_F(Reports, ARefusedPieceDoesNotStopTheRest) {
    Start();
    std::string text;
    for (int i = 1; i <= 25; ++i) text += "LINHA " + std::to_string(i) + std::string(i < 10 ? 41 : 40, '.') + "\n";
    FailNext(kUsa, 0);
    EXPECT_TRUE(Relatorio_Generico("009", "A", "B", text, "BE000001", ""));
    EXPECT_EQ(SentTexts(kUsa).size(), 3u);
    EXPECT_EQ(Docs()["open"], "");
    EXPECT_EQ(LedgerTypes(), Texts{"RG"});
    EXPECT_EQ(Dialogs().at(0).scheme, "009");
    const std::string roll = Roll();
    EXPECT_EQ(roll.find("LINHA 1......"), std::string::npos);  // the refused piece
    EXPECT_NE(roll.find("LINHA 12....."), std::string::npos);
}

TEST_F(Reports, FrameworkFailuresAreCaughtOnlyWhereTheOperationSaysSo) {
    Start({{"reports", {"Relatorios"}}});
    // The host's dialog failing, on a refused piece, stands for any failure of the framework.
    orb::hostlib::Hooks hooks;
    hooks.dialog = [](orb::hostlib::Dialog&) -> bool { throw orb::fw::Exception("the host's dialog failed"); };
    orb::hostlib::InstallHooks(hooks);
    std::string coupon;
    FailNext(kUsa, 0);
    EXPECT_FALSE(Conferencia_Formatada("001", "A", "B", "BE000001", "01", "MESA 1", coupon, "x\n"));
    FailNext(kUsa, 0);
    EXPECT_FALSE(imprimeTipoRece("A", "B", "001", "BE000001", "x\n", "01"));
    FailNext(kUsa, 0);
    EXPECT_ANY_THROW(Relatorio_Generico("001", "A", "B", "x\n", "BE000001", ""));
    FailNext(kUsa, 0);
    EXPECT_ANY_THROW(Cupom_Troca("001", "A", "B", "x\n"));
    EXPECT_TRUE(Recorded().ledger.empty());
}

}  // namespace
