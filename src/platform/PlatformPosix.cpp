// The operating system as the module sees it, on POSIX systems.
#include "platform/Platform.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

namespace orb::platform {

namespace {

thread_local std::uint32_t tLastError = 0;
thread_local std::string tLastMessage;

bool Fail(int code) {
    tLastError = static_cast<std::uint32_t>(code);
    tLastMessage = std::strerror(code);
    return false;
}

bool FailWith(int code, std::string message) {
    tLastError = static_cast<std::uint32_t>(code);
    tLastMessage = std::move(message);
    return false;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameNameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && SameNameNoCase(s.substr(s.size() - suffix.size()), suffix);
}

std::string FolderOf(const std::string& path) {
    auto cut = path.rfind('/');
    if (cut == std::string::npos) return ".";
    if (cut == 0) return "/";
    return path.substr(0, cut);
}

std::string StripTrailingSeparators(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// Windows masks: '*' any run of characters, '?' any one character, case ignored.
bool MatchMask(std::string_view mask, std::string_view name) {
    std::size_t m = 0, n = 0, starM = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || AsciiLower(mask[m]) == AsciiLower(name[n]))) {
            ++m;
            ++n;
        } else if (m < mask.size() && mask[m] == '*') {
            starM = m++;
            starN = n;
        } else if (starM != std::string_view::npos) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

// Names in folder (regular files only) that satisfy the predicate.
template <class Pred>
std::vector<std::string> ListFiles(const std::string& folder, Pred pred) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        Fail(errno);
        return names;
    }
    while (dirent* entry = ::readdir(dir)) {
        std::string_view name = entry->d_name;
        if (name == "." || name == ".." || !pred(name)) continue;
        struct stat st {};
        std::string full = folder == "/" ? "/" + std::string(name) : folder + "/" + std::string(name);
        if (::stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.emplace_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

// The file in folder whose name is fileName, exactly or else without regard to case.
std::string FindInFolder(const std::string& folder, const std::string& fileName) {
    if (folder.empty()) return {};
    std::string exact = JoinPath(folder, fileName);
    if (FileExists(exact)) return exact;
    auto found = ListFiles(folder, [&](std::string_view n) { return SameNameNoCase(n, fileName); });
    return found.empty() ? std::string() : JoinPath(folder, found.front());
}

// "BemaFI32.dll" -> "libBemaFI32.so"; other names stay as they are.
std::string PosixLibraryName(std::string_view fileName) {
    if (EndsWithNoCase(fileName, ".dll") && fileName.size() > 4)
        return "lib" + std::string(fileName.substr(0, fileName.size() - 4)) + ".so";
    return std::string(fileName);
}

std::string ModuleFolder() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&LoadLibrary), &info) == 0 || info.dli_fname == nullptr)
        return {};
    std::string path = info.dli_fname;
    if (path.find('/') == std::string::npos) return {};
    return FolderOf(path);
}

int OpenForWrite(const std::string& path, int flags) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool WriteAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// A name for a temporary file beside path, unique within the machine's running processes.
std::string TempNameBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    return path + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + "_" +
           std::to_string(static_cast<unsigned long long>(tick) % 1000000ULL);
}

// Writes contents to a fresh temporary file beside target and renames it over target.
// mode: the permission bits for the new file (0 keeps the default of the umask).
bool ReplaceAtomically(const std::string& target, std::string_view contents, mode_t mode) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string temp = TempNameBeside(target);
        int fd = OpenForWrite(temp, O_EXCL);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return Fail(errno);
        }
        bool ok = WriteAll(fd, contents) && (mode == 0 || ::fchmod(fd, mode) == 0) && ::fsync(fd) == 0;
        int err = errno;
        if (::close(fd) != 0 && ok) {
            ok = false;
            err = errno;
        }
        if (ok && ::rename(temp.c_str(), target.c_str()) == 0) {
            // Make the rename itself durable; a failure here loses nothing already written.
            int dirFd = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (dirFd >= 0) {
                ::fsync(dirFd);
                ::close(dirFd);
            }
            return true;
        }
        if (ok) err = errno;
        ::unlink(temp.c_str());
        return Fail(err);
    }
    return Fail(EEXIST);
}

