#include "framework/Text.h"

#include "framework/Cp1252.h"

namespace orb::fw {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// The upper case of a code-page-1252 byte, ASCII worked out here and the rest by the table of
// the code page.
inline int UpperByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) return static_cast<unsigned>(b - 'a') < 26u ? b - 32 : b;
    return static_cast<unsigned char>(Cp1252Upper(c));
}

// Case-insensitive search of sub in s from position from; npos when absent.
std::size_t FindNoCase(std::string_view s, std::string_view sub, std::size_t from) {
    if (sub.empty() || sub.size() > s.size()) return std::string_view::npos;
    for (std::size_t i = from; i + sub.size() <= s.size(); ++i) {
        std::size_t k = 0;
        while (k < sub.size() && UpperByte(s[i + k]) == UpperByte(sub[k])) ++k;
        if (k == sub.size()) return i;
    }
    return std::string_view::npos;
}

}  // namespace

std::string UpperCase(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = Cp1252Upper(c);
    return out;
}

std::string LowerCase(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = Cp1252Lower(c);
    return out;
}

int CompareText(std::string_view a, std::string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] == b[i]) continue;
        const int x = UpperByte(a[i]);
        const int y = UpperByte(b[i]);
        if (x != y) return x - y;
    }
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

std::string Trim(std::string_view s) { return TrimLeft(TrimRight(s)); }

std::string TrimLeft(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return std::string(s.substr(i));
}

std::string TrimRight(std::string_view s) {
    std::size_t n = s.size();
    while (n > 0 && IsBlank(s[n - 1])) --n;
    return std::string(s.substr(0, n));
}

std::string Copy(std::string_view s, int index, int count) {
    if (index < 1) index = 1;
    if (count <= 0 || static_cast<std::size_t>(index) > s.size()) return {};
    return std::string(s.substr(static_cast<std::size_t>(index) - 1, static_cast<std::size_t>(count)));
}

int Pos(std::string_view sub, std::string_view s) {
    if (sub.empty()) return 0;
    const std::size_t at = s.find(sub);
    return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

std::string StringOfChar(char c, int count) {
    return count > 0 ? std::string(static_cast<std::size_t>(count), c) : std::string();
}

std::string StringReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(s);
    std::string out;
    std::size_t start = 0;
    for (std::size_t at = s.find(from); at != std::string_view::npos; at = s.find(from, start)) {
        out.append(s.substr(start, at - start));
        out.append(to);
        start = at + from.size();
    }
    out.append(s.substr(start));
    return out;
}

std::string StringReplaceAllIgnoreCase(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(s);
    std::string out;
    std::size_t start = 0;
    for (std::size_t at = FindNoCase(s, from, 0); at != std::string_view::npos; at = FindNoCase(s, from, start)) {
        out.append(s.substr(start, at - start));
        out.append(to);
        start = at + from.size();
    }
    out.append(s.substr(start));
    return out;
}

std::string QuotedStr(std::string_view s) { return "'" + StringReplaceAll(s, "'", "''") + "'"; }

std::vector<std::string> SplitString(std::string_view s, char delimiter) {
    std::vector<std::string> parts;
    if (s.empty()) return parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = s.find(delimiter, start);
        if (at == std::string_view::npos) {
            parts.emplace_back(s.substr(start));
            return parts;
        }
        parts.emplace_back(s.substr(start, at - start));
        start = at + 1;
    }
}

bool StartsText(std::string_view prefix, std::string_view s) {
    return prefix.size() <= s.size() && SameText(prefix, s.substr(0, prefix.size()));
}

std::string OnlyDigits(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c >= '0' && c <= '9') out.push_back(c);
    }
    return out;
}

}  // namespace orb::fw
