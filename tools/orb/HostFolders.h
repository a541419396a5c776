#pragma once
// The host folder (where the module writes its debug log and finds the recovery files) and the
// system folder (where the printer library's Bemafi32.ini lives), as the command-line host sets
// them up before the module runs.
#include <string>

namespace orb::cli {

struct HostFolders {
    std::string home;    // absolute
    std::string system;  // absolute
};

// Makes both folders absolute, creates them, points ORB_HOME and ORB_SYSTEM_DIR at them and
// writes a default Bemafi32.ini into the system folder when there is none. An empty home means
// ./orb-home; an empty system folder means <home>/system. Raises std::runtime_error when a
// folder or the file cannot be made.
HostFolders PrepareHostFolders(const std::string& home, const std::string& system);

// The Bemafi32.ini written into a fresh system folder.
std::string DefaultBemafiIni(const std::string& systemFolder);

}  // namespace orb::cli
