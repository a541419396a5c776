// The status analysis, the raw-command path and the queries against the virtual printer, with
// its fault injection standing in for a printer that misbehaves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "connection/Binding.h"
#include "driver/Globals.h"
#include "driver/StatusAnalysis.h"
#include "driver/TestSupport.h"
#include "external/vendor/EntryPoints.h"
#include "queries/Queries.h"

namespace {

using namespace Orb00100;

class StatusOnPrinter : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ASSERT_TRUE(StartModule());
        NewLogTexts();
        ClearJournal();
        Recorded().dialogs.clear();
    }
    void OpenCoupon() {
        char empty[] = "";
        ASSERT_EQ(Bematech_FI_AbreCupomMFD(empty, empty, empty), 1);
    }
    bool CouponOpen() { return Sim({{"sim", "state"}}).dump().find("\"couponOpen\":true") != std::string::npos; }
};

TEST_F(StatusOnPrinter, PrinterOffWithAFailedStatusReadReportsBothProblems) {
    FailNext("Bematech_FI_NumeroIntervencoes", -6);
    FailNext("Bematech_FI_RetornoImpressora", 0);
    std::string answer;
    EXPECT_FALSE(NumeroIntervencoes("001", answer));
    EXPECT_EQ(answer, "    ");
    EXPECT_EQ(NewLogTexts(), (std::vector<std::string>{AnswerLogText("Bematech_FI_NumeroIntervencoes") + "    ",
                                                       ErrorLogText("ImpDeslig"), "ERRO!!! Ret recebido"}));
    EXPECT_EQ(stMensagemTaa, " " + CatalogText("ImpDeslig") + " " + CatalogText("ImpErro"));
    EXPECT_TRUE(Dialogs().empty());  // counters never show

    // With the power really off every entry answers 0.
    Sim({{"sim", "power"}, {"on", false}});
    EXPECT_FALSE(AnalisaRetorno("001", 0, true, false, false));
    EXPECT_EQ(NewLogTexts(), (std::vector<std::string>{ErrorLogText("ERRO_COM_ECF"), "ERRO!!! Ret recebido"}));
    EXPECT_EQ(Dialogs().size(), 2u);
    EXPECT_FALSE(ImpressoraOK("001", false, false, false));
    EXPECT_FALSE(Estado_Imp("001"));
    EXPECT_FALSE(boClieUtil);
}

TEST_F(StatusOnPrinter, OpenCouponSeenWithPaperOutIsCancelledAndTheQuerySucceeds) {
    OpenCoupon();
    ForceStatus(6, 130, 0);
    std::string counter;
    EXPECT_TRUE(ContadorCupomFiscalMFD("001", counter));
    EXPECT_FALSE(CouponOpen());
    EXPECT_EQ(CallCount("Bematech_FI_CancelaCupom"), 1);
    const auto log = NewLogTexts();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[1], ErrorLogText("FimPapel"));
    EXPECT_EQ(log[2], ErrorLogText("CupomAberto"));

    // A query that does not ask for it leaves the coupon alone.
    OpenCoupon();
    std::string version;
    EXPECT_TRUE(Versao_Software_Basico("001", version));
    EXPECT_TRUE(CouponOpen());
}

TEST_F(StatusOnPrinter, PaperOutPassesTheAnalysisButNotThePrinterCheck) {
    Sim({{"sim", "paper"}, {"state", "out"}});
    EXPECT_TRUE(AnalisaRetorno("001", 1, true, false, false));
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_EQ(Dialogs()[0].text, CatalogText("FimPapel"));
    EXPECT_FALSE(ImpressoraOK("001", false, false, false));

    Sim({{"sim", "paper"}, {"state", "low"}});
    EXPECT_TRUE(ImpressoraOK("001", true, false, true));
    EXPECT_EQ(Dialogs().back().text, CatalogText("PoucoPapel"));
}

