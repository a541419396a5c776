#pragma once
// The convenience verbs: what the printer printed, what the module logged, what the printer
// holds. Each answers the exit status (0 shown, 1 nothing to show or the printer unreachable) and
// expects the host folders to be prepared.
#include <iosfwd>

#include "Terminal.h"

namespace orb::cli {

// The paper printed since the printer was reset or the roll last cleared.
int ShowRoll(bool clear, TerminalCharset charset, std::ostream& out, std::ostream& err);
// The module's debug log of this month, from the host folder.
int ShowLog(TerminalCharset charset, std::ostream& out, std::ostream& err);
// The printer's whole state as indented JSON.
int ShowState(std::ostream& out, std::ostream& err);

}  // namespace orb::cli
