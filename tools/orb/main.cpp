// orb: the command-line host of the driver module.
#include <iostream>

#include "Cli.h"
#include "platform/Platform.h"

namespace {

// An installed orb keeps its virtual printer in lib/orb00100/virtual-printer beside bin/. The
// folder is named through ORB_LIBRARY_PATH rather than left to the program's run path, which a
// library loaded through an interposer (a sanitizer's, a profiler's) does not see. A path the
// person set wins.
void FindInstalledVirtualPrinter() {
    if (!orb::platform::GetEnv("ORB_LIBRARY_PATH").empty()) return;
    const std::string folder =
        orb::platform::JoinPath(orb::platform::ExecutableDirectory(), "../lib/orb00100/virtual-printer");
    if (orb::platform::DirectoryExists(folder)) orb::platform::SetEnv("ORB_LIBRARY_PATH", folder);
}

}  // namespace

int main(int argc, char** argv) {
    FindInstalledVirtualPrinter();
    return orb::cli::RunCli(argc, argv, std::cout, std::cerr);
}
