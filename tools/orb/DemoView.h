#pragma once
// How `orb demo` shows what happened on a plain terminal: the paper the printer printed, the
// values the host receives, the tail of the debug log and the requests as they are sent. Every
// text here is UTF-8.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bridge/JsonValues.h"

namespace orb::cli::demo {

using namespace orb::bridge;

inline constexpr std::size_t kPaperColumns = 48;

// Characters of a UTF-8 text (not bytes), so lines with accents line up.
std::size_t Columns(std::string_view utf8);

// The text as a person reads it off the paper: the printer's ESC commands (emphasis, double
// width) and carriage returns taken out, any other control character dropped, so nothing the
// printer was told can reach the terminal as a command of its own.
std::string PaperText(std::string_view utf8);

// Paper in a frame: each line padded to the given columns (longer lines wrapped), indented.
std::string Framed(std::string_view utf8Paper, std::size_t columns = kPaperColumns);

using NamedValues = std::vector<std::pair<std::string, Json>>;

// A named-parameter packet ([[name, value], ...]) as name/value pairs; an element that is not
// such a pair is listed under its position.
NamedValues PacketPairs(const Json& packet);

// "name = value" lines with the names aligned; texts are quoted, so an empty one shows.
std::string NameValueList(const NamedValues& values, std::string_view indent = "    ");

// The last count lines of a debug log (CP1252, lines ended by CR LF), as UTF-8 lines for the
// terminal. Entries that span several lines count each of their lines.
std::vector<std::string> LogTail(std::string_view cp1252Log, std::size_t count);

// A request on one line, cut to width characters (ending in "...") when longer.
std::string OneLine(const Json& request, std::size_t width);

// A section title, underlined, with a blank line before it.
std::string Heading(std::string_view title);

}  // namespace orb::cli::demo
