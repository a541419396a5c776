#pragma once
// The include rules of the source tree. The module's folders form layers, bottom up: platform,
// framework, external (hostlib, vendor), driver, the subsystems, exports, bridge. A folder
// includes its own headers, lower layers and the public include/ folder; subsystems (and the two
// external folders) may include each other as long as no circle forms. sim/ and tools/ include
// only include/, src/platform, src/framework, src/external/hostlib and exports/ExportTable.h;
// tools/ also src/bridge.
// tests/ and bench/ are not held to any rule.
#include <filesystem>
#include <string>
#include <vector>

namespace orb::layers {

struct Violation {
    std::string file;     // relative to the tree's root, with '/'
    int line = 0;         // of the #include; 0 when the file itself is out of place
    std::string include;  // the name as written
    std::string reason;
};

// Every violation under root's src/, include/, sim/ and tools/, by file and line.
std::vector<Violation> CheckIncludeRules(const std::filesystem::path& root);

// "file:line: #include "name": reason".
std::string Describe(const Violation& v);

}  // namespace orb::layers
