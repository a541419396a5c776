#include "driver/DebugLog.h"

#include "framework/DateFormat.h"
#include "framework/DateTime.h"
#include "framework/Exceptions.h"
#include "platform/Platform.h"

namespace Orb00100 {

namespace {

std::string PathFor(orb::fw::TDateTime moment) {
    return orb::platform::NativePath(orb::platform::HostDirectory() + "\\impdebug" +
                                     orb::fw::FormatDateTime("mmyy", moment) + ".txt");
}

}  // namespace

std::string DebugLogPath() { return PathFor(orb::fw::Now()); }

void ImpFisDebug(std::string_view text) {
    // One moment for both the file name and the line, so a line written at midnight at the
    // turn of a month goes to the file its own date names.
    const orb::fw::TDateTime now = orb::fw::Now();
    std::string line = orb::fw::DateToStr(now) + " " + orb::fw::TimeToStr(now);
    line += " - ";
    line += text;
    line += "\r\n";
    const std::string path = PathFor(now);
    if (!orb::platform::AppendToFile(path, line))
        throw orb::fw::EInOutError("I/O error " + std::to_string(orb::platform::LastError()) +
                                   ": cannot write the debug log " + path);
}

}  // namespace Orb00100
