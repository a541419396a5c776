#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <tuple>

#include "PlatformTestSupport.h"
#include "platform/Platform.h"

namespace pf = orb::platform;
using Strings = std::vector<std::string>;
using PlatformFiles = orbtest::ScratchFolder;

namespace {

std::uint32_t Errno(int e) { return static_cast<std::uint32_t>(e); }

unsigned Mode(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 0777;
}

}  // namespace

TEST_F(PlatformFiles, WholeFileReadWriteAndAppend) {
    const std::string binary("a\0b\r\n\xE9\xFF", 7);
    std::string back;
    for (const std::string& contents : {binary, std::string("short")}) {
        ASSERT_TRUE(pf::WriteFile(Path("data.bin"), contents));
        ASSERT_TRUE(pf::ReadFile(Path("data.bin"), back));
        EXPECT_EQ(back, contents);
    }
    ASSERT_TRUE(pf::AppendToFile(Path("log.txt"), "one\r\n"));
    ASSERT_TRUE(pf::AppendToFile(Path("log.txt"), "two\r\n"));
    EXPECT_EQ(Get(Path("log.txt")), "one\r\ntwo\r\n");

    back = "untouched";
    EXPECT_FALSE(pf::ReadFile(Path("missing.txt"), back));
    EXPECT_EQ(std::tuple(pf::LastError(), pf::LastErrorMessage().empty(), back),
              std::tuple(Errno(ENOENT), false, "untouched"));
    // A folder is not a file.
    EXPECT_EQ((std::vector{pf::ReadFile(dir_.string(), back), pf::WriteFile(Path("no/such/folder.txt"), "x"),
                           pf::AppendToFile(Path("no/such/folder.txt"), "x")}),
              (std::vector{false, false, false}));
}

TEST_F(PlatformFiles, AtomicWriteReplacesWholeAndLeavesNothingBehind) {
    ASSERT_TRUE(pf::WriteFileAtomic(Path("Tambora.cds"), "<DATAPACKET/>"));
    EXPECT_EQ(Get(Path("Tambora.cds")), "<DATAPACKET/>");
    ::chmod(Path("Tambora.cds").c_str(), 0640);
    ASSERT_TRUE(pf::WriteFileAtomic(Path("Tambora.cds"), std::string(100000, 'x')));
    // The replaced file's permissions are kept.
    EXPECT_EQ(std::tuple(Get(Path("Tambora.cds")), Mode(Path("Tambora.cds"))),
              std::tuple(std::string(100000, 'x'), 0640u));

    // A failed write leaves the old contents and no temporary file.
    EXPECT_FALSE(pf::WriteFileAtomic(Path("missing/Tambora.cds"), "x"));
    EXPECT_EQ(pf::LastError(), Errno(ENOENT));
    orbtest::fs::create_directory(dir_ / "folder");
    EXPECT_FALSE(pf::WriteFileAtomic(Path("folder"), "x"));
    EXPECT_TRUE(orbtest::fs::is_directory(dir_ / "folder"));
    EXPECT_EQ(Listing(), (Strings{"Tambora.cds", "folder"}));
}

TEST_F(PlatformFiles, CopyRenameDelete) {
    Put(Path("a.txt"), "first");
    Put(Path("b.txt"), "old");
    ::chmod(Path("a.txt").c_str(), 0600);
    EXPECT_FALSE(pf::CopyFile(Path("a.txt"), Path("b.txt"), true));
    EXPECT_EQ(pf::LastError(), Errno(EEXIST));
    EXPECT_EQ(Get(Path("b.txt")), "old");
    ASSERT_TRUE(pf::CopyFile(Path("a.txt"), Path("b.txt")));
    ASSERT_TRUE(pf::CopyFile(Path("a.txt"), Path("c.txt"), true));
    EXPECT_EQ(std::tuple(Get(Path("b.txt")), Mode(Path("b.txt")), Get(Path("c.txt"))),
              std::tuple("first", 0600u, "first"));
    EXPECT_FALSE(pf::CopyFile(Path("missing.txt"), Path("d.txt")));
    EXPECT_EQ(std::tuple(pf::LastError(), pf::FileExists(Path("d.txt"))), std::tuple(Errno(ENOENT), false));

    ASSERT_TRUE(pf::RenameFile(Path("c.txt"), Path("b.txt")));  // replaces; the listing below shows c.txt gone
    ASSERT_TRUE(pf::DeleteFile(Path("b.txt")));
    EXPECT_FALSE(pf::DeleteFile(Path("b.txt")));
    EXPECT_EQ(pf::LastError(), Errno(ENOENT));
    EXPECT_EQ(Listing(), Strings{"a.txt"});
}

