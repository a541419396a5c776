#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>

#include "PlatformTestSupport.h"
#include "platform/Platform.h"

namespace pf = orb::platform;
using PlatformSerialPorts = orbtest::ScratchFolder;

TEST_F(PlatformSerialPorts, ComNamesMapToTheirStandInAndAreNotShared) {
    Put(Path("com7"), "");
    orbtest::ScopedEnv com("ORB_COM7", Path("com7"));
    pf::PortHandle port = pf::OpenPort("COM7:");
    ASSERT_NE(port, -1) << pf::LastErrorMessage();
    EXPECT_EQ(pf::OpenPort("com7"), -1);  // held by the first
    // A file standing in for the device takes the settings without effect.
    EXPECT_TRUE(pf::ConfigurePort(port, 19200, 8, 'N', 1));
    EXPECT_TRUE(pf::SetPortTimeouts(port, 1000, 1000));
    EXPECT_TRUE(pf::WritePort(port, std::string("\x1B"
                                                "w texto\r\n",
                                                10)));
    pf::ClosePort(port);
    EXPECT_EQ(Get(Path("com7")), std::string("\x1B"
                                             "w texto\r\n",
                                             10));

    pf::PortHandle reopened = pf::OpenPort("\\\\.\\COM7");
    EXPECT_NE(reopened, -1);
    pf::ClosePort(reopened);
    pf::ClosePort(reopened);  // a second close is harmless

    EXPECT_FALSE(pf::WritePort(reopened, "x"));
    EXPECT_FALSE(pf::ConfigurePort(reopened, 9600, 8, 'N', 1));
    EXPECT_EQ(pf::OpenPort(Path("missing-device")), -1);  // never created
    EXPECT_FALSE(pf::FileExists(Path("missing-device")));
}

TEST_F(PlatformSerialPorts, TerminalSettingsAndWrites) {
    int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    std::string device = ::ptsname(master);

    pf::PortHandle port = pf::OpenPort(device);
    ASSERT_NE(port, -1) << pf::LastErrorMessage();
    EXPECT_FALSE(pf::ConfigurePort(port, 12345, 8, 'N', 1));
    EXPECT_FALSE(pf::ConfigurePort(port, 19200, 9, 'N', 1));
    EXPECT_FALSE(pf::ConfigurePort(port, 19200, 8, 'X', 1));
    ASSERT_TRUE(pf::ConfigurePort(port, 19200, 8, 'N', 1)) << pf::LastErrorMessage();
    ASSERT_TRUE(pf::SetPortTimeouts(port, 1000, 1000));
    termios tio{};
    ASSERT_EQ(::tcgetattr(static_cast<int>(port), &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B19200));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    // (A pseudo-terminal keeps no parity or stop bits, so only these can be read back.)
    EXPECT_FALSE(tio.c_cflag & PARENB);
    EXPECT_FALSE(tio.c_cflag & CSTOPB);
    EXPECT_FALSE(tio.c_lflag & ICANON);
    EXPECT_FALSE(tio.c_oflag & OPOST);  // bytes go out as written
    EXPECT_EQ(tio.c_cc[VTIME], 10);

    const std::string text = "linha 1\nlinha 2\r\n";
    ASSERT_TRUE(pf::WritePort(port, text));
    std::string received;
    char buffer[64];
    while (received.size() < text.size()) {
        ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0) break;
        received.append(buffer, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(received, text);
    EXPECT_EQ(pf::OpenPort(device), -1);  // not shared
    pf::ClosePort(port);
    pf::PortHandle again = pf::OpenPort(device);  // free again once closed
    EXPECT_NE(again, -1) << pf::LastErrorMessage();
    pf::ClosePort(again);
    ::close(master);
}
