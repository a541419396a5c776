#pragma once
// Delphi's text routines the ported code leans on. Indexes are 1-based, as in the host.
#include <string>
#include <string_view>
#include <vector>

namespace orb::fw {

std::string UpperCase(std::string_view s);  // CP1252-aware
std::string LowerCase(std::string_view s);
int CompareText(std::string_view a, std::string_view b);
// Case-insensitive equality.
inline bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    // Names mostly differ in their first character: ASCII ones are told apart here.
    if (!a.empty() && a[0] != b[0]) {
        const unsigned x = static_cast<unsigned char>(a[0]) | 0x20u, y = static_cast<unsigned char>(b[0]) | 0x20u;
        if (x < 0x80 && y < 0x80 && (x != y || x - 'a' >= 26u)) return false;
    }
    return CompareText(a, b) == 0;
}
std::string Trim(std::string_view s);  // blanks and control characters at both ends
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);
// Copy(s, index, count): count characters from the 1-based index; out-of-range parts are empty.
std::string Copy(std::string_view s, int index, int count);
// Pos(sub, s): 1-based position of the first occurrence, 0 when absent.
int Pos(std::string_view sub, std::string_view s);
std::string StringOfChar(char c, int count);
std::string StringReplaceAll(std::string_view s, std::string_view from, std::string_view to);
std::string StringReplaceAllIgnoreCase(std::string_view s, std::string_view from, std::string_view to);
std::string QuotedStr(std::string_view s);
std::vector<std::string> SplitString(std::string_view s, char delimiter);
bool StartsText(std::string_view prefix, std::string_view s);
// Only the digits of s ("12.345.678/0001-90" -> "12345678000190").
std::string OnlyDigits(std::string_view s);

}  // namespace orb::fw
