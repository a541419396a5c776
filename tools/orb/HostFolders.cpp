#include "HostFolders.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "platform/Platform.h"

namespace orb::cli {

namespace {

// Set once, before the module or the printer library looks at it.
void SetEnvironment(const char* name, const std::string& value) {
    if (!platform::SetEnv(name, value)) throw std::runtime_error(std::string("cannot set ") + name);
}

std::string Absolute(const std::string& path) {
    return std::filesystem::absolute(std::filesystem::path(path)).lexically_normal().string();
}

std::string WithoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    return path;
}

void MakeFolder(const std::string& folder) {
    if (!platform::DirectoryExists(folder) && !platform::ForceDirectories(folder))
        throw std::runtime_error("cannot create the folder " + folder + ": " + platform::LastErrorMessage());
}

}  // namespace

std::string DefaultBemafiIni(const std::string& systemFolder) {
    // Impressora=1 is the value the module repairs to, so a fresh folder needs no repair; Path is
    // where the printer library writes the files it generates; SimState is the virtual printer's
    // state file (":memory:" keeps it in the process).
    return "[Sistema]\r\n"
           "Porta=COM1\r\n"
           "Path=" +
           systemFolder +
           "\r\n"
           "Impressora=1\r\n"
           "SimState=bemasim.db\r\n";
}

HostFolders PrepareHostFolders(const std::string& home, const std::string& system) {
    HostFolders folders;
    folders.home = WithoutTrailingSeparator(Absolute(home.empty() ? std::string("orb-home") : home));
    folders.system =
        WithoutTrailingSeparator(system.empty() ? platform::JoinPath(folders.home, "system") : Absolute(system));
    MakeFolder(folders.home);
    MakeFolder(folders.system);
    SetEnvironment("ORB_HOME", folders.home);
    SetEnvironment("ORB_SYSTEM_DIR", folders.system);
    const std::string ini = platform::JoinPath(folders.system, "Bemafi32.ini");
    if (!platform::FileExists(ini) && !platform::WriteFile(ini, DefaultBemafiIni(folders.system)))
        throw std::runtime_error("cannot write " + ini);
    return folders;
}

}  // namespace orb::cli
