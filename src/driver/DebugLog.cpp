#include "driver/DebugLog.h"

#include "framework/DateFormat.h"
#include "framework/DateTime.h"
#include "framework/Exceptions.h"
#include "framework/FormatSettings.h"
#include "platform/Platform.h"

namespace Orb00100 {

namespace {

std::string PathFor(orb::fw::TDateTime moment) {
    return orb::platform::NativePath(orb::platform::HostDirectory() + "\\impdebug" +
                                     orb::fw::FormatDateTime("mmyy", moment) + ".txt");
}

// A line's stamp and its file change once a second at the most, while a sale writes dozens of
// lines a second: both are kept until the second, the settings or the host folder change.
struct Stamp {
    orb::fw::TDateTime day{-1};
    int hour = -1, minute = -1, second = -1;
    orb::fw::FormatSettings settings;
    std::string home;
    std::string text, path;

    void Update(orb::fw::TDateTime now) {
        const orb::fw::TDateTime today = orb::fw::DateOf(now);
        const orb::fw::TimeParts time = orb::fw::DecodeTime(now);
        std::string folder = orb::platform::GetEnv("ORB_HOME");
        // Formats that show milliseconds change within the second.
        const orb::fw::FormatSettings& current = orb::fw::Settings();
        const bool showsMilliseconds =
            (current.LongTimeFormat + current.ShortTimeFormat + current.ShortDateFormat).find_first_of("zZ") !=
            std::string::npos;
        if (!showsMilliseconds && today == day && time.hour == hour && time.minute == minute && time.second == second &&
            folder == home && current == settings)
            return;
        day = today;
        hour = time.hour;
        minute = time.minute;
        second = time.second;
        settings = current;
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
    if (!orb::platform::AppendToFile(stamp.path, line))
        throw orb::fw::EInOutError("I/O error " + std::to_string(orb::platform::LastError()) +
                                   ": cannot write the debug log " + stamp.path);
}

}  // namespace Orb00100
