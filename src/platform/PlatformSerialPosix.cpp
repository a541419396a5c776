// Serial ports on POSIX systems (termios).
#include "platform/Platform.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <map>
#include <mutex>

#include "platform/PosixSupport.h"

namespace orb::platform {

using namespace posix;

namespace {

struct PortState {
    int writeTimeoutMs = 0;
    bool terminal = false;
};
std::mutex gPortsMutex;
std::map<int, PortState> gPorts;

speed_t BaudConstant(int baud) {
    switch (baud) {
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return B0;
    }
}

bool PortInfo(PortHandle port, PortState& out) {
    std::lock_guard lock(gPortsMutex);
    auto it = gPorts.find(static_cast<int>(port));
    if (it == gPorts.end()) return false;
    out = it->second;
    return true;
}

}  // namespace

// ---- Serial ports ------------------------------------------------------------------------

PortHandle OpenPort(std::string_view name) {
    std::string port(name);
    if (port.rfind("\\\\.\\", 0) == 0) port.erase(0, 4);
    while (!port.empty() && port.back() == ':') port.pop_back();
    std::string path;
    if (port.size() > 3 && SameNameNoCase(port.substr(0, 3), "com") &&
        std::all_of(port.begin() + 3, port.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        int number = std::atoi(port.c_str() + 3);
        std::string upper = "COM" + std::to_string(number);
        path = GetEnv(("ORB_" + upper).c_str());
        if (path.empty()) {
            if (number < 1) {
                Fail(ENOENT);
                return -1;
            }
            path = "/dev/ttyS" + std::to_string(number - 1);
        }
    } else {
        path = NativePath(port);
    }
    if (path.empty()) {
        Fail(ENOENT);
        return -1;
    }
    // Non-blocking only for the opening itself: a modem line without carrier would hang it.
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        Fail(errno);
        return -1;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int err = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        Fail(err);
        return -1;
    }
    int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    PortState state;
    state.terminal = ::isatty(fd) == 1;
    if (state.terminal) ::ioctl(fd, TIOCEXCL);
    std::lock_guard lock(gPortsMutex);
    gPorts[fd] = state;
    return fd;
}

bool ConfigurePort(PortHandle port, int baud, int dataBits, char parity, int stopBits) {
    PortState state;
    if (!PortInfo(port, state)) return Fail(EBADF);
    speed_t speed = BaudConstant(baud);
    if (speed == B0 || dataBits < 5 || dataBits > 8 || (stopBits != 1 && stopBits != 2) ||
        (parity != 'N' && parity != 'E' && parity != 'O'))
        return Fail(EINVAL);
    if (!state.terminal) return true;
    int fd = static_cast<int>(port);
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return Fail(errno);
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB);
    static const tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    tio.c_cflag |= kSizes[dataBits - 5] | CREAD | CLOCAL;
    if (parity != 'N') tio.c_cflag |= PARENB;
    if (parity == 'O') tio.c_cflag |= PARODD;
    if (stopBits == 2) tio.c_cflag |= CSTOPB;
    // Raw bytes: the printer gets exactly what the module writes.
    tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    return ::tcsetattr(fd, TCSANOW, &tio) == 0 || Fail(errno);
}

bool SetPortTimeouts(PortHandle port, int readTotalMs, int writeTotalMs) {
    PortState state;
    if (!PortInfo(port, state)) return Fail(EBADF);
    if (readTotalMs < 0 || writeTotalMs < 0) return Fail(EINVAL);
    {
        std::lock_guard lock(gPortsMutex);
        gPorts[static_cast<int>(port)].writeTimeoutMs = writeTotalMs;
    }
    if (!state.terminal) return true;
    int fd = static_cast<int>(port);
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return Fail(errno);
    // A read returns what arrived within the total time-out (in tenths of a second, at most 25.5 s).
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = static_cast<cc_t>(std::min(255, (readTotalMs + 99) / 100));
    return ::tcsetattr(fd, TCSANOW, &tio) == 0 || Fail(errno);
}

bool WritePort(PortHandle port, std::string_view bytes) {
    PortState state;
    if (!PortInfo(port, state)) return Fail(EBADF);
    int fd = static_cast<int>(port);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(state.writeTimeoutMs);
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        if (state.writeTimeoutMs > 0) {
            auto remaining =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                    .count();
            if (remaining <= 0) return Fail(ETIMEDOUT);
            pollfd pfd{fd, POLLOUT, 0};
            int ready = ::poll(&pfd, 1, static_cast<int>(remaining));
            if (ready < 0) {
                if (errno == EINTR) continue;
                return Fail(errno);
            }
            if (ready == 0) return Fail(ETIMEDOUT);
        }
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Fail(errno);
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (state.terminal) ::tcdrain(fd);
    return true;
}

void ClosePort(PortHandle port) {
    PortState state;
    {
        std::lock_guard lock(gPortsMutex);
        auto it = gPorts.find(static_cast<int>(port));
        if (it == gPorts.end()) return;
        state = it->second;
        gPorts.erase(it);
    }
    // The exclusive mode would otherwise outlive us and lock others out of the device.
    if (state.terminal) ::ioctl(static_cast<int>(port), TIOCNXCL);
    ::close(static_cast<int>(port));
}

}  // namespace orb::platform
