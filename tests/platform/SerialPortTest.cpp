#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <tuple>

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
    EXPECT_TRUE(pf::ConfigurePort(port, 19200, 8, 'N', 1) && pf::SetPortTimeouts(port, 1000, 1000));
    const std::string command = "\x1Bw texto\r\n";
    EXPECT_TRUE(pf::WritePort(port, command));
    pf::ClosePort(port);
    EXPECT_EQ(Get(Path("com7")), command);

    pf::PortHandle reopened = pf::OpenPort("\\\\.\\COM7");
    EXPECT_NE(reopened, -1);
    pf::ClosePort(reopened);
    pf::ClosePort(reopened);  // a second close is harmless

    EXPECT_FALSE(pf::WritePort(reopened, "x") || pf::ConfigurePort(reopened, 9600, 8, 'N', 1));
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
    for (const auto& [baud, bits, parity] : {std::tuple{12345, 8, 'N'}, {19200, 9, 'N'}, {19200, 8, 'X'}})
        EXPECT_FALSE(pf::ConfigurePort(port, baud, bits, parity, 1)) << baud << " " << bits << parity;
    ASSERT_TRUE(pf::ConfigurePort(port, 19200, 8, 'N', 1)) << pf::LastErrorMessage();
    ASSERT_TRUE(pf::SetPortTimeouts(port, 1000, 1000));
    termios tio{};
    ASSERT_EQ(::tcgetattr(static_cast<int>(port), &tio), 0);
    // No parity, one stop bit, raw input, and bytes go out as written.
    EXPECT_EQ(std::tuple(::cfgetospeed(&tio), tio.c_cflag & (CSIZE | PARENB | CSTOPB), tio.c_lflag & ICANON,
                         tio.c_oflag & OPOST, tio.c_cc[VTIME]),
              std::tuple(speed_t{B19200}, tcflag_t{CS8}, tcflag_t{0}, tcflag_t{0}, cc_t{10}));

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
