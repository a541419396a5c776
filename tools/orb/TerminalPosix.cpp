// The terminal as a POSIX system shows it: the locale's character set, the controlling terminal.
#include <langinfo.h>
#include <locale.h>
#include <unistd.h>

#include <fstream>
#include <iostream>

#include "Terminal.h"

namespace orb::cli {

TerminalCharset LocaleCharset() {
    locale_t locale = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
    // A locale the system does not have is the "C" locale to every program: UTF-8, as above.
    if (locale == static_cast<locale_t>(0)) return TerminalCharset::Utf8;
    const char* codeset = nl_langinfo_l(CODESET, locale);
    const TerminalCharset charset = CharsetFromCodeset(codeset ? codeset : "");
    freelocale(locale);
    return charset;
}

std::optional<Terminal> ProcessTerminal() {
    if (!isatty(STDIN_FILENO)) return std::nullopt;
    Terminal terminal;
    terminal.in = &std::cin;
    terminal.out = &std::cerr;
    terminal.charset = LocaleCharset();
    if (!isatty(STDERR_FILENO)) {
        // Kept open for the life of the process: the dialog hook holds on to it.
        static std::ofstream controlling("/dev/tty");
        if (controlling.is_open()) terminal.out = &controlling;
    }
    return terminal;
}

}  // namespace orb::cli
