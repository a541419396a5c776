#pragma once
// Code page 1252 is the module's text; UTF-8 is the terminal's and JSON's.
#include <string>
#include <string_view>

namespace orb::fw {

// Characters with no CP1252 form become '?'. Invalid UTF-8 bytes are taken as CP1252 as they stand.
std::string Utf8ToCp1252(std::string_view utf8);
std::string Cp1252ToUtf8(std::string_view cp1252);

// Letter case of CP1252 text, accented letters included (à <-> À).
char Cp1252Upper(char c);
char Cp1252Lower(char c);

}  // namespace orb::fw

// Source files are UTF-8; a literal with accents goes through this once: CP("Parâmetro").
#define CP(utf8_literal) (::orb::fw::Utf8ToCp1252(utf8_literal))
