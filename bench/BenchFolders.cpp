#include "BenchFolders.h"

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>

#include "platform/Platform.h"

namespace orb::bench {

namespace fs = std::filesystem;

BenchFolders::BenchFolders() {
    std::string pattern = (fs::temp_directory_path() / "orb-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
    root_ = pattern;
    home_ = (fs::path(root_) / "home").string();
    system_ = (fs::path(root_) / "system").string();
    fs::create_directories(home_);
    fs::create_directories(system_);
    if (!platform::SetEnv("ORB_HOME", home_) || !platform::SetEnv("ORB_SYSTEM_DIR", system_))
        throw std::runtime_error("cannot set ORB_HOME and ORB_SYSTEM_DIR");
    const std::string ini = "[Sistema]\r\nPorta=COM1\r\nPath=" + system_ + "/\r\nImpressora=1\r\nSimState=:memory:\r\n";
    if (!platform::WriteFile(platform::JoinPath(system_, "Bemafi32.ini"), ini))
        throw std::runtime_error("cannot write Bemafi32.ini in " + system_);
}

BenchFolders::~BenchFolders() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

}  // namespace orb::bench
