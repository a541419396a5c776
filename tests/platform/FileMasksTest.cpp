// File masks match as Windows matches them, on every system.
#include "PlatformTestSupport.h"
#include "platform/Platform.h"

namespace pf = orb::platform;
using Strings = std::vector<std::string>;
using PlatformFiles = orbtest::ScratchFolder;

TEST_F(PlatformFiles, MasksMatchLikeWindows) {
    for (const char* name :
         {"impdebug1226.txt", "IMPDEBUG0127.TXT", "impdebug.txt", "notes.txt", "README", "a.b.c", "x.txt.bak"})
        Put(Path(name), "x");
    orbtest::fs::create_directory(dir_ / "dir.txt");  // folders never match
    const struct {
        const char* mask;
        Strings names;  // sorted by name, case first
    } cases[] = {
        {"*.txt", {"IMPDEBUG0127.TXT", "impdebug.txt", "impdebug1226.txt", "notes.txt"}},
        {"impdebug????.txt", {"IMPDEBUG0127.TXT", "impdebug1226.txt"}},
        // "README" has no dot and still matches "*.*", as on Windows.
        {"*.*", {"IMPDEBUG0127.TXT", "README", "a.b.c", "impdebug.txt", "impdebug1226.txt", "notes.txt", "x.txt.bak"}},
        {"*", {"IMPDEBUG0127.TXT", "README", "a.b.c", "impdebug.txt", "impdebug1226.txt", "notes.txt", "x.txt.bak"}},
        {"readme", {"README"}},
        {"*.c", {"a.b.c"}},
        {"*t*t*", {"IMPDEBUG0127.TXT", "impdebug.txt", "impdebug1226.txt", "notes.txt", "x.txt.bak"}},
        {"*.pdf", {}},
        {"missing/*.txt", {}},
    };
    for (const auto& c : cases) {
        Strings names;
        for (auto& p : pf::FindFiles(Path(c.mask))) names.push_back(orbtest::fs::path(p).filename().string());
        EXPECT_EQ(names, c.names) << c.mask;
    }
    // Full paths in the folder as the mask gave it.
    EXPECT_EQ(pf::FindFirst(dir_.string() + "\\notes.*"), Path("notes.txt"));
    EXPECT_EQ(pf::FindFirst(Path("*.pdf")), "");
}