struct PortState {
    int writeTimeoutMs = 0;
    bool terminal = false;
};
std::mutex gPortsMutex;
std::map<int, PortState> gPorts;

speed_t BaudConstant(int baud) {
    switch (baud) {
        case 1200: return B1200;
        case 2400: return B2400;
        case 4800: return B4800;
        case 9600: return B9600;
        case 19200: return B19200;
        case 38400: return B38400;
        case 57600: return B57600;
        case 115200: return B115200;
        default: return B0;
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

// ---- Dynamic libraries -------------------------------------------------------------------

std::string FindLibraryFile(std::string_view name) {
    std::string native = NativePath(name);
    auto cut = native.rfind('/');
    if (cut != std::string::npos) {
        std::string folder = cut == 0 ? "/" : native.substr(0, cut);
        std::string file = native.substr(cut + 1);
        std::string found = FindInFolder(folder, file);
        if (found.empty()) found = FindInFolder(folder, PosixLibraryName(file));
        return found;
    }
    std::string fileName = PosixLibraryName(native);
    std::string paths = GetEnv("ORB_LIBRARY_PATH");
    std::size_t start = 0;
    while (start <= paths.size()) {
        std::size_t end = paths.find(':', start);
        if (end == std::string::npos) end = paths.size();
        std::string folder = paths.substr(start, end - start);
        if (!folder.empty()) {
            std::string found = FindInFolder(StripTrailingSeparators(folder), fileName);
            if (!found.empty()) return found;
        }
        start = end + 1;
    }
    return FindInFolder(ModuleFolder(), fileName);
}

LibHandle LoadLibrary(std::string_view name) {
    if (name.empty()) {
        FailWith(ENOENT, "empty library name");
        return 0;
    }
    std::string file = FindLibraryFile(name);
    bool hasFolder = NativePath(name).find('/') != std::string::npos;
    if (file.empty()) {
        if (hasFolder) {
            FailWith(ENOENT, std::string(name) + ": no such library");
            return 0;
        }
        file = PosixLibraryName(name);  // the system's own search
    }
    ::dlerror();
    void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = ::dlerror();
        FailWith(ENOENT, why != nullptr ? why : file + ": cannot be loaded");
        return 0;
    }
    return reinterpret_cast<LibHandle>(handle);
}

void* GetProcAddress(LibHandle lib, const char* symbol) {
    if (lib == 0 || symbol == nullptr) {
        FailWith(EINVAL, "no library or no symbol name");
        return nullptr;
    }
    ::dlerror();
    void* address = ::dlsym(reinterpret_cast<void*>(lib), symbol);
    if (address == nullptr) {
        const char* why = ::dlerror();
        FailWith(ENOENT, why != nullptr ? why : std::string(symbol) + ": not found");
    }
    return address;
}

bool FreeLibrary(LibHandle lib) {
    if (lib == 0) return FailWith(EINVAL, "no library");
    if (::dlclose(reinterpret_cast<void*>(lib)) != 0) {
        const char* why = ::dlerror();
        return FailWith(EINVAL, why != nullptr ? why : "dlclose failed");
    }
    return true;
}

// ---- Folders -----------------------------------------------------------------------------

std::string HostDirectory() {
    std::string home = GetEnv("ORB_HOME");
    if (!home.empty()) return StripTrailingSeparators(NativePath(home));
    char buffer[4096];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) {
        char cwd[4096];
        return ::getcwd(cwd, sizeof cwd) != nullptr ? std::string(cwd) : std::string(".");
    }
    return FolderOf(std::string(buffer, static_cast<std::size_t>(n)));
}

std::string SystemDirectory() {
    std::string system = GetEnv("ORB_SYSTEM_DIR");
    if (!system.empty()) return StripTrailingSeparators(NativePath(system));
    return HostDirectory();
}

char PathDelimiter() { return '/'; }

std::string NativePath(std::string_view path) {
    std::string out(path);
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string left = NativePath(folder);
    std::string right = NativePath(name);
    while (!right.empty() && right.front() == '/') right.erase(0, 1);
    if (left.empty()) return right;
    if (left.back() != '/') left += '/';
    return left + right;
}

// ---- Files -------------------------------------------------------------------------------

