#pragma once
// The monthly debug log beside the host executable: "\impdebug" + MMYY + ".txt", one line per
// call ("<short date> <long time> - <text>", ended by CR LF on every platform, so the file reads
// the same wherever it was written), opened, appended and closed each time. A line that cannot
// be written is lost, never an error of the operation writing it: the first such loss is shown
// (collected on a self-service till), the next ones only after a line could be written again.
#include <string>
#include <string_view>

namespace Orb00100 {

void ImpFisDebug(std::string_view text);
// The file the next line goes to (for tests and the command-line host).
std::string DebugLogPath();

}  // namespace Orb00100
