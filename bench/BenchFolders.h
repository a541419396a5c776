#pragma once
// The host folder and the system folder a benchmark run works in: fresh temporary folders,
// named to the module through ORB_HOME and ORB_SYSTEM_DIR, removed again at the end.
#include <string>

namespace orb::bench {

class BenchFolders {
public:
    // The system folder gets a Bemafi32.ini that keeps the virtual printer's state in memory.
    BenchFolders();
    ~BenchFolders();
    BenchFolders(const BenchFolders&) = delete;
    BenchFolders& operator=(const BenchFolders&) = delete;

    const std::string& Home() const { return home_; }
    const std::string& System() const { return system_; }

private:
    std::string root_, home_, system_;
};

}  // namespace orb::bench
