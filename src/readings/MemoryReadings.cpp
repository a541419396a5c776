#include "driver/DebugLog.h"
#include "driver/Globals.h"
#include "driver/PrinterCall.h"
#include "external/hostlib/Dialogs.h"
#include "external/vendor/EntryPoints.h"
#include "framework/Cp1252.h"
#include "framework/DateFormat.h"
#include "framework/DateTime.h"
#include "framework/NumberFormat.h"
#include "nonfiscal/Ledger.h"
#include "platform/Platform.h"
#include "readings/Readings.h"
#include "readings/Signature.h"

namespace Orb00100 {

namespace {

using orb::hostlib::DialogKind;

constexpr int kDone = 1;

// The log line of the four detail-memory readings: the entry, the range and flag, the return code.
std::string RangeLogLine(std::string_view entry, const std::string& start, const std::string& end,
                         const std::string& flag, int code) {
    return std::string(entry) + " :  - " + start + " - " + end + " - " + flag + "\r\n" +
           "Retorno da Impressora : " + std::to_string(code);
}

struct Reading {
    const char* name;
    int code;
};

// The detail-memory readings: by dates ("DATA") or by reductions, printed or to the library's file.
Reading DetailReading(bool toFile, const std::string& kind, const std::string& start, const std::string& end,
                      const std::string& flag) {
    using Entry = decltype(Bematech_FI_LeituraMemoriaFiscalDataMFD);
    struct Choice {
        const char* name;
        Entry entry;
    };
    const bool byDate = kind == "DATA";
    const Choice choice =
        toFile
            ? (byDate ? Choice{"Bematech_FI_LeituraMemoriaFiscalSerialDataMFD",
                               Bematech_FI_LeituraMemoriaFiscalSerialDataMFD}
                      : Choice{"Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD",
                               Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD})
            : (byDate
                   ? Choice{"Bematech_FI_LeituraMemoriaFiscalDataMFD", Bematech_FI_LeituraMemoriaFiscalDataMFD}
                   : Choice{"Bematech_FI_LeituraMemoriaFiscalReducaoMFD", Bematech_FI_LeituraMemoriaFiscalReducaoMFD});
    std::string a = start, b = end, f = flag;
    return {choice.name, Invoke(choice.entry, a.data(), b.data(), f.data())};
}

std::string TextAt(std::span<const orb::fw::Variant> params, std::size_t i) {
    if (i >= params.size()) return {};
    try {
        return params[i].ToString();
    } catch (...) {
        return {};  // a value that is no text stays empty
    }
}

// Copies the vendor's reading file into the fiscal-menu folder and signs it; false after telling
// the operator what went wrong. The file is named after the moment of the copy.
bool KeepSignedCopy(const std::string& scheme, const std::string& folder, const std::string& flag) {
    const std::string stamp = orb::fw::FormatDateTime("ddmmyyyyhhmss", orb::fw::Now());
    const std::string menuFolder = orb::platform::HostDirectory() + "\\Dados\\MenuFiscal\\";
    const std::string target = menuFolder + (flag == "C" ? "LMFC_" : "LMFS_") + stamp + ".txt";
    orb::platform::ForceDirectories(menuFolder);
    if (!orb::platform::CopyFile(folder + "Retorno.txt", target)) {
        orb::hostlib::Inform(
            scheme,
            CP("Erro ao gerar arquivo de memória fiscal. (Erro - ") + std::to_string(orb::platform::LastError()) + ")",
            DialogKind::Error);
        return false;
    }
    std::string ead;
    if (!SignFile(target, "1", ead)) {
        // An unsigned file is of no use to the tax authority: the operator must know.
        orb::hostlib::Inform(scheme,
                             CP("Leitura de memória fiscal gerada sem assinatura digital no diretório: ") + target,
                             DialogKind::Error);
        return false;
    }
    orb::hostlib::Inform(scheme, CP("Leitura de memória fiscal gerada com sucesso no diretório: ") + target,
                         DialogKind::Notice);
    return true;
}

}  // namespace

bool Memoria_Fiscal_Imp(const std::string& scheme, const std::string& kind, const std::string& start,
                        const std::string& end, const std::string& /*unused*/) {
    std::string a = start, b = end;
    if (kind == "D")
        return Call(scheme, {.show = true}, "Bematech_FI_LeituraMemoriaFiscalData : " + start + " - " + end,
                    Bematech_FI_LeituraMemoriaFiscalData, a.data(), b.data());
    if (kind == "R")
        return Call(scheme, {.show = true}, "Bematech_FI_LeituraMemoriaFiscalReducao : " + start + " - " + end,
                    Bematech_FI_LeituraMemoriaFiscalReducao, a.data(), b.data());
    return false;
}

bool EmiteLeituraMemoriaFiscal(const std::string& scheme, const std::string& start, const std::string& end,
                               const std::string& flag, const std::string& kind, const std::string& serial) {
    try {
        const Reading reading = DetailReading(false, kind, start, end, flag);
        if (!Conclude(scheme, reading.code, RangeLogLine(reading.name, start, end, flag, reading.code), {.show = true}))
            return false;
        GravaDocumentosNaoFiscais(serial, scheme, "MF", "", "");
        return true;
    } catch (...) {
        return false;
    }
}

bool EmiteLeituraMemoriaFiscalSerial(std::span<const orb::fw::Variant> params, orb::fw::Variant& /*result*/) {
    const std::string scheme = TextAt(params, 0), start = TextAt(params, 1), end = TextAt(params, 2),
                      flag = TextAt(params, 3), kind = TextAt(params, 4), serial = TextAt(params, 9);
    try {
        const Reading reading = DetailReading(true, kind, start, end, flag);
        // Only collected: the file-output reading speaks through its own messages.
        if (!Conclude(scheme, reading.code, RangeLogLine(reading.name, start, end, flag, reading.code), {}))
            return false;
        const std::string folder = retornaPathBematech();
        if (folder == kIniNotFound) {
            orb::hostlib::Inform(scheme, CP("Arquivo de configuração da Bematech não encontrado (BEMAFI32.INI)."),
                                 DialogKind::Error);
            return false;
        }
        if (!KeepSignedCopy(scheme, folder, flag)) return false;
        GravaDocumentosNaoFiscais(serial, scheme, "MF", "", "");
        return true;
    } catch (...) {
        return false;
    }
}

bool GERA_MF(const std::string& /*unused*/, const std::string& fileName) {
    std::string name = fileName;
    const int code = Invoke(Bematech_FI_DownloadMF, name.data());
    ImpFisDebug("Bematech_FI_DownloadMF: " + fileName);
    return code == kDone;
}

}  // namespace Orb00100
