#include "framework/Text.h"
#include "platform/Platform.h"
#include "readings/Readings.h"

namespace Orb00100 {

std::string retornaPathBematech() {
    std::string system = orb::platform::SystemDirectory();
    if (system.empty() || system.back() != '\\') system += '\\';
    const std::string ini = system + "Bemafi32.ini";
    if (!orb::platform::FileExists(ini)) return kIniNotFound;
    std::string contents, value;
    orb::platform::ReadFile(ini, contents);
    for (std::string line : orb::fw::SplitString(contents, '\n')) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto eq = line.find('=');
        // The key as written, only its letter case ignored; sections do not matter.
        if (eq != std::string::npos && orb::fw::SameText(line.substr(0, eq), "Path")) {
            value = line.substr(eq + 1);
            break;
        }
    }
    if (value.empty() || value.back() != '\\') value += '\\';
    return value;
}

}  // namespace Orb00100
