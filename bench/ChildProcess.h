#pragma once
// This program run again in a process of its own: the module loads the printer library by its
// one file name, so a run against another library needs another process.
#include <string>
#include <vector>

namespace orb::bench {

// Runs this executable with args (standard streams shared) and waits for it. Returns its exit
// code; raises std::runtime_error when it cannot be started or does not exit normally.
int RunSelf(const std::vector<std::string>& args);

// Runs program with args, its standard output and error discarded, and waits for it; the exit
// code, or std::runtime_error as RunSelf.
int RunQuietly(const std::string& program, const std::vector<std::string>& args);

}  // namespace orb::bench
