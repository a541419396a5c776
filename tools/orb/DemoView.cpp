#include "DemoView.h"

#include <algorithm>

#include "framework/Cp1252.h"

namespace orb::cli::demo {

namespace {

constexpr char kEsc = '\x1B';

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The printer's ESC commands that carry one parameter byte after the command letter
// (double width "W", underline "-"); the others (emphasis "E" / "F") carry none.
bool TakesParameter(char command) { return command == 'W' || command == '-'; }

bool IsAsciiGraphic(char c) { return c > ' ' && c < '\x7F'; }

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    // A text that ends in a line break has no empty line after it.
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

// The byte length of the first n characters of a UTF-8 text.
std::size_t BytesOfColumns(std::string_view utf8, std::size_t n) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (IsContinuationByte(utf8[i])) continue;
        if (seen == n) return i;
        ++seen;
    }
    return utf8.size();
}

std::string ValueText(const Json& value) { return value.dump(-1, ' ', false, Json::error_handler_t::replace); }

}  // namespace

std::size_t Columns(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return !IsContinuationByte(c); }));
}

std::string PaperText(std::string_view utf8) {
    std::string text;
    text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == kEsc) {
            // The command letter and its parameter are plain ASCII; a letter of the text that
            // follows a stray ESC is kept whole.
            if (i + 1 < utf8.size() && IsAsciiGraphic(utf8[i + 1])) {
                ++i;
                if (TakesParameter(utf8[i]) && i + 1 < utf8.size() && IsAsciiGraphic(utf8[i + 1])) ++i;
            }
            continue;
        }
        if (c == '\n') {
            text += c;
        } else if (c == '\t') {
            text += ' ';
        } else if (static_cast<unsigned char>(c) >= 0x20 && c != '\x7F') {
            text += c;
        }
    }
    return text;
}

std::string Framed(std::string_view utf8Paper, std::size_t columns) {
    const std::string edge = "  +" + std::string(columns + 2, '-') + "+\n";
    std::string framed = edge;
    std::vector<std::string> lines = SplitLines(PaperText(utf8Paper));
    // The paper fed out after the last document is not part of it.
    while (!lines.empty() && lines.back().find_first_not_of(' ') == std::string::npos) lines.pop_back();
    for (const std::string& whole : lines) {
        std::string_view rest = whole;
        do {
            const std::size_t cut = BytesOfColumns(rest, columns);
            const std::string_view piece = rest.substr(0, cut);
            framed += "  | ";
            framed += piece;
            framed += std::string(columns - Columns(piece), ' ');
            framed += " |\n";
            rest.remove_prefix(cut);
        } while (!rest.empty());
    }
    return framed + edge;
}

NamedValues PacketPairs(const Json& packet) {
    NamedValues pairs;
    if (!packet.is_array()) return pairs;
    for (std::size_t i = 0; i < packet.size(); ++i) {
        const Json& element = packet[i];
        if (element.is_array() && element.size() == 2 && element[0].is_string())
            pairs.emplace_back(element[0].get<std::string>(), element[1]);
        else
            pairs.emplace_back("[" + std::to_string(i) + "]", element);
    }
    return pairs;
}

std::string NameValueList(const NamedValues& values, std::string_view indent) {
    std::size_t width = 0;
    for (const auto& [name, value] : values) width = std::max(width, Columns(name));
    std::string list;
    for (const auto& [name, value] : values) {
        list += indent;
        list += name;
        list += std::string(width - Columns(name), ' ');
        list += " = ";
        list += PaperText(ValueText(value));
        list += '\n';
    }
    return list;
}

std::vector<std::string> LogTail(std::string_view cp1252Log, std::size_t count) {
    std::vector<std::string> lines = SplitLines(PaperText(fw::Cp1252ToUtf8(cp1252Log)));
    if (lines.size() > count) lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(count));
    return lines;
}

std::string OneLine(const Json& request, std::size_t width) {
    std::string line = PaperText(ValueText(request));
    if (Columns(line) <= width) return line;
    return line.substr(0, BytesOfColumns(line, width > 3 ? width - 3 : 0)) + "...";
}

std::string Heading(std::string_view title) {
    return "\n" + std::string(title) + "\n" + std::string(Columns(title), '=') + "\n";
}

}  // namespace orb::cli::demo
