// The operating system as the module sees it, on Windows (the module's real home: a 32-bit DLL
// inside the host's process). Built only by the Windows toolchain.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// windows.h maps these names to their ...A / ...W forms; ours are plain functions.
#undef LoadLibrary
#undef CopyFile
#undef DeleteFile
#undef CreateDirectory

#include "platform/Platform.h"

#include <algorithm>
#include <atomic>
#include <string>

namespace orb::platform {

namespace {

thread_local std::uint32_t tLastError = 0;

bool Fail() {
    tLastError = static_cast<std::uint32_t>(::GetLastError());
    return false;
}

bool FailWith(DWORD code) {
    tLastError = static_cast<std::uint32_t>(code);
    ::SetLastError(code);
    return false;
}

std::string StripTrailingSeparators(std::string path) {
    // Keep "C:\" and "\" whole.
    while (path.size() > 1 && path.back() == '\\' && !(path.size() == 3 && path[1] == ':')) path.pop_back();
    return path;
}

std::string FolderOf(const std::string& path) {
    auto cut = path.find_last_of('\\');
    if (cut == std::string::npos) return ".";
    return path.substr(0, cut);
}

DWORD Attributes(const std::string& path) { return ::GetFileAttributesA(path.c_str()); }

// The folder of this module (Orb00100.dll), found from the address of one of its functions.
std::string ModuleFolder() {
    HMODULE self = nullptr;
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCSTR>(&ModuleFolder), &self))
        return {};
    char buffer[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(self, buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    return FolderOf(std::string(buffer, n));
}

// A name for a temporary file beside path, unique among the running processes.
std::string TempNameBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + ".tmp" + std::to_string(::GetCurrentProcessId()) + "_" + std::to_string(counter++) + "_" +
           std::to_string(::GetTickCount() % 1000000u);
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file, p, chunk, &written, nullptr)) return false;
        if (written == 0) {
            ::SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        p += written;
        left -= written;
    }
    return true;
}

bool ReplaceFileWith(const std::string& temp, const std::string& target) {
    if (::MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    Fail();
    ::DeleteFileA(temp.c_str());
    return false;
}

bool IsCommDevice(HANDLE port) { return ::GetFileType(port) == FILE_TYPE_CHAR; }

}  // namespace

// ---- Dynamic libraries -------------------------------------------------------------------

