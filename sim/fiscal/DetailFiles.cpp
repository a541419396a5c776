// The files the library makes from the printer's memories. Names without a folder are the
// output folder's. Return codes beyond the common ones: -2 an argument that does not read (a
// range, a kind, a key), -4 a file that cannot be read or written.
#include "fiscal/DetailFiles.h"
#include "common/DetailDownload.h"
#include "fiscal/Entry.h"
#include "fiscal/FiscalMemory.h"
#include "platform/Platform.h"

using namespace orb::sim;
using namespace orb::sim::fiscal;

namespace {

constexpr int kFileError = -4;
constexpr std::size_t kKeyDigits = 256;

bool IsKey(const char* key) {
    const std::string k = InText(key);
    return k.size() == kKeyDigits && k.find_first_not_of("0123456789ABCDEFabcdef") == std::string::npos;
}

// "1" dates, "2" COOs, as the detail-memory entries take them.
bool DownloadRange(const std::string& kind, Range& out) {
    const std::string k = Trim(kind);
    if (k != "1" && k != "2") return false;
    out = k == "1" ? Range::Dates : Range::Coo;
    return true;
}

// The computer's clock: the library names its files on the computer, not on the printer.
Moment ComputerNow() { return MomentFromSeconds(ComputerSeconds()); }

int WriteDailyRegister(Call& c, const std::string& origin, const std::string& date, const std::string* target) {
    Download d;
    const std::string ymd = YmdOf(date);
    if (ymd.empty()) return kBadArgument;
    if (!ReadDownloadFile(LibraryFile(origin), d)) return kFileError;
    const std::string name = Trim(c.s.id.serial) + "." + DayCode(std::stoi(ymd.substr(6, 2))) +
                             DayCode(std::stoi(ymd.substr(4, 2))) + DayCode(std::stoi(ymd.substr(2, 2)));
    const std::string file = target ? LibraryFile(*target) : LibraryFile(name);
    return WriteLines(file, TypeERecords(d, ymd, ymd, d.owner, Utf8ToCp1252(c.s.id.ownerAddress))) ? kOk : kFileError;
}

int SintegraData(Call& c) {
    const std::string first = YmdOf(c.Text(0)), last = YmdOf(c.Text(1));
    if (first.empty() || last.empty() || first > last) return kBadArgument;
    return WriteReturnFile({SintegraSummary(c.s, first, last)}) ? kOk : kFileError;
}

}  // namespace

// The register file of the memory chosen by the generation type (0 the fiscal memory, 1 the
// detail tape of the range, 2 the whole detail tape), named prefix ("MF", "MFD", "TDM") + serial
// + "_" + yyyymmdd + "_" + hhmmss + ".txt".
ORB_SIM_ENTRY(Bematech_FI_ArquivoMFD)
(char* originFile, char* start, char* end, char* rangeKind, char* user, int generationType, char* publicKey,
 char* privateKey, int singleFile) {
    // The keys are secrets of the certified software: the journal does not keep them.
    const bool keys = IsKey(publicKey) && IsKey(privateKey);
    return Run(__func__,
               {In(originFile), In(start), In(end), In(rangeKind), In(user), Int(generationType), In(nullptr),
                In(nullptr), Int(singleFile)},
               [keys](Call& c) {
                   const int type = c.Int(5);
                   if (!keys || type < 0 || type > 2) return kBadArgument;
                   const std::string kind = Trim(c.Text(3));
                   const Range range = type == 2     ? Range::All
                                       : kind == "D" ? Range::Dates
                                       : kind == "C" ? Range::Coo
                                                     : Range::All;
                   Download d;
                   std::string rangeLine;
                   if (!SelectDetail(c.s, range, c.Text(1), c.Text(2), d, rangeLine)) return kBadArgument;
                   if (type == 0) d.docs.clear();
                   const std::string first = range == Range::Dates ? YmdOf(c.Text(1)) : "00000000";
                   const std::string last = range == Range::Dates ? YmdOf(c.Text(2)) : "99999999";
                   const Moment now = ComputerNow();
                   const char* prefix = type == 0 ? "MF" : type == 1 ? "MFD" : "TDM";
                   const std::string name =
                       prefix + Trim(c.s.id.serial) + "_" + now.Ymd() + "_" + now.Hhmmss() + ".txt";
                   const auto records = TypeERecords(d, first, last, d.owner, Utf8ToCp1252(c.s.id.ownerAddress));
                   return WriteLines(LibraryFile(name), records) ? kOk : kFileError;
               });
}

ORB_SIM_ENTRY(Bematech_FI_DownloadMFD)(char* file, char* kind, char* start, char* end, char* user) {
    return Run(__func__, {In(file), In(kind), In(start), In(end), In(user)}, [](Call& c) {
        Range range;
        Download d;
        std::string rangeLine;
        if (Trim(c.Text(0)).empty() || !DownloadRange(c.Text(1), range) ||
            !SelectDetail(c.s, range, c.Text(2), c.Text(3), d, rangeLine))
            return kBadArgument;
        return orb::platform::WriteFile(LibraryFile(Trim(c.Text(0))), DownloadText(d)) ? kOk : kFileError;
    });
}

