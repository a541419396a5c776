#pragma once
// `orb demo`: a restaurant sale on the virtual printer, shown on the terminal.
#include <iosfwd>

#include "HostFolders.h"

namespace orb::cli {

// Runs the demonstration in the prepared folders; answers the exit status.
int RunDemo(const HostFolders& folders, std::ostream& out, std::ostream& err);

}  // namespace orb::cli
