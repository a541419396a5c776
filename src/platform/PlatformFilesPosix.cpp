// Files and folders on POSIX systems.
#include "platform/Platform.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>

#include "platform/PosixSupport.h"

namespace orb::platform {

using namespace posix;

namespace {

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

}  // namespace

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
    // Keep the permissions of the file being replaced. A read-only file is refused, as Windows
    // refuses it, although a rename over it would succeed here (for root, even a write would).
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && (st.st_mode & S_IWUSR) == 0) return Fail(EACCES);
    mode_t mode = exists ? (st.st_mode & 07777) : 0;
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

// flock, not fcntl locks: those belong to the process and would let a second lock of this process
// on the same file succeed, and closing any descriptor of the file would drop them.
FileLock TryLockFile(std::string_view path) {
    const int fd = ::open(NativePath(path).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return Fail(errno), 0;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        return Fail(err), 0;
    }
    return static_cast<FileLock>(fd) + 1;
}

void UnlockFile(FileLock lock) {
    if (lock != 0) ::close(static_cast<int>(lock - 1));
}

}  // namespace orb::platform
