#include "connection/PrinterData.h"

#include <exception>

#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "driver/Globals.h"
#include "driver/Params.h"
#include "driver/PrinterCall.h"
#include "driver/StatusAnalysis.h"
#include "external/hostlib/Dialogs.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
#include "framework/DateFormat.h"
#include "framework/Exceptions.h"
#include "framework/NumberFormat.h"
#include "framework/StringList.h"
#include "framework/Text.h"
#include "platform/Platform.h"
#include "queries/Queries.h"

namespace Orb00100 {

using orb::fw::Copy;
using orb::hostlib::EmptyString;

namespace {

// The maker's library must run with Impressora=1. A 0 is set right and the host asked to close,
// since the library reads its configuration only when it starts.
void RepairBemafi32Ini(const std::string& scheme) {
    const std::string path = Bemafi32IniPath();
    if (!orb::platform::FileExists(path)) return;
    orb::fw::StringList ini;
    ini.LoadFromFile(path);
    if (ini.Value("Impressora") != "0") return;
    orb::hostlib::Inform(scheme, DataModule().msgPadrao.Msg("Bemafi_Imp"), orb::hostlib::DialogKind::Notice);
    ini.SetValue("Impressora", "1");
    ini.SaveToFile(path);
    orb::hostlib::TerminateApplication();
}

// The hours and minutes of a "[-]h:nn:ss" difference as the number hhnn (1 h 05 min -> 105).
// Hours of a day or more stay in the number, so a clock a day off is never within the limit.
int HoursMinutes(const std::string& difference) {
    std::string text = difference;
    if (!text.empty() && text[0] == '-') text.erase(0, 1);
    const auto parts = orb::fw::SplitString(text, ':');
    if (parts.size() < 2) throw orb::fw::EConvertError("'" + difference + "' is not a valid time");
    const int hours = orb::fw::StrToInt(parts[0]);
    const int minutes = orb::fw::StrToInt(parts[1]);
    if (hours < 0 || minutes < 0 || minutes > 59)
        throw orb::fw::EConvertError("'" + difference + "' is not a valid time");
    return hours * 100 + minutes;
}

}  // namespace

std::string Bemafi32IniPath() { return orb::platform::JoinPath(orb::platform::SystemDirectory(), "Bemafi32.ini"); }

bool Carrega_Dados_Impressora(orb::fw::Variant& params) {
    std::string scheme, dataAtu, ecf, red, serie, dataImp;
    GuardedIntake("Carrega_Dados_Impressora", [&] {
        scheme = ParamText(params, "ESQUEMA");
        dataAtu = ParamText(params, "DATAATUIMP");
        ecf = ParamText(params, "ECFIMP");
        red = ParamText(params, "REDIMP");
        serie = ParamText(params, "SERIEIMP");
        dataImp = ParamText(params, "DATAIMP");
    });

    RepairBemafi32Ini(scheme);

    bool ok = true;
    std::string movement;
    Query(scheme, {}, ORB_ENTRY(Bematech_FI_DataMovimento), 6, movement);
    if (movement == "000000") movement = orb::fw::FormatDateTime("ddmmyy", orb::fw::Date());

    // Each answer is asked only while the printer gave the one before it.
    std::string till = ecf;
    if (EmptyString(movement)) {
        ok = false;
    } else {
        AnswerArea dateArea(6), timeArea(6);
        const int rc = Invoke(Bematech_FI_DataHoraImpressora, dateArea.data(), timeArea.data());
        const std::string date = dateArea.Text(), time = timeArea.Text();
        dataAtu = date + Copy(time, 1, 6);
        Conclude(scheme, rc, AnswerLabel("Bematech_FI_DataHoraImpressora") + date + time);

        if (EmptyString(dataAtu)) {
            ok = false;
        } else {
            Query(scheme, {}, ORB_ENTRY(Bematech_FI_NumeroCaixa), 4, till);

            if (EmptyString(till)) {
                ok = false;
            } else {
                Query(scheme, {}, "Bematech_FI_NumeroSerieMFD : ", Bematech_FI_NumeroSerieMFD, 20, serie);
            }
        }
    }

    ReplaceParams(params, {{"DATAATUIMP", dataAtu},
                           {"ECFIMP", Copy(till, 2, 3)},
                           {"REDIMP", red},
                           {"SERIEIMP", serie},
                           {"DATAIMP", movement}});
    return ok;
}

bool VerificaData(const std::string& scheme, orb::fw::TDateTime& fiscalDate, const std::string& printerDateTime,
                  const std::string& movementDate, bool readPrinter) {
    EnsureDataModule();
    bool ok = true;
    std::string printer = printerDateTime;
    if (readPrinter && !Data_Imp(scheme, printer)) {
        boClieUtil = false;
        return false;
    }

    try {
        if (!printer.empty()) {
            std::string text = Copy(printer, 1, 2) + "/" + Copy(printer, 3, 2) + "/" + Copy(printer, 5, 2) + " " +
                               Copy(printer, 7, 2) + ":" + Copy(printer, 9, 2);
            // The seconds, where the printer gave them, keep a clock 16 minutes ahead from
            // passing as 15 minutes and some seconds.
            const std::string seconds = Copy(printer, 11, 2);
            if (seconds.size() == 2 && !EmptyString(seconds)) text += ":" + seconds;
            const orb::fw::TDateTime printerClock = orb::fw::StrToDateTime(text);
            const std::string difference = orb::hostlib::SubtDataHoraZep(printerClock, orb::fw::Now());
            if (HoursMinutes(difference) > 15) {
                if (boNUtilTaa || !boClieUtil)
                    orb::hostlib::Inform(scheme, DataModule().msgPadrao.Msg("DataDif"),
                                         orb::hostlib::DialogKind::Error);
                boClieUtil = false;
                ok = false;
            }
        }
        if (!movementDate.empty()) {
            const std::string year = orb::fw::FormatDateTime("yyyy", orb::fw::Date());
            fiscalDate = orb::fw::EncodeDate(orb::fw::StrToInt(Copy(year, 1, 2) + Copy(movementDate, 5, 2)),
                                             orb::fw::StrToInt(Copy(movementDate, 3, 2)),
                                             orb::fw::StrToInt(Copy(movementDate, 1, 2)));
        } else {
            fiscalDate = orb::fw::Date();
        }
    } catch (const orb::fw::Exception&) {
        fiscalDate = orb::fw::Date();
    }
    return ok;
}

std::string Codigo_Nacional_ECF(int model, const std::string& firmwareVersion) {
    struct Code {
        const char* version;
        const char* code;
    };
    auto lookup = [&](std::initializer_list<Code> table, const char* other) -> std::string {
        for (const Code& c : table)
            if (firmwareVersion == c.version) return c.code;
        return other;
    };
    switch (model) {
        case 14:
            return lookup({{"010000", "031001"}, {"010101", "031002"}, {"010202", "031003"}, {"010302", "031004"}},
                          "031004");
        case 18:
            return lookup({{"010000", "030801"},
                           {"010001", "030802"},
                           {"010101", "030803"},
                           {"010202", "030804"},
                           {"010302", "030805"},
                           {"010303", "030806"}},
                          "030806");
        case 19:
            return lookup({{"010000", "030901"}, {"010100", "030902"}}, "030902");
        case 27:
        case 34: {
            // These models report their version themselves; the one passed is not trusted.
            std::string version;
            if (!Versao_Software_Basico("", version)) return "032102";
            return version == "010002" ? "032102" : "032101";
        }
        default:
            return "000000";
    }
}

void DefineParametrosImpressora(unsigned char& columns, std::string& lineEnd, std::string& controlString,
                                const std::string& model) {
    const std::string crlf = "\r\n", lf = "\n", esc = "\x1b";
    if (model == "1") {
        columns = 36;
        lineEnd = crlf;
        controlString = esc + "w";
    } else if (model == "2") {
        columns = 42;
        lineEnd = lf;
        controlString = esc + "w";
    } else if (model == "5" || model == "6") {
        columns = 42;
        lineEnd = lf;
        controlString = esc + "m";
    } else if (model == "7") {
        columns = 40;
        lineEnd = lf;
        controlString = esc + "w";
    } else {
        columns = 48;
        lineEnd = crlf;
        controlString = esc + "w";
    }
}

}  // namespace Orb00100
