// orb: the command-line host of the driver module.
#include <filesystem>
#include <iostream>
#include <system_error>

#include "Cli.h"
#include "platform/Platform.h"

namespace {

// An installed orb keeps its virtual printer in lib/orb00100/virtual-printer beside bin/. The
// folder is named through ORB_LIBRARY_PATH rather than left to the program's run path, which a
// library loaded through an interposer (a sanitizer's, a profiler's) does not see. A path the
// person set wins.
void FindInstalledVirtualPrinter() {
    if (!orb::platform::GetEnv("ORB_LIBRARY_PATH").empty()) return;
    std::error_code ignored;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ignored);
    if (program.empty()) return;
    const std::filesystem::path folder = program.parent_path() / ".." / "lib" / "orb00100" / "virtual-printer";
    if (std::filesystem::is_directory(folder, ignored))
        orb::platform::SetEnv("ORB_LIBRARY_PATH", folder.lexically_normal().string());
}

}  // namespace

int main(int argc, char** argv) {
    FindInstalledVirtualPrinter();
    return orb::cli::RunCli(argc, argv, std::cout, std::cerr);
}