namespace {

bool IsFile(const std::string& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsBareName(const std::string& native) {
    return native.find('\\') == std::string::npos && native.find(':') == std::string::npos;
}

// The file of that name in the first folder of ORB_LIBRARY_PATH (folders separated by ';') that
// holds one; "" when none does.
std::string InSearchPath(const std::string& native) {
    const std::string paths = GetEnv("ORB_LIBRARY_PATH");
    for (std::size_t start = 0; start <= paths.size();) {
        std::size_t end = paths.find(';', start);
        if (end == std::string::npos) end = paths.size();
        const std::string folder = paths.substr(start, end - start);
        if (!folder.empty() && IsFile(JoinPath(folder, native))) return JoinPath(folder, native);
        start = end + 1;
    }
    return {};
}

}  // namespace

std::string FindLibraryFile(std::string_view name) {
    const std::string native = NativePath(name);
    if (!IsBareName(native)) return IsFile(native) ? native : std::string();
    if (std::string found = InSearchPath(native); !found.empty()) return found;
    const std::string beside = ModuleFolder();
    if (!beside.empty() && IsFile(JoinPath(beside, native))) return JoinPath(beside, native);
    return {};
}

LibHandle LoadLibrary(std::string_view name) {
    if (name.empty()) {
        FailWith(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    // A folder named by ORB_LIBRARY_PATH first (a test's or a developer's choice: what is found
    // there is taken or the load fails), then the name as the host would give it to Windows (the
    // program's folder, the system folders, PATH), then the folder of this module.
    const std::string native = NativePath(name);
    HMODULE module = nullptr;
    const std::string chosen = IsBareName(native) ? InSearchPath(native) : std::string();
    if (!chosen.empty()) {
        module = ::LoadLibraryA(chosen.c_str());
    } else {
        module = ::LoadLibraryA(native.c_str());
        const std::string beside = IsBareName(native) && module == nullptr ? ModuleFolder() : std::string();
        if (!beside.empty() && IsFile(JoinPath(beside, native)))
            module = ::LoadLibraryA(JoinPath(beside, native).c_str());
    }
    if (module == nullptr) {
        Fail();
        return 0;
    }
    return reinterpret_cast<LibHandle>(module);
}

void* GetProcAddress(LibHandle lib, const char* symbol) {
    if (lib == 0 || symbol == nullptr) {
        FailWith(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    FARPROC address = ::GetProcAddress(reinterpret_cast<HMODULE>(lib), symbol);
    if (address == nullptr) {
        Fail();
        return nullptr;
    }
    return reinterpret_cast<void*>(address);
}

bool FreeLibrary(LibHandle lib) {
    if (lib == 0) return FailWith(ERROR_INVALID_HANDLE);
    return ::FreeLibrary(reinterpret_cast<HMODULE>(lib)) != 0 || Fail();
}

// ---- Folders -----------------------------------------------------------------------------

std::string SystemDirectory() {
    std::string override = GetEnv("ORB_SYSTEM_DIR");
    if (!override.empty()) return StripTrailingSeparators(NativePath(override));
    char buffer[MAX_PATH];
    UINT n = ::GetSystemDirectoryA(buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        Fail();
        return HostDirectory();
    }
    return StripTrailingSeparators(std::string(buffer, n));
}

std::string HostDirectory() {
    std::string home = GetEnv("ORB_HOME");
    if (!home.empty()) return StripTrailingSeparators(NativePath(home));
    return ExecutableDirectory();
}

std::string ExecutableDirectory() {
    char buffer[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        Fail();
        return ".";
    }
    return FolderOf(std::string(buffer, n));
}

char PathDelimiter() { return '\\'; }

std::string NativePath(std::string_view path) {
    std::string out(path);
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string left = NativePath(folder);
    std::string right = NativePath(name);
    while (!right.empty() && right.front() == '\\') right.erase(0, 1);
    if (left.empty()) return right;
    if (left.back() != '\\') left += '\\';
    return left + right;
}

// ---- Files -------------------------------------------------------------------------------

bool FileExists(std::string_view path) {
    DWORD a = Attributes(NativePath(path));
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(std::string_view path) {
    DWORD a = Attributes(NativePath(path));
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
    std::string source = NativePath(from), target = NativePath(to);
    if (failIfExists && Attributes(target) != INVALID_FILE_ATTRIBUTES) return FailWith(ERROR_FILE_EXISTS);
    // Copied beside the target first, so that the target is never half-written.
    std::string temp = TempNameBeside(target);
    if (!::CopyFileA(source.c_str(), temp.c_str(), TRUE)) return Fail();
    return ReplaceFileWith(temp, target);
}

bool DeleteFile(std::string_view path) { return ::DeleteFileA(NativePath(path).c_str()) != 0 || Fail(); }

bool RenameFile(std::string_view from, std::string_view to) {
    return ::MoveFileExA(NativePath(from).c_str(), NativePath(to).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != 0 ||
           Fail();
}

bool CreateDirectory(std::string_view path) {
    std::string native = StripTrailingSeparators(NativePath(path));
    return ::CreateDirectoryA(native.c_str(), nullptr) != 0 || Fail();
}

bool ForceDirectories(std::string_view path) {
    std::string native = StripTrailingSeparators(NativePath(path));
    if (native.empty()) return FailWith(ERROR_PATH_NOT_FOUND);
    if (DirectoryExists(native)) return true;
    // Skip what cannot be created: the drive ("C:\") or the share ("\\server\share\").
    std::size_t pos = 0;
    if (native.size() >= 2 && native[1] == ':') {
        pos = 2;
    } else if (native.rfind("\\\\", 0) == 0) {
        pos = native.find('\\', 2);
        pos = pos == std::string::npos ? native.size() : native.find('\\', pos + 1);
        if (pos == std::string::npos) pos = native.size();
    }
    for (++pos; pos <= native.size(); ++pos) {
        if (pos != native.size() && native[pos] != '\\') continue;
        std::string part = native.substr(0, pos);
        if (DirectoryExists(part)) continue;
        if (!::CreateDirectoryA(part.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return Fail();
    }
    return DirectoryExists(native) || FailWith(ERROR_PATH_NOT_FOUND);
}

std::vector<std::string> FindFiles(std::string_view mask) {
    std::string native = NativePath(mask);
    auto cut = native.find_last_of("\\:");
    std::string prefix = cut == std::string::npos ? std::string() : native.substr(0, cut + 1);
    std::vector<std::string> result;
    WIN32_FIND_DATAA data{};
    HANDLE find = ::FindFirstFileA(native.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        Fail();
        return result;
    }
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) result.push_back(prefix + data.cFileName);
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    std::sort(result.begin(), result.end());
    if (result.empty()) FailWith(ERROR_FILE_NOT_FOUND);
    return result;
}

std::string FindFirst(std::string_view mask) {
    auto all = FindFiles(mask);
    return all.empty() ? std::string() : all.front();
}

std::uint32_t LastError() { return tLastError; }

std::string LastErrorMessage() {
    char* text = nullptr;
    DWORD n =
        ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, static_cast<DWORD>(tLastError), 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string message = n != 0 && text != nullptr ? std::string(text, n) : "error " + std::to_string(tLastError);
    if (text != nullptr) ::LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message;
}

bool ReadFile(std::string_view path, std::string& contents) {
    HANDLE file = ::CreateFileA(NativePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail();
    std::string data;
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file, &size) && size.QuadPart > 0) data.reserve(static_cast<std::size_t>(size.QuadPart));
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            Fail();
            ::CloseHandle(file);
            return false;
        }
        if (got == 0) break;
        data.append(buffer, got);
    }
    ::CloseHandle(file);
    contents = std::move(data);
    return true;
}

bool WriteFile(std::string_view path, std::string_view contents) {
    HANDLE file = ::CreateFileA(NativePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail();
    bool ok = WriteAll(file, contents);
    if (!ok) Fail();
    ::CloseHandle(file);
    return ok;
}

bool WriteFileAtomic(std::string_view path, std::string_view contents) {
    std::string target = NativePath(path);
    const DWORD attributes = Attributes(target);
    // A folder, or a file marked read-only, is not replaced (a rename would go over the mark).
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0)
        return FailWith(ERROR_ACCESS_DENIED);
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string temp = TempNameBeside(target);
        HANDLE file =
            ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            if (::GetLastError() == ERROR_FILE_EXISTS) continue;
            return Fail();
        }
        bool ok = WriteAll(file, contents) && ::FlushFileBuffers(file);
        if (!ok) Fail();
        ::CloseHandle(file);
        if (!ok) {
            ::DeleteFileA(temp.c_str());
            return false;
        }
        return ReplaceFileWith(temp, target);
    }
    return FailWith(ERROR_FILE_EXISTS);
}

bool AppendToFile(std::string_view path, std::string_view contents) {
    HANDLE file = ::CreateFileA(NativePath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail();
    bool ok = WriteAll(file, contents);
    if (!ok) Fail();
    ::CloseHandle(file);
    return ok;
}

// No sharing at all: a second open of the file, from any process, fails while this one is held.
FileLock TryLockFile(std::string_view path) {
    HANDLE file = ::CreateFileA(NativePath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail(), 0;
    return reinterpret_cast<FileLock>(file);
}

void UnlockFile(FileLock lock) {
    if (lock != 0) ::CloseHandle(reinterpret_cast<HANDLE>(lock));
}

// ---- Environment -------------------------------------------------------------------------

std::string GetEnv(const char* name) {
    if (name == nullptr) return {};
    DWORD size = ::GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0) return {};
    std::string value(size, '\0');
    DWORD n = ::GetEnvironmentVariableA(name, value.data(), size);
    if (n == 0 || n >= size) return {};
    value.resize(n);
    return value;
}

bool SetEnv(const char* name, std::string_view value) {
    if (name == nullptr || *name == '\0') return false;
    return ::SetEnvironmentVariableA(name, std::string(value).c_str()) != 0;
}

// ---- Serial ports ------------------------------------------------------------------------

PortHandle OpenPort(std::string_view name) {
    std::string port(name);
    while (!port.empty() && port.back() == ':') port.pop_back();
    // "\\.\COMn" reaches every port, also those above COM9.
    if (port.size() > 3 && (port[0] == 'C' || port[0] == 'c') && (port[1] == 'O' || port[1] == 'o') &&
        (port[2] == 'M' || port[2] == 'm') &&
        std::all_of(port.begin() + 3, port.end(), [](char c) { return c >= '0' && c <= '9'; }))
        port = "\\\\.\\" + port;
    HANDLE handle = ::CreateFileA(port.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        Fail();
        return -1;
    }
    return reinterpret_cast<PortHandle>(handle);
}

bool ConfigurePort(PortHandle port, int baud, int dataBits, char parity, int stopBits) {
    if (port == -1) return FailWith(ERROR_INVALID_HANDLE);
    if (baud <= 0 || dataBits < 5 || dataBits > 8 || (stopBits != 1 && stopBits != 2) ||
        (parity != 'N' && parity != 'E' && parity != 'O'))
        return FailWith(ERROR_INVALID_PARAMETER);
    HANDLE handle = reinterpret_cast<HANDLE>(port);
    if (!IsCommDevice(handle)) return true;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(handle, &dcb)) return Fail();
    dcb.BaudRate = static_cast<DWORD>(baud);
    dcb.ByteSize = static_cast<BYTE>(dataBits);
    dcb.Parity = parity == 'E' ? EVENPARITY : parity == 'O' ? ODDPARITY : NOPARITY;
    dcb.StopBits = stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
    if (!::SetupComm(handle, 256, 256)) return Fail();
    return ::SetCommState(handle, &dcb) != 0 || Fail();
}

bool SetPortTimeouts(PortHandle port, int readTotalMs, int writeTotalMs) {
    if (port == -1) return FailWith(ERROR_INVALID_HANDLE);
    if (readTotalMs < 0 || writeTotalMs < 0) return FailWith(ERROR_INVALID_PARAMETER);
    HANDLE handle = reinterpret_cast<HANDLE>(port);
    if (!IsCommDevice(handle)) return true;
    COMMTIMEOUTS timeouts{};
    timeouts.ReadTotalTimeoutConstant = static_cast<DWORD>(readTotalMs);
    timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(writeTotalMs);
    return ::SetCommTimeouts(handle, &timeouts) != 0 || Fail();
}

bool WritePort(PortHandle port, std::string_view bytes) {
    if (port == -1) return FailWith(ERROR_INVALID_HANDLE);
    return WriteAll(reinterpret_cast<HANDLE>(port), bytes) || Fail();
}

void ClosePort(PortHandle port) {
    if (port != -1) ::CloseHandle(reinterpret_cast<HANDLE>(port));
}

}  // namespace orb::platform
