#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "driver/PrinterCall.h"
#include "external/hostlib/Dialogs.h"
#include "external/vendor/EntryPoints.h"
#include "fiscalfiles/FilePlaces.h"
#include "fiscalfiles/FiscalFiles.h"
#include "framework/Cp1252.h"
#include "framework/DateFormat.h"
#include "framework/Exceptions.h"
#include "framework/Text.h"
#include "platform/Platform.h"
#include "readings/Readings.h"
#include "readings/Signature.h"

namespace Orb00100 {

namespace {

using orb::fw::FormatDateTime;
using orb::hostlib::DialogKind;

constexpr int kDone = 1;

struct MemoryRequest {
    std::string kind, start, end, memory, identification;
    bool raw = false;
};

// The elements in order; the first that does not convert leaves itself and the rest empty.
MemoryRequest ReadRequest(std::span<const orb::fw::Variant> params) {
    MemoryRequest r;
    try {
        r.kind = TextAt(params, 0);
        r.start = TextAt(params, 1);
        r.end = TextAt(params, 2);
        r.memory = TextAt(params, 3);
        r.identification = TextAt(params, 4);
        r.raw = At(params, 12).ToBool();
    } catch (const orb::fw::Exception&) {}
    return r;
}

int GenerationType(const MemoryRequest& r) {
    if (r.memory == "MFD") return r.kind == "D" || r.kind == "C" ? 1 : 2;
    return 0;
}

// The library names its file after the day of the generation. The clock is read before and after
// the call, so a generation across midnight is still found under either day.
std::string FindGenerated(const std::string& folder, const std::string& prefix, const std::string& identification,
                          orb::fw::TDateTime before, orb::fw::TDateTime after) {
    for (orb::fw::TDateTime moment : {before, after}) {
        const std::string mask = folder + prefix + identification + "_" + FormatDateTime("yyyymmdd", moment) + "*.*";
        const std::string found = orb::platform::FindFirst(mask);
        if (!found.empty()) return found;
    }
    return {};
}

std::string NameOf(const std::string& path) {
    const auto cut = orb::platform::NativePath(path).find_last_of(orb::platform::PathDelimiter());
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// The library's register file, copied into the fiscal-menu folder and signed there. False when
// the copy or its signature could not be made: a file the authority cannot check is not handed out.
bool KeepRegisterFile(const MemoryRequest& r, orb::fw::TDateTime before, std::string& vendorName) {
    const std::string folder = retornaPathBematech();
    const auto after = orb::fw::Now();
    if (r.memory == "MF") {
        const std::string found = FindGenerated(folder, "MF", r.identification, before, after);
        if (found.empty()) return true;
        vendorName = NameOf(found);
        const std::string copy = MenuFile("Ato_Cotepe.txt");
        return orb::platform::CopyFile(found, copy) && SignInside(copy);
    }
    std::string found = FindGenerated(folder, "MFD", r.identification, before, after);
    if (found.empty()) found = FindGenerated(folder, "TDM", r.identification, before, after);
    if (found.empty()) return true;
    vendorName = NameOf(found);
    const std::string copy = MenuFile(vendorName);
    if (!orb::platform::CopyFile(found, copy) || !SignInside(copy)) return false;
    orb::platform::DeleteFile(found);
    return true;
}

}  // namespace

bool Gera_ArquivoMFD(std::span<const orb::fw::Variant> params, orb::fw::Variant& result) {
    const MemoryRequest r = ReadRequest(params);
    std::string fileStart = r.start, fileEnd = r.end, rawStart = r.start, rawEnd = r.end;
    if (r.kind == "D") {
        const auto start = orb::fw::StrToDate(r.start), end = orb::fw::StrToDate(r.end);
        fileStart = FormatDateTime("dd/mm/yyyy", start);
        fileEnd = FormatDateTime("dd/mm/yyyy", end);
        rawStart = FormatDateTime("ddmmyyyy", start);
        rawEnd = FormatDateTime("ddmmyyyy", end);
    }
    const int type = GenerationType(r);
    std::string vendorName;
    int code = 0;
    bool kept = true;
    if (!r.raw) {
        const auto keys = LoadSigningKeys();
        if (keys) {
            std::string origin, kind = r.kind, user = "01", publicKey = keys->publicKey, privateKey = keys->privateKey;
            const auto before = orb::fw::Now();
            code = Invoke(Bematech_FI_ArquivoMFD, origin.data(), fileStart.data(), fileEnd.data(), kind.data(),
                          user.data(), type, publicKey.data(), privateKey.data(), 1);
            if (code == kDone) kept = KeepRegisterFile(r, before, vendorName);
        }
    } else {
        // The download reads "1" as dates and "2" as counters: a counter range goes as "2", not
        // as its generation type.
        std::string file = MenuFile("MFDFISCAL.MFD"), kind = r.kind == "C" ? "2" : std::to_string(type), user = "1";
        code = Invoke(Bematech_FI_DownloadMFD, file.data(), kind.data(), rawStart.data(), rawEnd.data(), user.data());
    }
    CheckStatus("", code);
    if (code != kDone || !kept) return false;
    PutResult(result, 0, vendorName);
    return true;
}

bool geraEspelhoMfd(std::span<const orb::fw::Variant> params, orb::fw::Variant& /*result*/) {
    try {
        const std::string scheme = TextAt(params, 0), kind = TextAt(params, 8);
        std::string start = TextAt(params, 6), end = TextAt(params, 7);
        if (kind == "1") {
            start = FormatDateTime("ddmmyyyy", orb::fw::StrToDate(start));
            end = FormatDateTime("ddmmyyyy", orb::fw::StrToDate(end));
        }
        const std::string folder = retornaPathBematech();
        if (folder == kIniNotFound) {
            orb::hostlib::Inform(scheme, CP("Arquivo de configuração da Bematech não encontrado (BEMAFI32.INI)."),
                                 DialogKind::Error);
            return false;
        }
        std::string source = folder + "download.mfd", k = kind, user = "1";
        int code = Invoke(Bematech_FI_DownloadMFD, source.data(), k.data(), start.data(), end.data(), user.data());
        std::string line = "Bematech_FI_DownloadMFD  :  - " + source + " - " + kind + " - " + start + " - " + end;
        if (!Conclude(scheme, code, AnswerLabel(line) + std::to_string(code), {.show = true})) {
            orb::hostlib::Inform(scheme, CP("Erro ao realizar download da memória MFD."), DialogKind::Error);
            return false;
        }
        std::string mirror = MenuFile("Espelho_MFD_" + FormatDateTime("ddmmyyyyhhnnss", orb::fw::Now()) + ".txt");
        std::string format = "0";
        code = Invoke(Bematech_FI_FormatoDadosMFD, source.data(), mirror.data(), format.data(), k.data(), start.data(),
                      end.data(), user.data());
        line = "Bematech_FI_FormatoDadosMFD :  - " + source + " - " + mirror + " - 0 - " + kind + " - " + start +
               " - " + end + " - 1";
        if (!Conclude(scheme, code, AnswerLabel(line) + std::to_string(code), {.show = true})) {
            orb::hostlib::Inform(scheme, CP("Erro ao realizar geração do espelho MFD."), DialogKind::Error);
            return false;
        }
        if (!SignInside(mirror)) {
            orb::hostlib::Inform(scheme, CP("Espelho MFD gerado sem assinatura digital no diretório: ") + mirror,
                                 DialogKind::Error);
            return false;
        }
        orb::hostlib::Inform(
            scheme, CP("Arquivo espelho de memória de fita detalhe gerado com sucesso no diretório: ") + mirror,
            DialogKind::Notice);
        return true;
    } catch (...) {
        return false;
    }
}

namespace {

// One binary download kept with its signature: false, after telling the operator, when the
// printer did not make the file or it could not be signed.
bool KeepBinary(int code, const std::string& file, const std::string& companion, const char* memory) {
    if (code != kDone) {
        orb::hostlib::Inform("", CP("Erro ao realizar download da memória ") + memory + ".", DialogKind::Error);
        return false;
    }
    if (!SignWithCompanion(file, companion)) {
        orb::hostlib::Inform("", CP("Arquivo ") + memory + CP(" gerado sem assinatura digital: ") + file,
                             DialogKind::Error);
        return false;
    }
    const std::string text = DataModule().msgPadrao.Msg(std::string(memory) + "_OK");
    const int at = orb::fw::Pos("%s", text);
    std::string filled = at > 0 ? orb::fw::Copy(text, 1, at - 1) + file + orb::fw::Copy(text, at + 2, 1 << 20) : text;
    filled = orb::fw::StringReplaceAll(filled, "%s", companion);
    orb::hostlib::Inform("", filled, DialogKind::MonthlyFile);
    return true;
}

}  // namespace

bool GeraBinMes(orb::fw::TDateTime start, orb::fw::TDateTime end, const std::string& prefix) {
    try {
        EnsureDataModule();
        std::string first = FormatDateTime("ddmmyyyy", start), last = FormatDateTime("ddmmyyyy", end);
        // Each pair is named from one reading of the clock. Both memories downloaded within one
        // second would share the companion's name: the MFD pair then takes the next second.
        const auto mfMoment = orb::fw::Now();
        auto mfdMoment = orb::fw::Now();
        const auto stamp = [](orb::fw::TDateTime m) { return FormatDateTime("yyyymmdd_hhnnss", m); };
        const std::string base = MenuFolder() + "\\" + prefix + "_";
        std::string mf = base + stamp(mfMoment) + ".MF";
        int code = Invoke(Bematech_FI_DownloadMF, mf.data());
        if (!KeepBinary(code, mf, base + stamp(mfMoment) + ".txt", "MF")) return false;
        mfdMoment = orb::fw::Now();
        if (stamp(mfdMoment) == stamp(mfMoment)) mfdMoment = orb::fw::TDateTime(mfMoment.value + 1.0 / 86400.0);
        std::string mfd = base + stamp(mfdMoment) + ".MFD", kind = "1", user = "1";
        code = Invoke(Bematech_FI_DownloadMFD, mfd.data(), kind.data(), first.data(), last.data(), user.data());
        return KeepBinary(code, mfd, base + stamp(mfdMoment) + ".txt", "MFD");
    } catch (...) {
        return false;
    }
}

}  // namespace Orb00100
