#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#undef LoadLibrary  // the platform layer's own, not the macro for LoadLibraryA
#endif

#include "PlatformTestSupport.h"
#include "platform/Platform.h"

namespace pf = orb::platform;
using PlatformLibraries = orbtest::ScratchFolder;

namespace {

// The build's library folder, where the module and the virtual printer's libraries are.
std::string BuildLibFolder() {
    std::string paths = pf::GetEnv("ORB_LIBRARY_PATH");
#ifdef _WIN32
    return paths.substr(0, paths.find(';'));
#else
    return paths.substr(0, paths.find(':'));
#endif
}

}  // namespace

TEST_F(PlatformLibraries, LoadsStandInsAndTheModuleByTheirWindowsNames) {
    const std::string folder = BuildLibFolder();
    ASSERT_FALSE(folder.empty()) << "ORB_LIBRARY_PATH must name the build's lib folder";
    pf::LibHandle lib = pf::LoadLibrary("BemaFI32.dll");
    ASSERT_NE(lib, 0u) << pf::LastErrorMessage();
    EXPECT_NE(pf::GetProcAddress(lib, "Bematech_FI_AbreCupom"), nullptr);
    EXPECT_NE(pf::GetProcAddress(lib, "BemaSim_Control"), nullptr);
    EXPECT_EQ(pf::GetProcAddress(lib, "Bematech_FI_NoSuchEntry"), nullptr);
    EXPECT_FALSE(pf::LastErrorMessage().empty());

    // Windows file names ignore case; the same library answers the same handle.
    EXPECT_EQ(pf::LoadLibrary("BEMAFI32.DLL"), lib);
    EXPECT_TRUE(pf::FreeLibrary(lib) && pf::FreeLibrary(lib));

    pf::LibHandle byPath = pf::LoadLibrary(folder + "\\Mp2032.dll");
    EXPECT_NE(byPath, 0u) << pf::LastErrorMessage();
    if (byPath != 0) pf::FreeLibrary(byPath);
}

#ifndef _WIN32
TEST_F(PlatformLibraries, FindsTheModuleAndLooksBesideTheBinaryHoldingIt) {
    const std::string lib = BuildLibFolder();
    ASSERT_FALSE(lib.empty());
    EXPECT_EQ(pf::FindLibraryFile("orb00100.dll"), pf::JoinPath(lib, "liborb00100.so"));
    pf::LibHandle module = pf::LoadLibrary("orb00100.dll");
    ASSERT_NE(module, 0u) << pf::LastErrorMessage();
    // Its operations by name; its insides not at all.
    EXPECT_NE(pf::GetProcAddress(module, "StartImpFiscal"), nullptr);
    EXPECT_EQ(pf::GetProcAddress(module, "_ZN3orb8platform6GetEnvB5cxx11EPKc"), nullptr);
    EXPECT_TRUE(pf::FreeLibrary(module));

    // Without a search path: beside the binary that holds the module's code, in a host
    // liborb00100.so, here this test program, which carries the code itself.
    orbtest::ScopedEnv path("ORB_LIBRARY_PATH", std::nullopt);
    const orbtest::fs::path self = orbtest::fs::read_symlink("/proc/self/exe");
    const std::string found = pf::FindLibraryFile(self.filename().string());
    ASSERT_FALSE(found.empty());
    EXPECT_TRUE(orbtest::fs::equivalent(found, self)) << found;
}

