// The printer-call layer: the verdict on a vendor return code and on the printer's status bytes.
#include "driver/PrinterCall.h"

#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "driver/Globals.h"
#include "external/hostlib/Dialogs.h"
#include "external/vendor/EntryPoints.h"

namespace Orb00100 {

namespace {

constexpr int kNak = 21;

struct Flag {
    int bit;
    const char* key;
};

// Return codes with a catalogued meaning; every other code passes without a message.
constexpr Flag kReturnCodes[] = {
    {0, "ERRO_COM_ECF"},    {-1, "ErroExecucao"},  {-2, "ParamInvalido"}, {-3, "AliqNProg"},    {-4, "ErroArqIni"},
    {-5, "ErroPorta"},      {-6, "ImpDeslig"},     {-7, "BancoNCad"},     {-8, "ErroGravacao"}, {-18, "ErroAbrirArq"},
    {-19, "ParamErro"},     {-20, "TransCanc"},    {-21, "TransAprov"},   {-22, "ImpNConcl"},   {-23, "OperNConcl"},
    {-24, "FormPgtoNProg"}, {-25, "TotNFisNProg"}, {-26, "TransEfet"},    {-28, "InfNImpre"},
};

// Status byte 2: every bit is a failure, reported from the highest bit down.
constexpr Flag kStatus2[] = {
    {128, "TipoParamErro"}, {64, "MemLotada"},     {32, "MemRAMErro"}, {16, "AliqNProg"},
    {8, "AliqLotada"},      {4, "CancNPermitido"}, {2, "CGCIENProg"},  {1, "ComandoNExec"},
};

// Status byte 1 bits that fail the verdict (paper, low paper, open coupon and parameter error
// are handled on their own because their effects differ).
constexpr Flag kStatus1Failures[] = {
    {32, "ErroRelogio"},
    {16, "ImpErro"},
    {8, "SyntaxErro"},
    {4, "ComandoErro"},
};

std::string Text(std::string_view key) { return DataModule().msgPadrao.Msg(key); }

void Show(const std::string& scheme, const std::string& text) {
    orb::hostlib::Inform(scheme, text, orb::hostlib::DialogKind::Notice);
}

void LogError(const std::string& text) { ImpFisDebug("ERRO!!! " + text); }

// One problem found by the status analysis: logged, collected for a self-service terminal, and
// shown when asked.
class Reporter {
public:
    Reporter(const std::string& scheme, bool show) : scheme_(scheme), show_(show) {}

    void Report(std::string_view key, bool log = true) {
        const std::string text = Text(key);
        if (log) LogError(text);
        Collect(text);
        if (show_) Show(scheme_, text);
    }
    void Collect(const std::string& text) { stMensagemTaa += " " + text; }

private:
    const std::string& scheme_;
    bool show_;
};

struct StatusBytes {
    int ack = 0, st1 = 0, st2 = 0;
    int read = 0;  // what the status read returned
};

StatusBytes ReadStatus() {
    StatusBytes bytes;
    bytes.read = Bematech_FI_RetornoImpressora
                     ? Bematech_FI_RetornoImpressora(&bytes.ack, &bytes.st1, &bytes.st2)
                     : 0;  // unbound: nothing can be read, as with a printer that does not answer
    return bytes;
}

// A coupon left open is cancelled; the cancellation's own verdict does not change the caller's.
void CancelOpenCoupon(const std::string& scheme) {
    const int code = Bematech_FI_CancelaCupom ? Bematech_FI_CancelaCupom() : 0;
    CheckStatus(scheme, code);
}

}  // namespace

bool CheckStatus(const std::string& scheme, int returnCode, StatusCheck check) {
    const bool show = check.show;
    bool ok = true;
    Reporter reporter(scheme, show);

    for (const Flag& code : kReturnCodes) {
        if (code.bit == returnCode) {
            reporter.Report(code.key);
            ok = false;
            break;
        }
    }

    const StatusBytes status = ReadStatus();
    if (status.read != 1) {
        ImpFisDebug("ERRO!!! Ret recebido");
        reporter.Report("ImpErro", false);
        return false;
    }
    if (status.ack == kNak) {
        ImpFisDebug("ERRO!!! NAK recebido");
        reporter.Report("ImpErro", false);
        return false;
    }

    // Paper out is reported but the command itself went through.
    if (status.st1 & 128) reporter.Report("FimPapel");
    if (status.st1 & 64) {
        const std::string text = Text("PoucoPapel");
        LogError(text);
        if (show && check.warnLowPaper) Show(scheme, text);
    }
    for (const Flag& flag : kStatus1Failures) {
        if (status.st1 & flag.bit) {
            reporter.Report(flag.key);
            ok = false;
        }
    }
    if (status.st1 & 2) {
        // An open coupon is logged and collected but never shown; the caller decides on it.
        const std::string text = Text("CupomAberto");
        LogError(text);
        reporter.Collect(text);
        if (check.cancelOpenCoupon) CancelOpenCoupon(scheme);
    }
    if (status.st1 & 1) {
        reporter.Report("ParamErro");
        ok = false;
    }

    for (const Flag& flag : kStatus2) {
        if (status.st2 & flag.bit) {
            reporter.Report(flag.key);
            ok = false;
        }
    }
    return ok;
}

bool CheckPrinter(const std::string& scheme, StatusCheck check) {
    const bool show = check.show;
    bool ok = true;
    // Logged and shown only on request; the verdict counts either way.
    auto fail = [&](std::string_view key) {
        if (show) {
            const std::string text = Text(key);
            LogError(text);
            Show(scheme, text);
        }
        ok = false;
    };

    const StatusBytes status = ReadStatus();
    // A status read that fails leaves the bytes unknown: calling the printer fine then would
    // report a printer that is off or unplugged as ready.
    if (status.read != 1) {
        ImpFisDebug("ERRO!!! Ret recebido");
        if (show) Show(scheme, Text("ImpErro"));
        return false;
    }
    if (status.ack == kNak) {
        ImpFisDebug("ERRO!!! NAK recebido");
        if (show) Show(scheme, Text("ImpErro"));
        return false;
    }

    if (status.st1 & 128) fail("FimPapel");
    if ((status.st1 & 64) && show) {
        const std::string text = Text("PoucoPapel");
        LogError(text);
        if (check.warnLowPaper) Show(scheme, text);
    }
    for (const Flag& flag : kStatus1Failures) {
        if (status.st1 & flag.bit) fail(flag.key);
    }
    if (status.st1 & 2) {
        LogError(Text("CupomAberto"));
        if (check.cancelOpenCoupon) CancelOpenCoupon(scheme);
    }
    if (status.st1 & 1) fail("ParamErro");

    for (const Flag& flag : kStatus2) {
        if (status.st2 & flag.bit) fail(flag.key);
    }
    return ok;
}

bool Conclude(const std::string& scheme, int returnCode, std::string_view logLine, StatusCheck check) {
    ImpFisDebug(logLine);
    return CheckStatus(scheme, returnCode, check);
}

}  // namespace Orb00100
