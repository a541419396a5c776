#pragma once
// `orb demo`: a restaurant sale on the virtual printer, shown on the terminal.
#include <iosfwd>

#include "HostFolders.h"

namespace orb::cli {

// Runs the demonstration in the subfolder "demo" of the prepared host folder (its system folder
// "demo/system"), starting from a factory-fresh virtual printer; ORB_HOME and ORB_SYSTEM_DIR are
// put back afterwards. Answers 0 when the sale went through, 1 otherwise (the step and the reason
// on err). `program` is how the person started orb, for the replay command it suggests.
int RunDemo(const HostFolders& folders, std::ostream& out, std::ostream& err, const std::string& program = "orb");

// The demonstration's folders under folders.home, made and pointed at (as PrepareHostFolders
// does), after removing a previous run's printer files and debug logs. Raises
// std::runtime_error when they cannot be made or cleared.
HostFolders PrepareDemoFolders(const HostFolders& folders);

}  // namespace orb::cli
