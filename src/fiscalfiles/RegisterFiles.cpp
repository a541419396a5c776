#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "driver/PrinterCall.h"
#include "external/vendor/EntryPoints.h"
#include "fiscalfiles/FilePlaces.h"
#include "fiscalfiles/FiscalFiles.h"
#include "fiscalfiles/Generators.h"
#include "framework/Cp1252.h"
#include "framework/DateFormat.h"
#include "framework/Exceptions.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "platform/Platform.h"
#include "readings/Readings.h"

namespace Orb00100 {

namespace {

using orb::fw::FormatDateTime;

constexpr int kDone = 1;
constexpr int kSerialWidth = 20;

// A failed step of a generation: its text ends the operation.
[[noreturn]] void Fail(const std::string& what, int code) {
    throw orb::fw::Exception(what + " (retorno " + std::to_string(code) + ")");
}

// The work files go, whatever way the generation ends.
struct WorkFiles {
    std::vector<std::string> names;
    ~WorkFiles() {
        for (const auto& name : names) orb::platform::DeleteFile(name);
    }
};

// The first and last day of the documents, as the mirror of the counter range shows them.
void MirrorDays(const std::string& mirror, const std::string& compact, std::string& first, std::string& last) {
    std::string text, kept;
    if (!orb::platform::ReadFile(mirror, text)) Fail(CP("Espelho da MFD não gerado"), 0);
    orb::fw::StringList lines;
    for (std::string line : orb::fw::SplitString(text, '\n')) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        kept += line + "\r\n";
        lines.Add(line);
    }
    orb::platform::WriteFile(compact, kept);
    if (lines.Count() < 9) Fail(CP("Nenhum documento na faixa de COO"), 0);
    first = orb::fw::Copy(lines[7], 1, 10);
    last = orb::fw::Copy(lines[lines.Count() - 2], 20, 10);
}

int GenerateTypeE(std::string mfd, std::string target, std::string first, std::string last, std::string company,
                  std::string address) {
    std::string kind = "2";
    return Invoke(Bematech_GeraRegistrosTipoE, mfd.data(), target.data(), first.data(), last.data(), company.data(),
                  address.data(), nullptr, kind.data(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                  nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
}

int Download(std::string file, std::string kind, std::string start, std::string end) {
    std::string user = "1";
    return Invoke(Bematech_FI_DownloadMFD, file.data(), kind.data(), start.data(), end.data(), user.data());
}

// Named after the moment; a file of the same second is never written over: the next second's name.
std::string UnusedName() {
    auto moment = orb::fw::Now();
    for (;;) {
        const std::string name = MenuFile("AC17-04" + FormatDateTime("yyyymmddhhnnss", moment) + ".txt");
        if (!orb::platform::FileExists(name)) return name;
        moment = orb::fw::TDateTime(moment.value + 1.0 / 86400.0);
    }
}

bool Made(int code, const std::string& file) { return code == kDone && orb::platform::FileExists(file); }

}  // namespace

std::string geraRegistroTipoE(const std::string& start, const std::string& end, const std::string& rangeKind,
                              const std::string& companyName, const std::string& address) {
    try {
        const std::string target = UnusedName();
        WorkFiles work;
        int code = 0;
        if (rangeKind == "1") {
            const std::string mfd = RootWorkFile("Download.MFD");
            const std::string mirror = WorkFile("Espelho.TXT"), compact = WorkFile("EspelhoTMP.TXT");
            work.names = {mfd, mirror, compact};
            code = Download(mfd, "2", start, end);
            if (code != kDone) Fail(CP("Erro ao realizar download da memória MFD."), code);
            BindMfd2Generators();
            std::string m = mfd, t = mirror;
            code =
                Invoke(Bematech_GeraTxtPorCOO, m.data(), t.data(), 1, orb::fw::StrToInt(start), orb::fw::StrToInt(end));
            if (code != kDone) Fail(CP("Erro ao gerar o espelho da MFD"), code);
            std::string first, last;
            MirrorDays(mirror, compact, first, last);
            code = GenerateTypeE(mfd, target, first, last, companyName, address);
        } else {
            const std::string mfd = WorkFile("Download.MFD");
            work.names = {mfd};
            code = Download(mfd, "1", start, end);
            if (code != kDone) Fail(CP("Erro ao realizar download da memória MFD."), code);
            BindMfd2Generators();
            code = GenerateTypeE(mfd, target, start, end, companyName, address);
        }
        if (!Made(code, target)) Fail(CP("Arquivo AC17-04 não gerado"), code);
        return target;
    } catch (const std::exception& e) {
        return "ERRO_" + std::string(e.what());
    }
}

namespace {

struct CatRequest {
    std::string flag, serial, company, address, folder;
    orb::fw::TDateTime first, last;
    int printerType = 0;
};

std::string DayText(orb::fw::TDateTime day) { return FormatDateTime("ddmmyyyy", day); }

std::string Quoted(const std::string& argument) { return argument.empty() ? "''" : argument; }

// Each day's type-E sales file, signed. A day whose file was not made is logged and makes the
// generation fail; the files made stay in the list.
bool SalesFiles(const CatRequest& r, orb::fw::StringList& files) {
    const std::string mfd = WorkFile("Download.MFD");
    WorkFiles work{{mfd}};
    ImpFisDebug("Bematech_FI_DownloadMFD: " + mfd + " - 1 - " + DayText(r.first) + " - " + DayText(r.last) + " - 1");
    const int code = Download(mfd, "1", DayText(r.first), DayText(r.last));
    ImpFisDebug(AnswerLabel("Bematech_FI_DownloadMFD") + std::to_string(code));
    if (code != kDone) return false;
    BindMfd2Generators();
    bool all = true;
    for (auto day = r.first; day <= r.last; day = orb::fw::IncDay(day)) {
        const std::string d = DayText(day);
        const std::string file = r.folder + r.serial + "_" + d + "_" + d + ".txt";
        ImpFisDebug("Bematech_GeraRegistrosTipoE: " + mfd + " - " + file + " - " + d + " - " + d + " - " + r.company +
                    " - " + r.address + " - " + Quoted("") + " - 2");
        const int made = GenerateTypeE(mfd, file, d, d, r.company, r.address);
        ImpFisDebug("Bematech_GeraRegistrosTipoE");
        ImpFisDebug("geraEad: " + file);
        if (!Made(made, file) || !SignInside(file)) {
            ImpFisDebug(CP("Arquivo não gerado: ") + file);
            all = false;
            continue;
        }
        files.Add(orb::fw::Trim(file));
    }
    return all;
}

// The daily files of the generic route, from one download of the whole range.
bool DailyFiles(const CatRequest& r, orb::fw::StringList& files) {
    const std::string mfd = r.folder + "Download.MFD";
    ImpFisDebug("stNomeArquivo := ' '");
    ImpFisDebug("for inCount := 1 to 512 do begin");
    ImpFisDebug("stNomeArquivo := Download.MFD");
    ImpFisDebug("dtAuxGeraCat := " + orb::fw::DateToStr(r.first));
    ImpFisDebug("Bematech_FI_DownloadMFD: " + mfd + " - 1 - " + DayText(r.first) + " - " + DayText(r.last) + " - 1");
    const int code = Download(mfd, "1", DayText(r.first), DayText(r.last));
    if (code != kDone) return false;
    bool all = true;
    if (r.printerType == 34) {
        AnswerArea key(265);
        Invoke(Bematech_FI_RetornaChavePublicaAssinaturaArquivos, key.data());
        BindMfd3Generator();
        for (auto day = r.first; day <= r.last; day = orb::fw::IncDay(day)) {
            std::string source = mfd, d = DayText(day), e = d, kind = "TDM", publicKey = key.Text();
            std::string file = r.folder + r.serial + "_" + d + ".txt";
            const int made = Invoke(Bematech_RegistroTipoEMFD3, source.data(), nullptr, file.data(), d.data(), e.data(),
                                    kind.data(), publicKey.data());
            ImpFisDebug("Bematech_RegistroTipoEMFD3");
            if (Made(made, file))
                files.Add(orb::fw::Trim(file));
            else
                all = false;
        }
        return all;
    }
    for (auto day = r.first; day <= r.last; day = orb::fw::IncDay(day)) {
        std::string source = mfd, date = orb::fw::DateToStr(day);
        const int made = Invoke(Bematech_FI_GeraRegistrosCAT52MFD, source.data(), date.data());
        const auto number = [&](int at) { return orb::fw::StrToIntDef(orb::fw::Copy(date, at, 2), -1); };
        const std::string mask = r.folder + "*." + DayCode(number(1)) + DayCode(number(4)) + DayCode(number(9));
        const std::string found = made == kDone ? orb::platform::FindFirst(mask) : std::string();
        if (!found.empty()) files.Add(orb::fw::Trim(r.folder + found.substr(found.find_last_of("/\\") + 1)));
        ImpFisDebug("Arquivo Gerado: " + orb::fw::Trim(found));
        if (found.empty()) all = false;
    }
    return all;
}

}  // namespace

bool GeraCatGenerica(std::span<const orb::fw::Variant> params, orb::fw::StringList*& files) {
    TdtmBematech100& dm = EnsureDataModule();
    // The list is the module's, as every object an operation hands back, and holds the files of
    // the last call until the next one: a caller never has to free it.
    static orb::fw::StringList generated;
    generated.Clear();
    files = &generated;
    ImpFisDebug("------------------------");
    ImpFisDebug("GeraCatGenerica - Inicio");
    bool result = false;
    try {
        auto& table = dm.cdsParametros;
        table.SetFiltered(false);
        table.SetFilter("");
        table.SetIndexFieldNames("");
        table.SetData(At(params, 0).AsDataPacket());
        CatRequest r;
        r.flag = table.FieldByName("IDGERAARQVNDRIO").AsString();
        r.serial = table.FieldByName("NRSERIEECF").AsString();
        r.company = table.FieldByName("NMRAZSOCFILI").AsString();
        r.address = table.FieldByName("DSENDEFILI").AsString();
        r.first = orb::fw::DateOf(orb::fw::StrToDate(TextAt(params, 1)));
        r.last = orb::fw::DateOf(orb::fw::StrToDate(TextAt(params, 2)));
        r.printerType = orb::fw::StrToInt(TextAt(params, 4));
        if (r.serial.empty()) {
            AnswerArea serial(21);
            Invoke(Bematech_FI_NumeroSerieMFD, serial.data());
            r.serial = serial.Text();
        }
        r.serial = orb::fw::Copy(r.serial, 1, kSerialWidth);
        r.folder = retornaPathBematech();
        ImpFisDebug("stGeraCatRio: " + r.flag);
        if (r.folder == kIniNotFound)
            throw orb::fw::Exception(CP("Arquivo de configuração da Bematech não encontrado (BEMAFI32.INI)."));
        // A range that runs backwards has no day to generate: nothing is downloaded.
        result = r.first > r.last || (orb::fw::SameText(r.flag, "S") ? SalesFiles(r, *files) : DailyFiles(r, *files));
        if (result) ImpFisDebug("result := true");
    } catch (const std::exception&) {
        ImpFisDebug("GeraCatGenerica - Except");
        result = false;
    }
    ImpFisDebug("GeraCatGenerica - Final");
    ImpFisDebug("------------------------");
    return result;
}

}  // namespace Orb00100
