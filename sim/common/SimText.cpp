#include "common/SimText.h"

#include <cstring>

namespace orb::sim {

namespace {

// Code points of 0x80..0x9F in code page 1252; 0 where the page has no character.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char ToCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] != 0 && kHigh[i] == cp) return static_cast<char>(0x80 + i);
    return '?';
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size());
    for (char ch : cp1252) {
        auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out += ch;
        else if (b < 0xA0)
            AppendUtf8(out, kHigh[b - 0x80] ? kHigh[b - 0x80] : b);
        else
            AppendUtf8(out, b);
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto b = static_cast<unsigned char>(utf8[i]);
        std::size_t extra = b >= 0xC2 && b < 0xE0 ? 1 : b >= 0xE0 && b < 0xF0 ? 2 : b >= 0xF0 && b < 0xF5 ? 3 : 0;
        bool valid = extra > 0 && i + extra < utf8.size();
        char32_t cp = b & (0x3F >> extra);
        for (std::size_t k = 1; valid && k <= extra; ++k) {
            auto c = static_cast<unsigned char>(utf8[i + k]);
            if ((c & 0xC0) != 0x80) valid = false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!valid) {
            out += static_cast<char>(b);  // ASCII, or a byte that is not UTF-8: taken as it stands
            ++i;
            continue;
        }
        out += ToCp1252(cp);
        i += extra + 1;
    }
    return out;
}

std::string InText(const char* text) { return text ? std::string(text) : std::string(); }

std::size_t AreaWidth(const char* area) { return area ? std::strlen(area) : 0; }

void WriteArea(char* area, std::size_t width, std::string_view answer) {
    if (!area) return;
    std::size_t n = answer.size() < width ? answer.size() : width;
    std::memcpy(area, answer.data(), n);
}

std::string Trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return std::string(s.substr(b, e - b));
}

std::string UpperCp1252(std::string_view s) {
    std::string out(s);
    for (char& ch : out) {
        auto b = static_cast<unsigned char>(ch);
        if (b >= 'a' && b <= 'z')
            ch = static_cast<char>(b - 32);
        else if (b >= 0xE0 && b != 0xF7 && b != 0xFF)
            ch = static_cast<char>(b - 32);
        else if (b == 0x9A || b == 0x9C || b == 0x9E)
            ch = static_cast<char>(b - 16);
        else if (b == 0xFF)
            ch = static_cast<char>(0x9F);
    }
    return out;
}

std::string PadRight(std::string_view s, std::size_t width) {
    std::string out(s.substr(0, width));
    out.resize(width, ' ');
    return out;
}

std::string PadLeft(std::string_view s, std::size_t width) {
    if (s.size() >= width) return std::string(s.substr(s.size() - width));
    return std::string(width - s.size(), ' ') + std::string(s);
}

std::string Center(std::string_view s, std::size_t width) {
    if (s.size() >= width) return std::string(s.substr(0, width));
    std::size_t left = (width - s.size()) / 2;
    return PadRight(std::string(left, ' ') + std::string(s), width);
}

std::string Digits(std::int64_t value, std::size_t width) {
    if (value < 0) value = 0;
    std::string d = std::to_string(value);
    if (d.size() > width) return d.substr(d.size() - width);
    return std::string(width - d.size(), '0') + d;
}

bool AllDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char ch : s)
        if (ch < '0' || ch > '9') return false;
    return true;
}

std::string Money(std::int64_t cents) {
    bool negative = cents < 0;
    std::uint64_t v = negative ? static_cast<std::uint64_t>(-(cents + 1)) + 1 : static_cast<std::uint64_t>(cents);
    std::string units = std::to_string(v / 100);
    std::string grouped;
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (i > 0 && (units.size() - i) % 3 == 0) grouped += '.';
        grouped += units[i];
    }
    std::string frac = std::to_string(v % 100);
    if (frac.size() < 2) frac = "0" + frac;
    return (negative ? "-" : "") + grouped + "," + frac;
}

namespace {
constexpr std::size_t kImpliedCentsDigits = 14;
}

bool ParseMoney(std::string_view text, std::int64_t& cents) {
    std::string t = Trim(text);
    if (t.empty()) {
        cents = 0;
        return true;
    }
    // The fixed-width form of the driver's amount pictures: fourteen digits, the last two the cents.
    if (t.size() == kImpliedCentsDigits && AllDigits(t)) {
        cents = std::stoll(t);
        return true;
    }
    std::size_t sep = t.find_first_of(",.");
    std::string whole = t.substr(0, sep);
    std::string frac = sep == std::string::npos ? "" : t.substr(sep + 1);
    if (whole.empty()) whole = "0";
    if (!AllDigits(whole) || (sep != std::string::npos && !frac.empty() && !AllDigits(frac))) return false;
    if (frac.size() > 2 || whole.size() > 15) return false;
    while (frac.size() < 2) frac += '0';
    cents = std::stoll(whole) * 100 + std::stoll(frac);
    return true;
}

}  // namespace orb::sim