ORB_SIM_ENTRY(Bematech_FI_FormatoDadosMFD)
(char* originFile, char* destinationFile, char* format, char* kind, char* start, char* end, char* user) {
    return Run(__func__, {In(originFile), In(destinationFile), In(format), In(kind), In(start), In(end), In(user)},
               [](Call& c) {
                   Range range;
                   Download d, check;
                   std::string rangeLine;
                   if (Trim(c.Text(1)).empty() || !DownloadRange(c.Text(3), range) ||
                       !SelectDetail(c.s, range, c.Text(4), c.Text(5), check, rangeLine))
                       return kBadArgument;
                   if (!ReadDownloadFile(LibraryFile(Trim(c.Text(0))), d)) return kFileError;
                   return WriteLines(LibraryFile(Trim(c.Text(1))), MirrorLines(d, rangeLine)) ? kOk : kFileError;
               });
}

ORB_SIM_ENTRY(Bematech_FI_GeraRegistrosCAT52MFDEx)(char* originFile, char* date, char* destinationFile) {
    return Run(__func__, {In(originFile), In(date), In(destinationFile)}, [](Call& c) {
        const std::string target = Trim(c.Text(2));
        if (target.empty()) return kBadArgument;
        return WriteDailyRegister(c, Trim(c.Text(0)), c.Text(1), &target);
    });
}
ORB_SIM_ENTRY(Bematech_FI_GeraRegistrosCAT52MFD)(char* originFile, char* date) {
    return Run(__func__, {In(originFile), In(date)},
               [](Call& c) { return WriteDailyRegister(c, Trim(c.Text(0)), c.Text(1), nullptr); });
}

// The printer's own key for the files it signs: hexadecimal, the same for the life of the printer.
ORB_SIM_ENTRY(Bematech_FI_RetornaChavePublicaAssinaturaArquivos)(char* outKey) {
    return Run(__func__, {Area(outKey)}, [](Call& c) {
        static const char* kHex = "0123456789ABCDEF";
        std::string key;
        const std::string seed = c.s.id.serial + c.s.id.cnpj;
        for (std::size_t i = 0; key.size() < kKeyDigits; ++i) {
            const unsigned char ch = static_cast<unsigned char>(seed[i % seed.size()]) ^ static_cast<unsigned char>(i);
            key += kHex[ch >> 4];
            key += kHex[ch & 15];
        }
        c.Answer(0, key);
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_RelatorioSintegraMFD)
(int registers, char* file, char* month, char* year, char* companyName, char* address, char* number, char* complement,
 char* district, char* city, char* zipCode, char* phone, char* fax, char* contact) {
    return Run(__func__,
               {Int(registers), In(file), In(month), In(year), In(companyName), In(address), In(number), In(complement),
                In(district), In(city), In(zipCode), In(phone), In(fax), In(contact)},
               [](Call& c) {
                   const std::string month = Trim(c.Text(2)), year = Trim(c.Text(3));
                   if (Trim(c.Text(1)).empty() || month.size() != 2 || year.size() != 4 || !AllDigits(month) ||
                       !AllDigits(year) || month < "01" || month > "12")
                       return kBadArgument;
                   std::vector<std::string> id;
                   for (std::size_t i = 4; i < 14; ++i) id.push_back(c.Text(i));
                   return WriteLines(LibraryFile(Trim(c.Text(1))), SintegraRecords(c.s, month, year, id)) ? kOk
                                                                                                          : kFileError;
               });
}

ORB_SIM_ENTRY(Bematech_FI_GeraRegistrosSpedMFD)
(char* originFile, char* destinationFile, char* start, char* end, char* profile, char* cfop, char* incomeCode,
 char* situationA, char* situationB) {
    return Run(__func__,
               {In(originFile), In(destinationFile), In(start), In(end), In(profile), In(cfop), In(incomeCode),
                In(situationA), In(situationB)},
               [](Call& c) {
                   const std::string first = YmdOf(c.Text(2)), last = YmdOf(c.Text(3));
                   if (Trim(c.Text(1)).empty() || first.empty() || last.empty() || first > last) return kBadArgument;
                   return WriteLines(LibraryFile(Trim(c.Text(1))), SpedRecords(c.s, first, last, Trim(c.Text(5))))
                              ? kOk
                              : kFileError;
               });
}

// Both write the period's summary as the output folder's Retorno.txt.
ORB_SIM_ENTRY(Bematech_FI_DadosSintegra)(char* start, char* end) {
    return Run(__func__, {In(start), In(end)}, SintegraData);
}
ORB_SIM_ENTRY(Bematech_FI_DadosSintegraMFD)(char* start, char* end) {
    return Run(__func__, {In(start), In(end)}, SintegraData);
}