TEST_F(PlatformFiles, FoldersAndPathsWrittenWithBackslashes) {
    const std::string dir = dir_.string();
    EXPECT_EQ((Strings{pf::NativePath("\\Dados\\MenuFiscal\\"),
                       pf::JoinPath("/home/x", "\\impdebug1226.txt"),
                       pf::JoinPath("/home/x/", "Bemafi32.ini"),
                       pf::JoinPath("", "a.txt"),
                       {pf::PathDelimiter()}}),
              (Strings{"/Dados/MenuFiscal/", "/home/x/impdebug1226.txt", "/home/x/Bemafi32.ini", "a.txt", "/"}));

    ASSERT_TRUE(pf::ForceDirectories(dir + "\\Dados\\MenuFiscal\\"));
    ASSERT_TRUE(pf::WriteFile(dir + "\\Dados\\MenuFiscal\\f.txt", "x"));
    EXPECT_EQ((std::vector{pf::FileExists(dir + "/Dados/MenuFiscal/f.txt"), pf::FileExists(dir + "/Dados"),
                           pf::DirectoryExists(dir + "\\Dados"), pf::DirectoryExists(dir + "/Dados/MenuFiscal/f.txt")}),
              (std::vector{true, false, true, false}));

    // One level, or all of them.
    EXPECT_TRUE(pf::CreateDirectory(Path("one")));
    EXPECT_FALSE(pf::CreateDirectory(Path("one")));
    EXPECT_EQ(pf::LastError(), Errno(EEXIST));
    EXPECT_EQ((std::vector{pf::CreateDirectory(Path("two/three")), pf::ForceDirectories(Path("two/three/four")),
                           pf::ForceDirectories(Path("two/three/four"))}),
              (std::vector{false, true, true}));
    EXPECT_TRUE(orbtest::fs::is_directory(dir_ / "two" / "three" / "four"));
    EXPECT_FALSE(pf::ForceDirectories(Path("Dados/MenuFiscal/f.txt/sub")));
    EXPECT_FALSE(pf::DeleteFile(Path("one")));  // folders are not deleted as files
    EXPECT_TRUE(orbtest::fs::is_directory(dir_ / "one"));
}

TEST_F(PlatformFiles, HostAndSystemFolders) {
    {
        orbtest::ScopedEnv home("ORB_HOME", dir_.string() + "/");
        orbtest::ScopedEnv system("ORB_SYSTEM_DIR", std::nullopt);
        EXPECT_EQ(pf::HostDirectory(), dir_.string());
        EXPECT_EQ(pf::SystemDirectory(), dir_.string());  // falls back to the host folder
    }
    {
        orbtest::ScopedEnv home("ORB_HOME", dir_.string());
        orbtest::ScopedEnv system("ORB_SYSTEM_DIR", Path("system"));
        EXPECT_EQ(std::tuple(pf::SystemDirectory(), pf::GetEnv("ORB_SYSTEM_DIR")),
                  std::tuple(Path("system"), Path("system")));
    }
    {
        orbtest::ScopedEnv home("ORB_HOME", std::nullopt);
        // Without the override: the folder of the running program.
        char exe[4096];
        ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
        ASSERT_GT(n, 0);
        EXPECT_EQ(pf::HostDirectory(),
                  orbtest::fs::path(std::string(exe, static_cast<std::size_t>(n))).parent_path().string());
        ASSERT_TRUE(pf::SetEnv("ORB_HOME", dir_.string()));
        EXPECT_EQ(pf::HostDirectory(), dir_.string());
    }
    EXPECT_EQ(pf::GetEnv("ORB_SURELY_UNSET_VARIABLE"), "");
    EXPECT_FALSE(pf::SetEnv("", "x"));
}
