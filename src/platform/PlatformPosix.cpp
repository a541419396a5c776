// The operating system as the module sees it, on POSIX systems: libraries, folders, the
// environment. Files and serial ports have files of their own.
#include "platform/Platform.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/PosixSupport.h"

namespace orb::platform {

using namespace posix;

namespace {

std::string PosixLibraryName(std::string_view fileName) {
    if (EndsWithNoCase(fileName, ".dll") && fileName.size() > 4)
        return "lib" + std::string(fileName.substr(0, fileName.size() - 4)) + ".so";
    return std::string(fileName);
}

std::string ModuleFolder() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&LoadLibrary), &info) == 0 || info.dli_fname == nullptr) return {};
    std::string path = info.dli_fname;
    if (path.find('/') == std::string::npos) return {};
    return FolderOf(path);
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
    return ExecutableDirectory();
}

std::string ExecutableDirectory() {
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

std::uint32_t LastError() { return tLastError; }

std::string LastErrorMessage() { return tLastMessage; }

// ---- Environment -------------------------------------------------------------------------

std::string GetEnv(const char* name) {
    const char* value = name != nullptr ? std::getenv(name) : nullptr;
    return value != nullptr ? std::string(value) : std::string();
}

bool SetEnv(const char* name, std::string_view value) {
    if (name == nullptr || *name == '\0') return false;
    return ::setenv(name, std::string(value).c_str(), 1) == 0;
}

}  // namespace orb::platform
