#pragma once
// Pieces the POSIX platform files share: the last-error record, name matching and folder listing.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace orb::platform::posix {

inline thread_local std::uint32_t tLastError = 0;
inline thread_local std::string tLastMessage;

inline bool Fail(int code) {
    tLastError = static_cast<std::uint32_t>(code);
    tLastMessage = std::strerror(code);
    return false;
}

inline bool FailWith(int code, std::string message) {
    tLastError = static_cast<std::uint32_t>(code);
    tLastMessage = std::move(message);
    return false;
}

inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool SameNameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

inline bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && SameNameNoCase(s.substr(s.size() - suffix.size()), suffix);
}

inline std::string FolderOf(const std::string& path) {
    auto cut = path.rfind('/');
    if (cut == std::string::npos) return ".";
    if (cut == 0) return "/";
    return path.substr(0, cut);
}

inline std::string StripTrailingSeparators(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// Windows masks: '*' any run of characters, '?' any one character, case ignored.
inline bool MatchMask(std::string_view mask, std::string_view name) {
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
inline std::vector<std::string> ListFiles(const std::string& folder, Pred pred) {
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
inline std::string FindInFolder(const std::string& folder, const std::string& fileName) {
    if (folder.empty()) return {};
    std::string exact = JoinPath(folder, fileName);
    if (FileExists(exact)) return exact;
    auto found = ListFiles(folder, [&](std::string_view n) { return SameNameNoCase(n, fileName); });
    return found.empty() ? std::string() : JoinPath(folder, found.front());
}

}  // namespace orb::platform::posix
