#pragma once
// Text helpers shared by the stand-in libraries. The libraries speak code page 1252 at their
// C boundary and keep UTF-8 inside (JSON state, journal, control replies).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orb::sim {

std::string Cp1252ToUtf8(std::string_view cp1252);
// Characters with no code-page form become '?'; bytes that are not valid UTF-8 pass unchanged.
std::string Utf8ToCp1252(std::string_view utf8);

// A caller's text: nullptr reads as empty; never read past the terminator.
std::string InText(const char* text);
// The width of a caller's answer area: the blanks it was pre-filled with (0 for nullptr).
std::size_t AreaWidth(const char* area);
// Overwrites the area with the answer, cut to width; the rest of the area keeps its blanks and
// the terminator is never touched.
void WriteArea(char* area, std::size_t width, std::string_view answer);

std::string Trim(std::string_view s);
std::string UpperCp1252(std::string_view s);
std::string PadRight(std::string_view s, std::size_t width);  // cut or blank-filled
std::string PadLeft(std::string_view s, std::size_t width);   // right-aligned, cut from the left
std::string Center(std::string_view s, std::size_t width);
// Zero-filled decimal digits; a value that does not fit keeps its lowest digits.
std::string Digits(std::int64_t value, std::size_t width);
bool AllDigits(std::string_view s);

// Amounts are integers of hundredths. "1.234,56" (for the roll).
std::string Money(std::int64_t cents);
// Parses an amount as the driver sends it: "12,50", "12.50", "12" or "0"; a blank text is 0.
// Exactly fourteen digits are the fixed-width form whose last two are the cents
// ("00000000000001" is 0,01).
// False for anything else, for more than two decimals and for negative values.
bool ParseMoney(std::string_view text, std::int64_t& cents);

}  // namespace orb::sim
