// The older raw-command path: protocol strings sent through the raw-command entries.
#include <algorithm>
#include <string>
#include <vector>

#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "driver/Globals.h"
#include "driver/PrinterCall.h"
#include "driver/StatusAnalysis.h"
#include "external/hostlib/Dialogs.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
#include "framework/Text.h"
#include "platform/Platform.h"

namespace Orb00100 {

namespace {

constexpr char kEsc = 27;
constexpr int kPaperOut = 128;  // in the third status integer
constexpr int kBusy = 64;       // in the fourth
constexpr int kAnswerWidth = 3000;

// The host normally fills the raw-command variables. When it has not, the entries are taken
// from the loaded fiscal library for this call only: nothing is stored, so nothing dangles
// once the library is released.
template <class Pfn>
Pfn Resolve(Pfn exported, const char* name) {
    if (exported) return exported;
    if (ImpFisDLLHandle == 0) return nullptr;
    return reinterpret_cast<Pfn>(orb::platform::GetProcAddress(ImpFisDLLHandle, name));
}

struct RawEntries {
    PFN_BemaFormataTX send = Resolve(BemaFormataTX, "BemaFormataTX");
    PFN_BemaStatus_Mp20FI status = Resolve(BemaStatus_Mp20FI, "BemaStatus_Mp20FI");
    bool Available() const { return send && status; }
};

struct RawStatus {
    int ack = 0, second = 0, third = 0, busy = 0;
};

int Send(const RawEntries& raw, const std::string& command) {
    std::string buffer = command;  // the entry takes a writable text
    return raw.send(buffer.data());
}

void ReadStatus(const RawEntries& raw, RawStatus& status) {
    raw.status(&status.ack, &status.second, &status.third, &status.busy);
}

// Clears boComando on every way out of EnviaComando.
class CommandGuard {
public:
    CommandGuard() { boComando = true; }
    ~CommandGuard() { boComando = false; }
    CommandGuard(const CommandGuard&) = delete;
    CommandGuard& operator=(const CommandGuard&) = delete;
};

}  // namespace

bool EnviaComando(const std::string& scheme, const std::string& command, std::span<const std::string> arguments,
                  bool show, bool /*spare*/) {
    TdtmBematech100& dm = EnsureDataModule();
    // A dialog below pumps the host's messages, which may call in here again.
    if (boComando) return false;
    CommandGuard guard;

    const RawEntries raw;
    if (!raw.Available()) {
        const std::string text = dm.msgPadrao.Msg("ErroComando");
        ImpFisDebug("ERRO!!! " + text);
        if (show) orb::hostlib::Inform(scheme, text, orb::hostlib::DialogKind::Error);
        return false;
    }

    const std::string statusRequest = std::string(1, kEsc) + "|19|" + std::string(1, kEsc);
    RawStatus status;
    Send(raw, statusRequest);
    ReadStatus(raw, status);
    // The operator replaces the paper; each round waits on the dialog.
    while (show && status.third >= kPaperOut) {
        const std::string text = dm.msgPadrao.Msg("FimPapel");
        ImpFisDebug("ERRO!!! " + text);
        orb::hostlib::Inform(scheme, text, orb::hostlib::DialogKind::Notice);
        Send(raw, statusRequest);
        status.third = 0;
        ReadStatus(raw, status);
    }

    std::string frame(1, kEsc);
    frame += "|" + command;
    for (const std::string& argument : arguments) frame += "|" + argument;
    frame += "|";
    frame += kEsc;
    ImpFisDebug("Comando : " + frame);

    const bool sent = Send(raw, frame) == 0;
    if (sent) {
        status = RawStatus{};
        ReadStatus(raw, status);
        while (status.busy & kBusy) {
            Send(raw, statusRequest);
            ReadStatus(raw, status);
        }
    }

    if (!sent) {
        if (show) {
            ImpFisDebug("ERRO!!! Comando : " + frame);
            if (CheckPrinter(scheme, {.show = true}))
                orb::hostlib::Inform(scheme, dm.msgPadrao.Msg("ErroComando"), orb::hostlib::DialogKind::Error);
        }
        return false;
    }
    return CheckPrinter(scheme, {.show = show, .cancelOpenCoupon = command != "14", .warnLowPaper = command == "00"});
}

std::string RetornoImpFiscal(const std::string& variable, bool trim) {
    // Blanks and a terminator; the answer ends at the first terminator the library wrote.
    std::vector<char> buffer(kAnswerWidth + 1, '\0');
    std::fill_n(buffer.begin(), kAnswerWidth, ' ');
    if (const auto read = Resolve(BemaLe_Variaveis, "BemaLe_Variaveis")) read(buffer.data());
    const std::string area(buffer.begin(), std::find(buffer.begin(), buffer.begin() + kAnswerWidth, '\0'));

    std::string answer;
    if (variable == "3529" || variable == "23")
        answer = area.substr(0, 2);
    else if (trim)
        answer = orb::fw::Trim(area);
    else
        answer = area;
    ImpFisDebug("Retorno da Impressora " + answer);
    return answer;
}

}  // namespace Orb00100