TEST_F(StatusOnPrinter, SelfServiceTerminalCollectsInsteadOfShowing) {
    StopImpFiscal();
    ASSERT_TRUE(StartModule(orb::test::StartParams().Set("BOUTILTAA", true)));
    ASSERT_FALSE(boNUtilTaa);
    Recorded().dialogs.clear();
    Sim({{"sim", "cover"}, {"open", true}});
    EXPECT_FALSE(Estado_Imp("001"));
    EXPECT_FALSE(boClieUtil);
    EXPECT_EQ(stMensagemTaa, " " + CatalogText("ImpErro"));
    EXPECT_FALSE(AnalisaRetorno("001", -24, boNUtilTaa, false, false));
    EXPECT_EQ(stMensagemTaa,
              " " + CatalogText("ImpErro") + " " + CatalogText("FormPgtoNProg") + " " + CatalogText("ImpErro"));
    EXPECT_TRUE(Dialogs().empty());

    Sim({{"sim", "cover"}, {"open", false}});
    EXPECT_TRUE(Estado_Imp("001"));
    EXPECT_TRUE(stMensagemTaa.empty());
    EXPECT_TRUE(boClieUtil);
}

TEST_F(StatusOnPrinter, QueriesGiveThePrintersAnswersAndLogThem) {
    SimAnswer("Bematech_FI_NumeroReducoes", {"0012"});
    SimAnswer("Bematech_FI_GrandeTotal", {"000000000000123456"});
    SimAnswer("Bematech_FI_DataMovimento", {"251299"});
    std::string next, total, brand, model, kind, serial;
    EXPECT_TRUE(NumeroReducoes("001", next));
    EXPECT_EQ(next, "0013");
    EXPECT_TRUE(BuscaTotGer("001", total));
    EXPECT_EQ(total, "1234,56");
    EXPECT_TRUE(Modelo_Impressora("001", brand, model, kind));
    EXPECT_EQ(brand.size(), 15u);
    EXPECT_EQ(model.size(), 20u);
    EXPECT_TRUE(Numero_de_Serie("001", serial));
    const orb::fw::DateParts movement = orb::fw::DecodeDate(DataMoviFiscal("001"));
    EXPECT_EQ(movement.year % 100, 99);
    EXPECT_EQ(movement.month, 12);
    EXPECT_EQ(NewLogTexts(), (std::vector<std::string>{AnswerLogText("Bematech_FI_NumeroReducoes") + "0013",
                                                       AnswerLogText("Bematech_FI_GrandeTotal") + "000000000000123456",
                                                       AnswerLogText("Bematech_FI_MarcaModeloTipoImpressoraMFD") +
                                                           brand + " - " + model + " - " + kind,
                                                       AnswerLogText("Bematech_FI_NumeroSerieMFD") + serial,
                                                       AnswerLogText("Bematech_FI_DataMovimento") + "251299"}));
    EXPECT_TRUE(Dialogs().empty());

    // The coupon number of a printer that answers nothing is the word the callers test for.
    Sim({{"sim", "power"}, {"on", false}});
    EXPECT_EQ(Nr_Cupom("", "001"), "ERRO");
}

TEST_F(StatusOnPrinter, RawCommandsReachThePrinterThroughTheLoadedLibrary) {
    // The host filled no raw-command entry: they are taken from the fiscal library.
    ASSERT_EQ(BemaFormataTX, nullptr);
    EXPECT_TRUE(Leitura_Totais_Imp("001", true, false));
    const std::string frame = std::string("\x1b|27|\x1b");
    EXPECT_EQ(NewLogTexts(), (std::vector<std::string>{"Comando : " + frame}));
    const std::string totals = RetornoImpFiscal("99", true);
    EXPECT_FALSE(totals.empty());
    EXPECT_NE(totals.find(','), std::string::npos);

    // A command the printer does not know fails on its status bytes.
    EXPECT_FALSE(EnviaComando("001", "77", {}, true, false));
    EXPECT_EQ(Dialogs().back().text, CatalogText("ComandoErro"));
    EXPECT_FALSE(boComando);

    // Once the library is released nothing is called through a stale address.
    StopImpFiscal();
    EXPECT_FALSE(EnviaComando("001", "27", {}, false, false));
}

}  // namespace