bool FileExists(std::string_view path) {
    struct stat st {};
    return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(std::string_view path) {
    struct stat st {};
    return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
    std::string source = NativePath(from), target = NativePath(to);
    struct stat st {};
    if (::stat(source.c_str(), &st) != 0) return Fail(errno);
    if (!S_ISREG(st.st_mode)) return Fail(EISDIR);
    if (failIfExists && ::access(target.c_str(), F_OK) == 0) return Fail(EEXIST);
    if (DirectoryExists(target)) return Fail(EISDIR);
    std::string contents;
    if (!ReadFile(source, contents)) return false;
    return ReplaceAtomically(target, contents, st.st_mode & 07777);
}

bool DeleteFile(std::string_view path) {
    std::string native = NativePath(path);
    if (DirectoryExists(native)) return Fail(EISDIR);
    return ::unlink(native.c_str()) == 0 || Fail(errno);
}

bool RenameFile(std::string_view from, std::string_view to) {
    return ::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0 || Fail(errno);
}

bool CreateDirectory(std::string_view path) {
    std::string native = StripTrailingSeparators(NativePath(path));
    return ::mkdir(native.c_str(), 0777) == 0 || Fail(errno);
}

bool ForceDirectories(std::string_view path) {
    std::string native = StripTrailingSeparators(NativePath(path));
    if (native.empty()) return Fail(ENOENT);
    if (DirectoryExists(native)) return true;
    for (std::size_t pos = 1; pos <= native.size(); ++pos) {
        if (pos != native.size() && native[pos] != '/') continue;
        std::string part = native.substr(0, pos);
        if (DirectoryExists(part)) continue;
        if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return Fail(errno);
    }
    return DirectoryExists(native) || Fail(ENOTDIR);
}

std::vector<std::string> FindFiles(std::string_view mask) {
    std::string native = NativePath(mask);
    auto cut = native.rfind('/');
    std::string folder = cut == std::string::npos ? "." : (cut == 0 ? "/" : native.substr(0, cut));
    std::string pattern = cut == std::string::npos ? native : native.substr(cut + 1);
    if (pattern == "*.*") pattern = "*";
    std::vector<std::string> result;
    if (pattern.empty()) return result;
    for (auto& name : ListFiles(folder, [&](std::string_view n) { return MatchMask(pattern, n); }))
        result.push_back(cut == std::string::npos ? name : JoinPath(native.substr(0, cut + 1), name));
    if (result.empty()) Fail(ENOENT);
    return result;
}

std::string FindFirst(std::string_view mask) {
    auto all = FindFiles(mask);
    return all.empty() ? std::string() : all.front();
}

std::uint32_t LastError() { return tLastError; }

std::string LastErrorMessage() { return tLastMessage; }

bool ReadFile(std::string_view path, std::string& contents) {
    int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Fail(errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        return Fail(err);
    }
    std::string data;
    if (st.st_size > 0) data.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            return Fail(err);
        }
        if (n == 0) break;
        data.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    contents = std::move(data);
    return true;
}

bool WriteFile(std::string_view path, std::string_view contents) {
    int fd = OpenForWrite(NativePath(path), O_TRUNC);
    if (fd < 0) return Fail(errno);
    bool ok = WriteAll(fd, contents);
    int err = errno;
    if (::close(fd) != 0 && ok) return Fail(errno);
    return ok || Fail(err);
}

bool WriteFileAtomic(std::string_view path, std::string_view contents) {
    std::string target = NativePath(path);
    if (DirectoryExists(target)) return Fail(EISDIR);
    // Keep the permissions of the file being replaced.
    struct stat st {};
    mode_t mode = ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
    return ReplaceAtomically(target, contents, mode);
}

bool AppendToFile(std::string_view path, std::string_view contents) {
    int fd = OpenForWrite(NativePath(path), O_APPEND);
    if (fd < 0) return Fail(errno);
    bool ok = WriteAll(fd, contents);
    int err = errno;
    if (::close(fd) != 0 && ok) return Fail(errno);
    return ok || Fail(err);
}

// ---- Environment -------------------------------------------------------------------------

std::string GetEnv(const char* name) {
    const char* value = name != nullptr ? std::getenv(name) : nullptr;
    return value != nullptr ? std::string(value) : std::string();
}

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
            auto remaining = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now()).count();
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
