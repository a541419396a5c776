// The verdict on return codes and status bytes, with the status read answered by a scripted
// printer so each byte can be set exactly.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "driver/DataModule.h"
#include "driver/Globals.h"
#include "driver/StatusAnalysis.h"
#include "driver/TestSupport.h"
#include "external/vendor/EntryPoints.h"

namespace {

using namespace Orb00100;
using orb::test::ScriptedStatus;

class StatusAnalysis : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        EnsureDataModule();
        ScriptedStatus::Install();
    }
    // Catalog keys, space-separated, turned into the lines the analysis logs ("NAK" and "Ret"
    // stand for the two lines that carry no catalog text), the texts it collects or shows.
    static std::vector<std::string> Texts(const std::string& keys, bool logLines) {
        std::vector<std::string> texts;
        std::istringstream words(keys);
        for (std::string key; words >> key;)
            texts.push_back(key == "NAK"   ? "ERRO!!! NAK recebido"
                            : key == "Ret" ? "ERRO!!! Ret recebido"
                            : logLines     ? ErrorLogText(key.c_str())
                                           : CatalogText(key.c_str()));
        return texts;
    }
    static std::string Collected(const std::string& keys) {
        std::string collected;
        for (const std::string& text : Texts(keys, false)) collected += " " + text;
        return collected;
    }
};

// One call of AnalisaRetorno (or, with printerCheck, ImpressoraOK) on scripted status bytes.
struct Case {
    const char* what;
    bool printerCheck;
    int read, ack, st1, st2, code;
    bool show, cancel, warn;
    bool verdict;
    const char* logged;     // keys, as Texts reads them
    const char* collected;  // keys
    const char* shown;      // keys
    int cancellations;
};

