// The terminal as Windows shows it: a console, switched to UTF-8 for as long as orb runs (the
// console's own code page, 850 in Brazil, has no place in the conversions orb knows).
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iostream>

#include "Terminal.h"

namespace orb::cli {

TerminalCharset LocaleCharset() {
    switch (::GetConsoleOutputCP()) {
        case 1252:
            return TerminalCharset::Cp1252;
        case 28591:
            return TerminalCharset::Latin1;
        case 28605:
            return TerminalCharset::Latin9;
        default:
            return TerminalCharset::Utf8;
    }
}

std::optional<Terminal> ProcessTerminal() {
    if (!_isatty(_fileno(stdin))) return std::nullopt;
    if (::GetConsoleOutputCP() != 1252) {
        ::SetConsoleOutputCP(CP_UTF8);
        ::SetConsoleCP(CP_UTF8);
    }
    Terminal terminal;
    terminal.in = &std::cin;
    terminal.out = &std::cerr;
    terminal.charset = LocaleCharset();
    if (!_isatty(_fileno(stderr))) {
        // Kept open for the life of the process: the dialog hook holds on to it.
        static std::ofstream console("CONOUT$");
        if (console.is_open()) terminal.out = &console;
    }
    return terminal;
}

}  // namespace orb::cli
