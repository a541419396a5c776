#pragma once
// The operator's terminal: whether there is one, which character set it shows, and how the
// module's text (CP1252) and JSON's (UTF-8) are written for it. The one place of the command-line
// host that asks the operating system about terminals and locales.
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace orb::cli {

enum class TerminalCharset { Utf8, Latin1, Latin9, Cp1252 };

// A codeset name as the C library reports it ("UTF-8", "ISO-8859-1", "CP1252", ...). Anything
// that is not an 8-bit Latin set reads as UTF-8: the bare "C" locale reports ASCII, and the
// terminals that run under it show UTF-8 nearly always.
TerminalCharset CharsetFromCodeset(std::string_view codeset);
// The character set of the locale the environment names (LC_ALL, LC_CTYPE, LANG), read without
// changing the process's own locale.
TerminalCharset LocaleCharset();

// Text written for the terminal. Characters the set cannot show become '?'. Line breaks come
// out as "\n", whether the text had CR LF, LF or the lone CR the module's dialogs use.
std::string Cp1252ForTerminal(std::string_view cp1252, TerminalCharset charset);
std::string Utf8ForTerminal(std::string_view utf8, TerminalCharset charset);

// Where the operator reads and answers. Tests make one of a pair of string streams.
struct Terminal {
    std::istream* in = nullptr;
    std::ostream* out = nullptr;
    TerminalCharset charset = TerminalCharset::Utf8;
};

// The process's terminal when standard input is one: answers are read from standard input and
// the dialogs written to standard error, or to the controlling terminal when standard error is
// redirected (so the operator still sees the question). Nothing when standard input is not a
// terminal.
std::optional<Terminal> ProcessTerminal();

}  // namespace orb::cli
