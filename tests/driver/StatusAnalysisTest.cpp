// The verdict on return codes and status bytes, with the status read answered by a scripted
// printer so each byte can be set exactly.

#include <sstream>

#include "driver/DataModule.h"
#include "driver/Globals.h"
#include "driver/StatusAnalysis.h"
#include "driver/TestSupport.h"
#include "external/vendor/EntryPoints.h"

namespace {

using namespace Orb00100;
using orb::test::ScriptedStatus;
using orb::test::Texts;

class StatusAnalysis : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        EnsureDataModule();
        ScriptedStatus::Install();
    }
    // Catalog keys, space-separated, turned into the lines the analysis logs ("NAK" and "Ret"
    // stand for the two lines that carry no catalog text) or the texts it collects or shows.
    static Texts Expand(const std::string& keys, bool logLines) {
        Texts texts;
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
        for (const std::string& text : Expand(keys, false)) collected += " " + text;
        return collected;
    }
};

// One call of AnalisaRetorno (or, with check, ImpressoraOK) on scripted status bytes; the
// expected log lines, collected messages and dialogs as keys that Expand reads.
struct Case {
    const char* what;
    bool check = false;
    int read = 1, ack = 0, st1 = 0, st2 = 0, code = 1;
    bool show = false, cancel = false, warn = false, ok = true;
    const char *log = "", *taa = "", *shown = "";
    int cancels = 0;
};

TEST_F(StatusAnalysis, VerdictLogCollectionAndDialogsFollowTheCodeAndTheBytes) {
    const std::string every =
        "ErroRelogio ImpErro SyntaxErro ComandoErro ParamErro TipoParamErro MemLotada MemRAMErro "
        "AliqNProg AliqLotada CancNPermitido CGCIENProg ComandoNExec";
    const std::string everyLogged = "ParamInvalido FimPapel PoucoPapel " + every;
    const std::string everyCollected = "ParamInvalido FimPapel " + every;
    // clang-format off
    const Case cases[] = {
        {.what = "clean success leaves no trace", .show = true, .cancel = true, .warn = true},
        // A few catalogued codes (the others are alike); codes outside the catalog pass.
        {.what = "code 0", .code = 0, .ok = false, .log = "ERRO_COM_ECF", .taa = "ERRO_COM_ECF"},
        {.what = "code -6", .code = -6, .ok = false, .log = "ImpDeslig", .taa = "ImpDeslig"},
        {.what = "code -28", .code = -28, .ok = false, .log = "InfNImpre", .taa = "InfNImpre"},
        {.what = "uncatalogued -27", .code = -27, .show = true},
        {.what = "uncatalogued 2", .code = 2, .show = true},
        // A status read that fails is reported after the code's own message.
        {.what = "code 0, failed read", .read = 0, .code = 0, .show = true, .ok = false, .log = "ERRO_COM_ECF Ret",
         .taa = "ERRO_COM_ECF ImpErro", .shown = "ERRO_COM_ECF ImpErro"},
        {.what = "NAK stops before the bytes", .ack = 21, .st1 = 0xFF, .st2 = 0xFF, .cancel = true, .ok = false,
         .log = "NAK", .taa = "ImpErro"},
        {.what = "NAK shown", .ack = 21, .show = true, .ok = false, .log = "NAK", .taa = "ImpErro", .shown = "ImpErro"},
        // The open coupon is logged and collected but never shown; the cancellation's own
        // analysis sees the paper still out. Paper out alone does not fail.
        {.what = "paper out, coupon open, cancel", .st1 = 130, .show = true, .cancel = true,
         .log = "FimPapel CupomAberto FimPapel", .taa = "FimPapel CupomAberto FimPapel", .shown = "FimPapel",
         .cancels = 1},
        {.what = "coupon open, no cancel", .st1 = 2, .show = true, .log = "CupomAberto", .taa = "CupomAberto"},
        {.what = "low paper, not warned", .st1 = 64, .show = true, .log = "PoucoPapel"},
        {.what = "low paper, warned", .st1 = 64, .show = true, .warn = true, .log = "PoucoPapel",
         .shown = "PoucoPapel"},
        {.what = "low paper, warned, not shown", .st1 = 64, .warn = true, .log = "PoucoPapel"},
        // Each failing class on its own, then every bit but the open coupon in the order reported.
        {.what = "status byte 1", .st1 = 4, .ok = false, .log = "ComandoErro", .taa = "ComandoErro"},
        {.what = "parameter bit", .st1 = 1, .ok = false, .log = "ParamErro", .taa = "ParamErro"},
        {.what = "status byte 2", .st2 = 1, .ok = false, .log = "ComandoNExec", .taa = "ComandoNExec"},
        {.what = "every bit", .st1 = 0xFD, .st2 = 0xFF, .code = -2, .warn = true, .ok = false,
         .log = everyLogged.c_str(), .taa = everyCollected.c_str()},
        // The printer check fails on paper out, logs only the open coupon unless shown, and never
        // collects; its cancellation goes through the analysis, which collects.
        {.what = "check, quiet", .check = true, .st1 = 194, .warn = true, .ok = false, .log = "CupomAberto"},
        {.what = "check, shown, cancelling", .check = true, .st1 = 194, .show = true, .cancel = true, .warn = true,
         .ok = false, .log = "FimPapel PoucoPapel CupomAberto FimPapel PoucoPapel", .taa = "FimPapel",
         .shown = "FimPapel PoucoPapel", .cancels = 1},
        {.what = "check, low paper passes", .check = true, .st1 = 64, .show = true, .log = "PoucoPapel"},
        {.what = "check, status byte 2", .check = true, .st2 = 4, .ok = false},
        {.what = "check, NAK", .check = true, .ack = 21, .ok = false, .log = "NAK"},
        // A status read that fails must not pass for a ready printer.
        {.what = "check, failed read", .check = true, .read = 0, .show = true, .ok = false, .log = "Ret",
         .shown = "ImpErro"},
    };
    // clang-format on
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
        EXPECT_EQ(c.check ? ImpressoraOK("001", c.show, c.cancel, c.warn)
                          : AnalisaRetorno("001", c.code, c.show, c.cancel, c.warn),
                  c.ok);
        EXPECT_EQ(NewLogTexts(), Expand(c.log, true));
        EXPECT_EQ(stMensagemTaa, Collected(c.taa));
        EXPECT_EQ(DialogTexts(), Expand(c.shown, false));
        EXPECT_EQ(ScriptedStatus::cancellations, c.cancels);
        EXPECT_EQ(ScriptedStatus::reads, 1 + c.cancels);  // the status is always read
    }
}

TEST_F(StatusAnalysis, AnUnboundLibraryFailsWithoutCrashingTheHost) {
    Bematech_FI_RetornoImpressora = nullptr;
    EXPECT_FALSE(ImpressoraOK("001", false, false, false));
    EXPECT_FALSE(AnalisaRetorno("001", 1, false, false, false));
}

}  // namespace
