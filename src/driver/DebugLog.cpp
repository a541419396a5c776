#include "driver/DebugLog.h"

#include "driver/Globals.h"
#include "external/hostlib/Dialogs.h"
#include "framework/Cp1252.h"
#include "framework/DateFormat.h"
#include "framework/DateTime.h"
#include "framework/FormatSettings.h"
#include "platform/Platform.h"

namespace Orb00100 {

namespace {

std::string PathFor(orb::fw::TDateTime moment) {
    return orb::platform::NativePath(orb::platform::HostDirectory() + "\\impdebug" +
                                     orb::fw::FormatDateTime("mmyy", moment) + ".txt");
}

// Whether a format's text depends on nothing but the second it shows and the separators: no
// milliseconds, no am/pm, no other format inside it, no month or day names, no quoted text.
bool SecondsOnly(std::string_view format) {
    if (format.find_first_of("zZaAtTcC\"'") != std::string_view::npos) return false;
    int run = 0;
    char previous = 0;
    for (const char c : format) {
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
        run = lower == previous ? run + 1 : 1;
        previous = lower;
        if ((lower == 'm' || lower == 'd') && run >= 3) return false;
    }
    return true;
}

// A line's stamp and its file change once a second at the most, while a sale writes dozens of
// lines a second: both are kept until the second, the date and time formats or the host folder
// change.
struct Stamp {
    orb::fw::TDateTime day{-1};
    int hour = -1, minute = -1, second = -1;
    std::string dateFormat, timeFormat;
    char dateSeparator = 0, timeSeparator = 0;
    bool secondsOnly = false;  // both formats show no more than the second
    std::string home;
    std::string text, path;

    bool Holds(orb::fw::TDateTime today, const orb::fw::TimeParts& time, const orb::fw::FormatSettings& settings,
               const std::string& folder) const {
        return today == day && time.hour == hour && time.minute == minute && time.second == second &&
               settings.ShortDateFormat == dateFormat && settings.LongTimeFormat == timeFormat &&
               settings.DateSeparator == dateSeparator && settings.TimeSeparator == timeSeparator && folder == home &&
               secondsOnly;
    }

    void Update(orb::fw::TDateTime now) {
        const orb::fw::TDateTime today = orb::fw::DateOf(now);
        const orb::fw::TimeParts time = orb::fw::DecodeTime(now);
        std::string folder = orb::platform::GetEnv("ORB_HOME");
        const orb::fw::FormatSettings& settings = orb::fw::Settings();
        if (Holds(today, time, settings, folder)) return;
        day = today;
        hour = time.hour;
        minute = time.minute;
        second = time.second;
        dateFormat = settings.ShortDateFormat;
        timeFormat = settings.LongTimeFormat;
        dateSeparator = settings.DateSeparator;
        timeSeparator = settings.TimeSeparator;
        secondsOnly = SecondsOnly(dateFormat) && SecondsOnly(timeFormat);
        home = std::move(folder);
        text = orb::fw::DateToStr(now) + " " + orb::fw::TimeToStr(now) + " - ";
        path = PathFor(now);
    }
};

}  // namespace

std::string DebugLogPath() { return PathFor(orb::fw::Now()); }

void ImpFisDebug(std::string_view text) {
    // One moment for both the file name and the line, so a line written at midnight at the
    // turn of a month goes to the file its own date names.
    thread_local Stamp stamp;
    stamp.Update(orb::fw::Now());
    std::string line;
    line.reserve(stamp.text.size() + text.size() + 2);
    line += stamp.text;
    line += text;
    line += "\r\n";
    static bool failureTold = false;
    if (orb::platform::AppendToFile(stamp.path, line)) {
        failureTold = false;
        return;
    }
    // A line that cannot be written must not change what the module tells the host: the printer
    // did what it did, and a host told "failed" for a step the printer made would make it twice.
    // The failure itself is told once, until the log can be written again.
    if (failureTold) return;
    failureTold = true;
    const std::string told =
        CP("Não foi possível gravar o log de depuração ") + stamp.path + ": " + orb::platform::LastErrorMessage();
    if (boNUtilTaa)
        orb::hostlib::Inform("", told, orb::hostlib::DialogKind::Error);
    else
        stMensagemTaa += " " + told;
}

}  // namespace Orb00100
