#include "Demo.h"

#include <ostream>

namespace orb::cli {

// Placeholder until the demonstration lands: says so and fails.
int RunDemo(const HostFolders&, std::ostream&, std::ostream& err) {
    err << "orb demo: not available yet\n";
    return 1;
}

}  // namespace orb::cli
