// Management reports against the virtual printer: opening, the report left open, the close
// decided by the extended status, the report-counter and ledger records, and the whole-report
// operations with their pieces, fallbacks and exceptions.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "driver/Globals.h"
#include "driver/TestSupport.h"
#include "framework/Text.h"
#include "nonfiscal/ManagementReports.h"
#include "nonfiscal/ReportDocuments.h"
#include "queries/Queries.h"

namespace {

using namespace Orb00100;
using nlohmann::json;

class Reports : public orb::test::DriverTest {
protected:
    void Start(json printer = json::object()) {
        ResetPrinter(std::move(printer));
        ASSERT_TRUE(StartModule());
        ForgetSoFar();
    }
    // The calls that make the document, without the status reads and the ledger's queries.
    std::vector<std::string> DocumentCalls() {
        static const std::set<std::string> kDocument = {"Bematech_FI_StatusEstendidoMFD",
                                                        "Bematech_FI_RelatorioGerencial",
                                                        "Bematech_FI_AbreRelatorioGerencialMFD",
                                                        "Bematech_FI_UsaRelatorioGerencialMFD",
                                                        "Bematech_FI_UsaComprovanteNaoFiscalVinculado",
                                                        "Bematech_FI_FechaRelatorioGerencial"};
        std::vector<std::string> calls;
        for (const std::string& entry : JournalEntries())
            if (kDocument.count(entry)) calls.push_back(entry);
        return calls;
    }
    std::vector<std::string> TextsSent(const std::string& entry) {
        std::vector<std::string> texts;
        for (const json& call : Journal())
            if (call.value("entry", "") == entry) texts.push_back(call["args"][0].get<std::string>());
        return texts;
    }
    // The log without the queries' answer lines; a logged text's line feeds read back as CR LF.
    std::vector<std::string> DocumentLog() {
        std::vector<std::string> texts;
        for (const std::string& text : NewLogTexts())
            if (text.find("\r\nRetorno da Impressora") == std::string::npos)
                texts.push_back(orb::fw::StringReplaceAll(text, "\r\n", "\n"));
        return texts;
    }
    std::string Roll() { return Sim({{"sim", "roll"}})["roll"].get<std::string>(); }
    std::string OpenDocument() { return Sim({{"sim", "state"}})["docs"]["open"].get<std::string>(); }
    void ForceExtended(int value) { Sim({{"sim", "extended"}, {"value", value}}); }
    std::vector<std::string> LedgerTypes() {
        std::vector<std::string> types;
        for (const auto& r : Recorded().ledger) types.push_back(r.f6);
        return types;
    }
    static std::string Lines(int count) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            std::string line = "LINHA " + std::to_string(i + 1);
            text += line + std::string(48 - line.size(), '.') + "\n";
        }
        return text;
    }
    static constexpr const char* kUsa = "Bematech_FI_UsaComprovanteNaoFiscalVinculado";
    static constexpr const char* kStatus = "Bematech_FI_StatusEstendidoMFD";
    static constexpr const char* kOpen = "Bematech_FI_RelatorioGerencial";
    static constexpr const char* kClose = "Bematech_FI_FechaRelatorioGerencial";
};

TEST_F(Reports, EmptyTextOpensAndClosesAnEmptyReport) {
    Start();
    EXPECT_TRUE(Relatorio_Generico("001", "A", "B", "", "BE000001", ""));
    EXPECT_EQ(DocumentCalls(), (std::vector<std::string>{kStatus, kOpen, kStatus, kClose}));
    EXPECT_EQ(LedgerTypes(), (std::vector<std::string>{"RG"}));

    orb::hostlib::ClearRecorded();
    EXPECT_TRUE(Cupom_Troca("001", "A", "B", "TROCA\n"));
    EXPECT_TRUE(Recorded().ledger.empty());
    EXPECT_EQ(OpenDocument(), "");
}

TEST_F(Reports, AReportLeftOpenIsClosedBeforeANewOne) {
    Start();
    ASSERT_TRUE(Relatorio_Gerencial_Imp("001", "A", "B", "", ""));
    ASSERT_EQ(OpenDocument(), "report");
    ClearJournal();
    EXPECT_TRUE(Relatorio_Generico("001", "A", "B", "segundo\n", "BE000001", ""));
    EXPECT_EQ(DocumentCalls(), (std::vector<std::string>{kStatus, kStatus, kClose, kOpen, kUsa, kStatus, kClose}));
    EXPECT_EQ(Sim({{"sim", "state"}})["counters"]["cer"], 2);  // two reports, not one continued

    // Only exactly 4 means "a report alone is open": with 5 no close goes first.
    ForceExtended(5);
    ClearJournal();
    EXPECT_TRUE(Relatorio_Gerencial_Imp("001", "A", "B", "", ""));
    EXPECT_EQ(DocumentCalls(), (std::vector<std::string>{kStatus, kOpen}));
}