TEST_F(PlatformLibraries, SearchOrderAndFailures) {
    const std::string lib = BuildLibFolder();
    orbtest::fs::create_directory(dir_ / "first");
    Put(Path("first/libbemafi32.so"), "not a library");
    {
        orbtest::ScopedEnv path("ORB_LIBRARY_PATH", Path("nowhere") + "::" + Path("first") + ":" + lib);
        // The first folder that holds the name wins, whatever the case of its letters.
        EXPECT_EQ(pf::FindLibraryFile("BemaFI32.dll"), Path("first/libbemafi32.so"));
        EXPECT_EQ(pf::LoadLibrary("BemaFI32.dll"), 0u);  // found, but not a library
        EXPECT_NE(pf::LastErrorMessage().find("libbemafi32.so"), std::string::npos) << pf::LastErrorMessage();
    }
    {
        orbtest::ScopedEnv path("ORB_LIBRARY_PATH", Path("nowhere"));
        // Neither in the search path nor beside the binary holding the module (this program).
        EXPECT_EQ(pf::FindLibraryFile("Mp2032.dll") + pf::FindLibraryFile("NoSuchVendor.dll"), "");
        EXPECT_EQ(pf::LoadLibrary("NoSuchVendor.dll"), 0u);
        EXPECT_FALSE(pf::LastErrorMessage().empty());
        EXPECT_EQ(pf::LoadLibrary(Path("first\\NoSuchVendor.dll")), 0u);
        EXPECT_EQ(pf::LoadLibrary(""), 0u);
    }
    EXPECT_TRUE(pf::GetProcAddress(0, "x") == nullptr && !pf::FreeLibrary(0));
}

#else

TEST_F(PlatformLibraries, FindsTheModuleAndLooksBesideTheProgramHoldingIt) {
    const std::string lib = BuildLibFolder();
    ASSERT_FALSE(lib.empty());
    EXPECT_EQ(pf::FindLibraryFile("orb00100.dll"), pf::JoinPath(lib, "orb00100.dll"));
    pf::LibHandle module = pf::LoadLibrary("orb00100.dll");
    ASSERT_NE(module, 0u) << pf::LastErrorMessage();
    // Its operations by name, the C entry point too; its insides not at all.
    EXPECT_NE(pf::GetProcAddress(module, "StartImpFiscal"), nullptr);
    EXPECT_NE(pf::GetProcAddress(module, "Orb00100_Request"), nullptr);
    EXPECT_EQ(pf::GetProcAddress(module, "_ZN3orb8platform6GetEnvB5cxx11EPKc"), nullptr);
    EXPECT_TRUE(pf::FreeLibrary(module));

    // Without a search path: beside the binary that holds the module's code, here this program.
    orbtest::ScopedEnv path("ORB_LIBRARY_PATH", std::nullopt);
    char self[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, self, sizeof self), 0u);
    const std::string found = pf::FindLibraryFile(orbtest::fs::path(self).filename().string());
    ASSERT_FALSE(found.empty());
    EXPECT_TRUE(orbtest::fs::equivalent(found, self)) << found;
}

TEST_F(PlatformLibraries, SearchOrderAndFailures) {
    const std::string lib = BuildLibFolder();
    orbtest::fs::create_directory(dir_ / "first");
    Put(Path("first/BEMAFI32.DLL"), "not a library");
    {
        orbtest::ScopedEnv path("ORB_LIBRARY_PATH", Path("nowhere") + ";;" + Path("first") + ";" + lib);
        // The first folder that holds the name wins, and what it holds is taken or nothing is.
        EXPECT_TRUE(orbtest::fs::equivalent(pf::FindLibraryFile("BemaFI32.dll"), Path("first/BEMAFI32.DLL")));
        EXPECT_EQ(pf::LoadLibrary("BemaFI32.dll"), 0u);
        EXPECT_FALSE(pf::LastErrorMessage().empty());
    }
    {
        orbtest::ScopedEnv path("ORB_LIBRARY_PATH", Path("nowhere"));
        // Not in the search path: the plain name by the system's rule finds the stand-in in this
        // program's folder, as the host's own load would.
        pf::LibHandle plain = pf::LoadLibrary("Mp2032.dll");
        EXPECT_NE(plain, 0u) << pf::LastErrorMessage();
        if (plain != 0) pf::FreeLibrary(plain);
        EXPECT_EQ(pf::FindLibraryFile("NoSuchVendor.dll"), "");
        EXPECT_EQ(pf::LoadLibrary("NoSuchVendor.dll"), 0u);
        EXPECT_FALSE(pf::LastErrorMessage().empty());
        EXPECT_EQ(pf::LoadLibrary(Path("first\\NoSuchVendor.dll")), 0u);
        EXPECT_EQ(pf::LoadLibrary(""), 0u);
    }
    EXPECT_TRUE(pf::GetProcAddress(0, "x") == nullptr && !pf::FreeLibrary(0));
}

#endif
