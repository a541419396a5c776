#include "Terminal.h"

#include <cctype>

#include "framework/Cp1252.h"

namespace orb::cli {

namespace {

std::string Normalised(std::string_view codeset) {
    std::string name;
    for (char c : codeset)
        if (c != '-' && c != '_') name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

// CR LF and a lone CR become LF.
std::string UnixLines(std::string_view text) {
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            lines += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            lines += text[i];
        }
    }
    return lines;
}

}  // namespace

TerminalCharset CharsetFromCodeset(std::string_view codeset) {
    const std::string name = Normalised(codeset);
    if (name == "ISO88591" || name == "LATIN1") return TerminalCharset::Latin1;
    if (name == "ISO885915" || name == "LATIN9") return TerminalCharset::Latin9;
    if (name == "CP1252" || name == "WINDOWS1252") return TerminalCharset::Cp1252;
    return TerminalCharset::Utf8;
}

std::string Cp1252ForTerminal(std::string_view cp1252, TerminalCharset charset) {
    const std::string lines = UnixLines(cp1252);
    switch (charset) {
        case TerminalCharset::Utf8:
            return fw::Cp1252ToUtf8(lines);
        case TerminalCharset::Cp1252:
            return lines;
        case TerminalCharset::Latin1: {
            // Latin-1 has control codes where CP1252 keeps the euro sign, the curly quotes and the
            // dashes; the rest of the upper half is the same.
            std::string text = lines;
            for (char& c : text) {
                const auto byte = static_cast<unsigned char>(c);
                if (byte >= 0x80 && byte <= 0x9F) c = '?';
            }
            return text;
        }
        case TerminalCharset::Latin9: {
            // Latin-9 is Latin-1 with eight places given to the euro sign and the letters CP1252
            // keeps among its upper controls.
            static constexpr unsigned char kMoved[][2] = {{0x80, 0xA4}, {0x8A, 0xA6}, {0x9A, 0xA8}, {0x8E, 0xB4},
                                                          {0x9E, 0xB8}, {0x8C, 0xBC}, {0x9C, 0xBD}, {0x9F, 0xBE}};
            std::string text = lines;
            for (char& c : text) {
                const auto byte = static_cast<unsigned char>(c);
                if (byte < 0x80) continue;
                unsigned char shown = byte <= 0x9F ? '?' : byte;
                for (const auto& [from, to] : kMoved) {
                    if (byte == to) shown = '?';  // the Latin-1 character that place held is gone
                    if (byte == from) shown = to;
                }
                c = static_cast<char>(shown);
            }
            return text;
        }
    }
    return lines;
}

std::string Utf8ForTerminal(std::string_view utf8, TerminalCharset charset) {
    if (charset == TerminalCharset::Utf8) return UnixLines(utf8);
    return Cp1252ForTerminal(fw::Utf8ToCp1252(utf8), charset);
}

}  // namespace orb::cli