TEST_F(StatusAnalysis, VerdictLogCollectionAndDialogsFollowTheBytes) {
    const Case cases[] = {
        {"clean success leaves no trace", false, 1, 0, 0, 0, 1, true, true, true, true, "", "", "", 0},
        {"NAK stops before the status bytes", false, 1, 21, 0xFF, 0xFF, 1, false, true, false, false, "NAK", "ImpErro",
         "", 0},
        {"NAK shown", false, 1, 21, 0, 0, 1, true, false, false, false, "NAK", "ImpErro", "ImpErro", 0},
        // The open coupon is logged and collected but never shown; the cancellation's own
        // analysis sees the paper still out.
        {"paper out with a coupon open, cancel asked", false, 1, 0, 130, 0, 1, true, true, false, true,
         "FimPapel CupomAberto FimPapel", "FimPapel CupomAberto FimPapel", "FimPapel", 1},
        {"coupon open, no cancel asked", false, 1, 0, 2, 0, 1, true, false, false, true, "CupomAberto", "CupomAberto",
         "", 0},
        {"low paper, not warned", false, 1, 0, 64, 0, 1, true, false, false, true, "PoucoPapel", "", "", 0},
        {"low paper, warned", false, 1, 0, 64, 0, 1, true, false, true, true, "PoucoPapel", "", "PoucoPapel", 0},
        {"low paper, warned but not shown", false, 1, 0, 64, 0, 1, false, false, true, true, "PoucoPapel", "", "", 0},
        {"every bit but the open coupon, in order", false, 1, 0, 0xFD, 0xFF, -2, false, false, true, false,
         "ParamInvalido FimPapel PoucoPapel ErroRelogio ImpErro SyntaxErro ComandoErro ParamErro "
         "TipoParamErro MemLotada MemRAMErro AliqNProg AliqLotada CancNPermitido CGCIENProg ComandoNExec",
         "ParamInvalido FimPapel ErroRelogio ImpErro SyntaxErro ComandoErro ParamErro TipoParamErro "
         "MemLotada MemRAMErro AliqNProg AliqLotada CancNPermitido CGCIENProg ComandoNExec",
         "", 0},
        // The printer check fails on paper out, logs only the open coupon unless shown, and never
        // collects; its cancellation goes through the analysis, which collects.
        {"printer check, quiet", true, 1, 0, 194, 0, 0, false, false, true, false, "CupomAberto", "", "", 0},
        {"printer check, shown and cancelling", true, 1, 0, 194, 0, 0, true, true, true, false,
         "FimPapel PoucoPapel CupomAberto FimPapel PoucoPapel", "FimPapel", "FimPapel PoucoPapel", 1},
        {"printer check, low paper passes", true, 1, 0, 64, 0, 0, true, false, false, true, "PoucoPapel", "", "", 0},
        {"printer check, status byte 2", true, 1, 0, 0, 4, 0, false, false, false, false, "", "", "", 0},
        {"printer check, NAK", true, 1, 21, 0, 0, 0, false, false, false, false, "NAK", "", "", 0},
        // A status read that fails must not pass for a ready printer.
        {"printer check, failed read", true, 0, 0, 0, 0, 0, true, false, false, false, "Ret", "", "ImpErro", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedStatus::Install();
        ScriptedStatus::read = c.read;
        ScriptedStatus::ack = c.ack;
        ScriptedStatus::st1 = c.st1;
        ScriptedStatus::st2 = c.st2;
        stMensagemTaa.clear();
        Recorded().dialogs.clear();
        NewLogTexts();
        const bool verdict = c.printerCheck ? ImpressoraOK("001", c.show, c.cancel, c.warn)
                                            : AnalisaRetorno("001", c.code, c.show, c.cancel, c.warn);
        EXPECT_EQ(verdict, c.verdict);
        EXPECT_EQ(NewLogTexts(), Texts(c.logged, true));
        EXPECT_EQ(stMensagemTaa, Collected(c.collected));
        EXPECT_EQ(DialogTexts(), Texts(c.shown, false));
        EXPECT_EQ(ScriptedStatus::cancellations, c.cancellations);
        EXPECT_EQ(ScriptedStatus::reads, 1 + c.cancellations);  // the status is always read
    }
}

TEST_F(StatusAnalysis, EachCataloguedReturnCodeFailsWithItsMessage) {
    const std::pair<int, const char*> table[] = {
        {0, "ERRO_COM_ECF"},   {-1, "ErroExecucao"},  {-2, "ParamInvalido"}, {-3, "AliqNProg"},
        {-4, "ErroArqIni"},    {-5, "ErroPorta"},     {-6, "ImpDeslig"},     {-7, "BancoNCad"},
        {-8, "ErroGravacao"},  {-18, "ErroAbrirArq"}, {-19, "ParamErro"},    {-20, "TransCanc"},
        {-21, "TransAprov"},   {-22, "ImpNConcl"},    {-23, "OperNConcl"},   {-24, "FormPgtoNProg"},
        {-25, "TotNFisNProg"}, {-26, "TransEfet"},    {-28, "InfNImpre"}};
    std::vector<std::string> expected;
    for (const auto& [code, key] : table) {
        SCOPED_TRACE(code);
        EXPECT_FALSE(AnalisaRetorno("001", code, false, false, false));
        expected.push_back(ErrorLogText(key));
    }
    EXPECT_EQ(NewLogTexts(), expected);
    // Codes outside the table pass, however odd.
    for (int code : {2, 99, -9, -17, -27, -29, -1000}) {
        SCOPED_TRACE(code);
        EXPECT_TRUE(AnalisaRetorno("001", code, true, false, false));
    }
    EXPECT_TRUE(NewLogTexts().empty());
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(StatusAnalysis, EachFailingBitFailsOnItsOwnAndPaperOutDoesNot) {
    for (int bit : {32, 16, 8, 4, 1}) {
        ScriptedStatus::st1 = bit;
        EXPECT_FALSE(AnalisaRetorno("001", 1, false, false, false)) << "st1 " << bit;
    }
    ScriptedStatus::st1 = 0;
    for (int bit = 1; bit < 256; bit <<= 1) {
        ScriptedStatus::st2 = bit;
        EXPECT_FALSE(AnalisaRetorno("001", 1, false, false, false)) << "st2 " << bit;
    }
    ScriptedStatus::st1 = 128;
    ScriptedStatus::st2 = 0;
    EXPECT_TRUE(AnalisaRetorno("001", 1, false, false, false));
}

TEST_F(StatusAnalysis, AnUnboundLibraryFailsWithoutCrashingTheHost) {
    Bematech_FI_RetornoImpressora = nullptr;
    EXPECT_FALSE(ImpressoraOK("001", false, false, false));
    EXPECT_FALSE(AnalisaRetorno("001", 1, false, false, false));
}

}  // namespace
