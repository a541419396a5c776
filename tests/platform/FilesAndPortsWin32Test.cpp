// Files, locks and ports as Windows gives them: its error codes, its read-only mark, its sharing.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// The platform layer's own names, not the macros for their ...A forms.
#undef CopyFile
#undef DeleteFile
#undef CreateDirectory

#include "PlatformTestSupport.h"
#include "platform/Platform.h"

namespace pf = orb::platform;
using PlatformWindows = orbtest::ScratchFolder;

TEST_F(PlatformWindows, FilesAnswerWindowsErrorCodes) {
    Put(Path("a.txt"), "first");
    Put(Path("b.txt"), "old");
    EXPECT_FALSE(pf::CopyFile(Path("a.txt"), Path("b.txt"), true));
    EXPECT_EQ(pf::LastError(), static_cast<std::uint32_t>(ERROR_FILE_EXISTS));
    ASSERT_TRUE(pf::CopyFile(Path("a.txt"), Path("b.txt")));
    EXPECT_EQ(Get(Path("b.txt")), "first");
    EXPECT_TRUE(pf::CreateDirectory(Path("one")));
    EXPECT_FALSE(pf::CreateDirectory(Path("one")));
    EXPECT_EQ(pf::LastError(), static_cast<std::uint32_t>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(pf::DeleteFile(Path("one")));
    EXPECT_TRUE(pf::ForceDirectories(dir_.string() + "\\Dados\\MenuFiscal\\"));
    EXPECT_TRUE(pf::DirectoryExists(Path("Dados/MenuFiscal")));
    EXPECT_EQ(pf::JoinPath("C:\\x\\", "/Bemafi32.ini"), "C:\\x\\Bemafi32.ini");
}

TEST_F(PlatformWindows, AtomicWriteKeepsAReadOnlyFileAndLeavesNoTemporaryFile) {
    ASSERT_TRUE(pf::WriteFileAtomic(Path("Tambora.cds"), "<DATAPACKET/>"));
    ASSERT_TRUE(pf::WriteFileAtomic(Path("Tambora.cds"), std::string(100000, 'x')));
    EXPECT_EQ(Get(Path("Tambora.cds")), std::string(100000, 'x'));
    ASSERT_TRUE(SetFileAttributesA(Path("Tambora.cds").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(pf::WriteFileAtomic(Path("Tambora.cds"), "new"));
    EXPECT_EQ(pf::LastError(), static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Get(Path("Tambora.cds")), std::string(100000, 'x'));
    SetFileAttributesA(Path("Tambora.cds").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(pf::FindFiles(Path("*")), std::vector<std::string>{Path("Tambora.cds")});
}

TEST_F(PlatformWindows, ALockIsHeldAgainstEveryOtherTaker) {
    const pf::FileLock lock = pf::TryLockFile(Path("printer.db.port"));
    ASSERT_NE(lock, 0u);
    EXPECT_EQ(pf::TryLockFile(Path("printer.db.port")), 0u);
    pf::UnlockFile(lock);
    const pf::FileLock again = pf::TryLockFile(Path("printer.db.port"));
    EXPECT_NE(again, 0u);
    pf::UnlockFile(again);
}

// A file stands in for the device: the settings calls succeed without effect and the bytes
// arrive; the port is not shared. A port that does not exist does not open.
TEST_F(PlatformWindows, PortsOpenUnsharedAndWriteEveryByte) {
    Put(Path("COM-standin"), "");
    const pf::PortHandle port = pf::OpenPort(Path("COM-standin"));
    ASSERT_NE(port, -1) << pf::LastErrorMessage();
    EXPECT_EQ(pf::OpenPort(Path("COM-standin")), -1);
    EXPECT_TRUE(pf::ConfigurePort(port, 115200, 8, 'N', 1) && pf::SetPortTimeouts(port, 500, 500));
    EXPECT_FALSE(pf::ConfigurePort(port, 9600, 9, 'N', 1));
    EXPECT_EQ(pf::LastError(), static_cast<std::uint32_t>(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(pf::WritePort(port, std::string("\x1b|19|\x1b\0", 7)));
    pf::ClosePort(port);
    EXPECT_EQ(Get(Path("COM-standin")), std::string("\x1b|19|\x1b\0", 7));
    EXPECT_EQ(pf::OpenPort("COM200"), -1);
    EXPECT_FALSE(pf::LastErrorMessage().empty());
}