TEST_F(Reports, CloseIsSentOnlyWhenTheLowBitsShowADocument) {
    Start();
    for (int status = 0; status <= 248; status += 8) {
        SCOPED_TRACE(status);
        ForceExtended(status);
        ClearJournal();
        EXPECT_TRUE(FechRelatGerenc("001", true, false));
        EXPECT_EQ(DocumentCalls(), (std::vector<std::string>{kStatus}));
    }
    for (int status : {4, 5, 2, 68}) {
        SCOPED_TRACE(status);
        ForceExtended(-1);
        ASSERT_TRUE(Relatorio_Gerencial_Imp("001", "A", "B", "", ""));
        ForceExtended(status);
        ClearJournal();
        EXPECT_TRUE(FechRelatGerenc("001", true, false));
        EXPECT_EQ(DocumentCalls(), (std::vector<std::string>{kStatus, kClose}));
        EXPECT_EQ(OpenDocument(), "");
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

TEST_F(Reports, CounterRecordFollowsOnlyASuccessfulFlaggedOpening) {
    Start();
    ASSERT_TRUE(Relatorio_Gerencial_Imp("001", "CX01", "0001", "", "incCer"));
    ASSERT_EQ(Recorded().cer.size(), 1u);
    EXPECT_EQ(Recorded().cer[0].a, "CX01");
    EXPECT_EQ(Recorded().cer[0].b, "0001");
    EXPECT_EQ(Recorded().cer[0].when, DataMoviFiscal("001"));
    EXPECT_TRUE(FechRelatGerenc("001", true, false));

    ASSERT_TRUE(Relatorio_Gerencial_Imp("001", "CX01", "0001", "", ""));
    EXPECT_TRUE(FechRelatGerenc("001", true, false));
    EXPECT_EQ(Recorded().cer.size(), 1u);

    // A refused opening records nothing; its message is shown on a staffed till only.
    FailNext(kOpen, 0);
    EXPECT_FALSE(Relatorio_Gerencial_Imp("001", "CX01", "0001", "", "incCer"));
    EXPECT_EQ(Recorded().cer.size(), 1u);
    EXPECT_FALSE(Dialogs().empty());
    orb::hostlib::ClearRecorded();
    boNUtilTaa = false;
    FailNext(kOpen, 0);
    EXPECT_FALSE(Relatorio_Gerencial_Imp("001", "CX01", "0001", "", "incCer"));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_NE(stMensagemTaa.find("Erro de Comunica"), std::string::npos);
}

TEST_F(Reports, NumberedReportPrintsUnderItsTitle) {
    Start({{"reports", {"Relatorios", "Conf. Mesa"}}});
    EXPECT_TRUE(Abre_RelGerencial_MFD("001", "A", "B", "02", "incCer"));
    EXPECT_EQ(Recorded().cer.size(), 1u);
    EXPECT_TRUE(Imprime_RelGerencial_MFD("001", "MESA 12\n"));
    EXPECT_TRUE(FechRelatGerenc("001", true, false));
    EXPECT_EQ(DocumentLog(), (std::vector<std::string>{"Bematech_FI_AbreRelatorioGerencialMFD",
                                                       "Bematech_FI_UsaRelatorioGerencialMFD: MESA 12\n",
                                                       "Bematech_FI_FechaRelatorioGerencial"}));
    const std::string roll = Roll();
    EXPECT_NE(roll.find("Conf. Mesa"), std::string::npos);
    EXPECT_NE(roll.find("MESA 12"), std::string::npos);

    // An untitled slot fails without a word; text with no report open is refused and shown.
    EXPECT_FALSE(Abre_RelGerencial_MFD("001", "A", "B", "07", "incCer"));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_EQ(Recorded().cer.size(), 1u);
    EXPECT_FALSE(Imprime_RelGerencial_MFD("001", "solto\n"));
    EXPECT_FALSE(Dialogs().empty());
}

TEST_F(Reports, TableCheckRecordsItsMarkAndTheCouponNumber) {
    Start({{"reports", {"Relatorios", "Conf. Mesa"}}});
    std::string coupon = "unchanged";
    EXPECT_TRUE(Conferencia_Formatada("001", "A", "B", "BE000001", "02", "MESA 7", coupon, "ITEM 1\nITEM 2\n"));
    EXPECT_EQ(coupon, Nr_Cupom("", "001"));
    EXPECT_EQ(coupon.size(), 6u);
    EXPECT_EQ(TextsSent("Bematech_FI_AbreRelatorioGerencialMFD"), (std::vector<std::string>{"02"}));
    EXPECT_TRUE(TextsSent(kOpen).empty());
    EXPECT_EQ(Recorded().cer.size(), 1u);
    ASSERT_EQ(LedgerTypes(), (std::vector<std::string>{"CM"}));
    EXPECT_EQ(Recorded().ledger[0].f7, "MESA 7");
    EXPECT_NE(Roll().find("ITEM 2"), std::string::npos);

    // An untitled slot falls back to the plain report, still counted; no mark records "RG".
    orb::hostlib::ClearRecorded();
    ClearJournal();
    EXPECT_TRUE(Conferencia_Formatada("001", "A", "B", "BE000001", "09", "", coupon, "ITEM 3\n"));
    EXPECT_EQ(TextsSent(kOpen), (std::vector<std::string>{" "}));
    EXPECT_EQ(Recorded().cer.size(), 1u);
    EXPECT_TRUE(Dialogs().empty());
    ASSERT_EQ(LedgerTypes(), (std::vector<std::string>{"RG"}));
    EXPECT_EQ(Recorded().ledger[0].f7, "");

    // A refused close is the verdict, yet the table check is recorded.
    orb::hostlib::ClearRecorded();
    FailNext(kClose, 0);
    EXPECT_FALSE(Conferencia_Formatada("001", "A", "B", "BE000001", "02", "MESA 7", coupon, "ITEM 4\n"));
    EXPECT_EQ(LedgerTypes(), (std::vector<std::string>{"CM"}));
}

TEST_F(Reports, OnlyAClosedReportIsRecorded) {
    Start({{"reports", {"Relatorios"}}});
    FailNext(kClose, 0);
    EXPECT_FALSE(Relatorio_Generico("001", "A", "B", "x\n", "BE000001", ""));
    EXPECT_TRUE(Recorded().ledger.empty());
    ASSERT_TRUE(FechRelatGerenc("001", true, false));

    FailNext(kClose, 0);
    EXPECT_FALSE(imprimeTipoRece("A", "B", "001", "BE000001", "x\n", "01"));
    EXPECT_TRUE(Recorded().ledger.empty());
    ASSERT_TRUE(FechRelatGerenc("001", true, false));

    EXPECT_TRUE(imprimeTipoRece("A", "B", "001", "BE000001", "DINHEIRO 10,00\n", "01"));
    EXPECT_EQ(LedgerTypes(), (std::vector<std::string>{"RG"}));
    EXPECT_TRUE(Recorded().cer.empty());
    EXPECT_NE(Roll().find("DINHEIRO 10,00"), std::string::npos);
}

TEST_F(Reports, AReportThePrinterNeverOpenedIsNotASuccess) {
    Start({{"reports", {"Relatorios"}}});
    FailNext(kOpen, 0);
    EXPECT_FALSE(Relatorio_Generico("001", "A", "B", "x\n", "BE000001", ""));
    FailNext(kOpen, 0);
    EXPECT_FALSE(Cupom_Troca("001", "A", "B", "x\n"));
    EXPECT_TRUE(Recorded().ledger.empty());

    // Both openings refused: no numbered report, no plain one.
    FailNext("Bematech_FI_AbreRelatorioGerencialMFD", 0);
    FailNext(kOpen, 0);
    EXPECT_FALSE(imprimeTipoRece("A", "B", "001", "BE000001", "x\n", "01"));
    EXPECT_TRUE(Recorded().ledger.empty());

    // The table check keeps its record even so, but does not claim the paper.
    std::string coupon;
    FailNext("Bematech_FI_AbreRelatorioGerencialMFD", 0);
    FailNext(kOpen, 0);
    EXPECT_FALSE(Conferencia_Formatada("001", "A", "B", "BE000001", "02", "MESA 7", coupon, "x\n"));
    EXPECT_EQ(LedgerTypes(), (std::vector<std::string>{"CM"}));
    EXPECT_EQ(Roll().find("x\n"), std::string::npos);
}

TEST_F(Reports, ARefusedPieceDoesNotStopTheRest) {
    Start();
    FailNext(kUsa, 0);
    EXPECT_TRUE(Relatorio_Generico("009", "A", "B", Lines(25), "BE000001", ""));
    EXPECT_EQ(TextsSent(kUsa).size(), 3u);
    EXPECT_EQ(OpenDocument(), "");
    EXPECT_EQ(LedgerTypes(), (std::vector<std::string>{"RG"}));
    ASSERT_FALSE(Dialogs().empty());
    EXPECT_EQ(Dialogs()[0].scheme, "009");
    const std::string roll = Roll();
    EXPECT_EQ(roll.find("LINHA 1......"), std::string::npos);  // the refused piece
    EXPECT_NE(roll.find("LINHA 12....."), std::string::npos);
}

TEST_F(Reports, FrameworkFailuresAreCaughtOnlyWhereTheOperationSaysSo) {
    Start({{"reports", {"Relatorios"}}});
    // The debug log cannot be written: a folder stands where the file would be.
    std::filesystem::remove(LogPath());
    std::filesystem::create_directory(LogPath());
    std::string coupon;
    EXPECT_FALSE(Conferencia_Formatada("001", "A", "B", "BE000001", "01", "MESA 1", coupon, "x\n"));
    EXPECT_FALSE(imprimeTipoRece("A", "B", "001", "BE000001", "x\n", "01"));
    EXPECT_ANY_THROW(Relatorio_Generico("001", "A", "B", "x\n", "BE000001", ""));
    EXPECT_ANY_THROW(Cupom_Troca("001", "A", "B", "x\n"));
    EXPECT_TRUE(Recorded().ledger.empty());
    std::filesystem::remove(LogPath());
}

}  // namespace
