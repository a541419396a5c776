#include "framework/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <unordered_map>
#include <vector>

#include "framework/Decimal.h"
#include "framework/Exceptions.h"
#include "framework/FormatSettings.h"

namespace orb::fw {

using detail::DecimalForm;

namespace {

constexpr int kPrecision = 15;

std::string SpecialText(const DecimalForm& form) {
    if (form.nan) return "NAN";
    return form.negative ? "-INF" : "INF";
}

// Inserts the thousands separator between groups of three integer digits.
std::string GroupThousands(const std::string& digits, char separator) {
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        out.push_back(digits[i]);
        const std::size_t left = n - i - 1;
        if (left > 0 && left % 3 == 0) out.push_back(separator);
    }
    return out;
}

// Scientific form of the general format: "1E20", "1,5E-7".
std::string GeneralScientific(const DecimalForm& form) {
    std::string out;
    if (form.negative) out.push_back('-');
    out.push_back(form.digits[0]);
    if (form.digits.size() > 1) {
        out.push_back(Settings().DecimalSeparator);
        out.append(form.digits, 1);
    }
    out.push_back('E');
    out += std::to_string(form.exponent - 1);
    return out;
}

std::string FixedText(double value, int decimals, bool thousands) {
    DecimalForm form = detail::ToDecimal(value, kPrecision);
    if (form.nan || form.infinite) return SpecialText(form);
    if (form.exponent > kPrecision) return GeneralScientific(form);
    decimals = std::clamp(decimals, 0, 18);
    detail::RoundHalfAway(form, decimals);
    std::string integer = form.IntegerDigits();
    if (integer.empty()) integer = "0";
    std::string out;
    if (form.negative && !form.IsZero()) out.push_back('-');
    out += thousands ? GroupThousands(integer, Settings().ThousandSeparator) : integer;
    if (decimals > 0) {
        out.push_back(Settings().DecimalSeparator);
        out += form.FractionDigits(decimals);
    }
    return out;
}

// ---- FormatFloat pictures ------------------------------------------------------------------

// One section of a picture, split into items in order.
struct PictureItem {
    enum Kind { Literal, IntPlace, DecimalPoint, DecPlace, Exponent } kind;
    std::string text;   // Literal: the text; Exponent: "E+" / "E-" / "e+" / "e-"
    bool zero = false;  // placeholder '0' (else '#')
    int exponentDigits = 0;
};

struct Picture {
    std::vector<PictureItem> items;
    int intPlaces = 0;
    int minIntDigits = 0;  // placeholders from the first integer '0' on
    int decPlaces = 0;
    int minDecDigits = 0;  // up to the last decimal '0'
    bool thousands = false;
    bool scientific = false;
};

std::vector<std::string> SplitSections(std::string_view picture) {
    std::vector<std::string> sections(1);
    char quote = 0;
    for (char c : picture) {
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            sections.emplace_back();
            continue;
        }
        sections.back().push_back(c);
    }
    return sections;
}

Picture ParsePicture(const std::string& section) {
    Picture p;
    bool afterPoint = false;
    int firstIntZero = -1;
    auto literal = [&p](char c) {
        if (p.items.empty() || p.items.back().kind != PictureItem::Literal) {
            p.items.push_back({PictureItem::Literal, {}, false, 0});
        }
        p.items.back().text.push_back(c);
    };
    for (std::size_t i = 0; i < section.size(); ++i) {
        const char c = section[i];
        if (c == '"' || c == '\'') {
            const std::size_t end = section.find(c, i + 1);
            const std::size_t stop = end == std::string::npos ? section.size() : end;
            for (std::size_t j = i + 1; j < stop; ++j) literal(section[j]);
            i = stop;
        } else if (p.scientific) {
            literal(c);  // everything after the exponent digits is text
        } else if (c == '0' || c == '#') {
            if (afterPoint) {
                ++p.decPlaces;
                if (c == '0') p.minDecDigits = p.decPlaces;
                p.items.push_back({PictureItem::DecPlace, {}, c == '0', 0});
            } else {
                if (c == '0' && firstIntZero < 0) firstIntZero = p.intPlaces;
                ++p.intPlaces;
                p.items.push_back({PictureItem::IntPlace, {}, c == '0', 0});
            }
        } else if (c == '.') {
            if (!afterPoint) {
                afterPoint = true;
                p.items.push_back({PictureItem::DecimalPoint, {}, false, 0});
            }
        } else if (c == ',') {
            if (!afterPoint) p.thousands = true;
        } else if ((c == 'E' || c == 'e') && i + 1 < section.size() &&
                   (section[i + 1] == '+' || section[i + 1] == '-')) {
            PictureItem item{PictureItem::Exponent, std::string{c, section[i + 1]}, false, 0};
            i += 2;
            while (i < section.size() && (section[i] == '0' || section[i] == '#')) {
                if (section[i] == '0') ++item.exponentDigits;
                ++i;
            }
            --i;
            p.items.push_back(item);
            p.scientific = true;
        } else {
            literal(c);
        }
    }
    p.minIntDigits = firstIntZero < 0 ? 0 : p.intPlaces - firstIntZero;
    return p;
}

// Lays the digits into the picture. integer: the integer digits (already padded to the minimum);
// fraction: the decimals to show (already trimmed of optional zeros).
std::string Render(const Picture& p, const std::string& integer, const std::string& fraction,
                   const std::string& exponentText) {
    const FormatSettings& fs = Settings();
    std::string out;
    const int len = static_cast<int>(integer.size());
    int place = 0;                    // integer placeholder index
    int written = 0;                  // integer digits written
    bool pending = p.intPlaces == 0;  // no placeholder takes the integer digits
    auto writeDigit = [&](int index) {
        out.push_back(integer[static_cast<std::size_t>(index)]);
        ++written;
        const int left = len - index - 1;
        if (p.thousands && left > 0 && left % 3 == 0) out.push_back(fs.ThousandSeparator);
    };
    auto flushInteger = [&]() {  // a picture without integer placeholders still shows the integer part
        if (pending) {
            while (written < len) writeDigit(written);
            pending = false;
        }
    };
    int decIndex = 0;
    for (const PictureItem& item : p.items) {
        switch (item.kind) {
            case PictureItem::Literal:
                out += item.text;
                break;
            case PictureItem::IntPlace: {
                const int firstShown = p.intPlaces - len;  // placeholders before this one stay empty
                if (place == 0 && len > p.intPlaces) {
                    for (int i = 0; i <= len - p.intPlaces; ++i) writeDigit(i);
                } else if (place >= firstShown) {
                    writeDigit(place - firstShown);
                }
                ++place;
                break;
            }
            case PictureItem::DecimalPoint:
                flushInteger();
                if (!fraction.empty()) out.push_back(fs.DecimalSeparator);
                break;
            case PictureItem::DecPlace:
                if (decIndex < static_cast<int>(fraction.size()))
                    out.push_back(fraction[static_cast<std::size_t>(decIndex)]);
                ++decIndex;
                break;
            case PictureItem::Exponent:
                flushInteger();
                out += exponentText;
                break;
        }
    }
    flushInteger();
    return out;
}

std::string FormatSection(const Picture& p, DecimalForm form) {
    if (p.scientific) {
        const int intPlaces = std::max(p.intPlaces, 1);
        const int total = intPlaces + p.decPlaces;
        detail::RoundSignificant(form, total);
        int exponent = 0;
        std::string integer, fraction;
        if (!form.IsZero()) {
            exponent = form.exponent - intPlaces;
            DecimalForm mantissa = form;
            mantissa.exponent = intPlaces;
            integer = mantissa.IntegerDigits();
            fraction = mantissa.FractionDigits(p.decPlaces);
        } else {
            fraction = std::string(static_cast<std::size_t>(p.decPlaces), '0');
        }
        while (static_cast<int>(fraction.size()) > p.minDecDigits && fraction.back() == '0') fraction.pop_back();
        std::size_t firstNonZero = integer.find_first_not_of('0');
        integer = firstNonZero == std::string::npos ? std::string() : integer.substr(firstNonZero);
        if (static_cast<int>(integer.size()) < p.minIntDigits) {
            integer.insert(0, static_cast<std::size_t>(p.minIntDigits) - integer.size(), '0');
        }
        std::string exponentText;
        for (const PictureItem& item : p.items) {
            if (item.kind != PictureItem::Exponent) continue;
            std::string digits = std::to_string(std::abs(exponent));
            if (static_cast<int>(digits.size()) < item.exponentDigits) {
                digits.insert(0, static_cast<std::size_t>(item.exponentDigits) - digits.size(), '0');
            }
            exponentText.push_back(item.text[0]);
            if (exponent < 0)
                exponentText.push_back('-');
            else if (item.text[1] == '+')
                exponentText.push_back('+');
            exponentText += digits;
        }
        return Render(p, integer, fraction, exponentText);
    }
    detail::RoundHalfAway(form, p.decPlaces);
    std::string integer = form.IntegerDigits();
    if (static_cast<int>(integer.size()) < p.minIntDigits) {
        integer.insert(0, static_cast<std::size_t>(p.minIntDigits) - integer.size(), '0');
    }
    std::string fraction = form.FractionDigits(p.decPlaces);
    while (static_cast<int>(fraction.size()) > p.minDecDigits && fraction.back() == '0') fraction.pop_back();
    return Render(p, integer, fraction, {});
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string FloatError(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid floating point value";
}

std::string IntegerError(std::string_view text) { return "'" + std::string(text) + "' is not a valid integer value"; }

// Integer text: optional sign, decimal digits or hexadecimal after '$' or "0x".
bool ParseInt64(std::string_view text, std::int64_t& out) {
    std::string_view s = TrimBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (!s.empty() && s.front() == '$') {
        base = 16;
        s.remove_prefix(1);
    } else if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty()) return false;
    std::uint64_t magnitude = 0;
    const auto result = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
    if (result.ec != std::errc() || result.ptr != s.data() + s.size()) return false;
    constexpr std::uint64_t maxPositive = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (negative) {
        if (magnitude > maxPositive + 1) return false;
        out = magnitude == maxPositive + 1 ? std::numeric_limits<std::int64_t>::min()
                                           : -static_cast<std::int64_t>(magnitude);
    } else {
        if (magnitude > maxPositive) return false;
        out = static_cast<std::int64_t>(magnitude);
    }
    return true;
}

// A picture split into its sections and each section parsed. The module formats every amount
// with a handful of pictures, so each is parsed once per thread; the cache is capped so a caller
// formatting with ever-new pictures cannot grow it without end.
struct ParsedPicture {
    std::vector<std::string> sections;
    std::vector<Picture> parsed;
};

const ParsedPicture& Parsed(std::string_view picture) {
    constexpr std::size_t kMaxPictures = 64;
    thread_local std::unordered_map<std::string, ParsedPicture> cache;
    if (const auto found = cache.find(std::string(picture)); found != cache.end()) return found->second;
    if (cache.size() >= kMaxPictures) cache.clear();
    ParsedPicture entry;
    entry.sections = SplitSections(picture);
    for (const std::string& section : entry.sections) entry.parsed.push_back(ParsePicture(section));
    return cache.emplace(std::string(picture), std::move(entry)).first->second;
}

}  // namespace

std::string FormatFloat(std::string_view picture, double value) {
    DecimalForm form = detail::ToDecimal(value, kPrecision);
    if (picture.empty() || form.nan || form.infinite || form.exponent > 18) return FloatToStr(value);
    const ParsedPicture& parsed = Parsed(picture);
    const std::vector<std::string>& sections = parsed.sections;
    auto has = [&sections](std::size_t i) { return i < sections.size() && !sections[i].empty(); };

    std::size_t index = 0;
    bool sign = false;
    if (form.IsZero()) {
        index = has(2) ? 2 : 0;
    } else if (form.negative) {
        if (has(1))
            index = 1;
        else
            sign = true;
    }
    const Picture& p = parsed.parsed[index];
    DecimalForm magnitude = form;
    magnitude.negative = false;
    // A value that rounds to zero is shown as zero: through the zero section, and never as "-0,00".
    if (!form.IsZero() && !p.scientific) {
        DecimalForm rounded = magnitude;
        detail::RoundHalfAway(rounded, p.decPlaces);
        if (rounded.IsZero()) {
            magnitude = rounded;
            sign = false;
            if (has(2)) return FormatSection(parsed.parsed[2], magnitude);
        }
    }
    std::string text = FormatSection(p, magnitude);
    return sign ? "-" + text : text;
}

std::string FloatToStr(double value) {
    const DecimalForm form = detail::ToDecimal(value, kPrecision);
    if (form.nan || form.infinite) return SpecialText(form);
    if (form.IsZero()) return "0";
    if (form.exponent > kPrecision || form.exponent < -3) return GeneralScientific(form);
    std::string out;
    if (form.negative) out.push_back('-');
    std::string integer = form.IntegerDigits();
    out += integer.empty() ? "0" : integer;
    const int decimals = static_cast<int>(form.digits.size()) - form.exponent;
    if (decimals > 0) {
        out.push_back(Settings().DecimalSeparator);
        out += form.FractionDigits(decimals);
    }
    return out;
}

std::string FloatToStrFixed(double value, int decimals) { return FixedText(value, decimals, false); }

std::string FloatToStrNumber(double value, int decimals) { return FixedText(value, decimals, true); }

std::string FloatToStrCurrency(double value, int decimals) {
    const FormatSettings& fs = Settings();
    const std::string amount = FixedText(std::fabs(value), decimals, true);
    const std::string& sym = fs.CurrencyString;
    const bool negative = value < 0 && FixedText(value, decimals, false).front() == '-';
    if (!negative) {
        switch (fs.CurrencyFormat) {
            case 0:
                return sym + amount;
            case 1:
                return amount + sym;
            case 2:
                return sym + " " + amount;
            default:
                return amount + " " + sym;
        }
    }
    switch (fs.NegCurrFormat) {
        case 0:
            return "(" + sym + amount + ")";
        case 1:
            return "-" + sym + amount;
        case 2:
            return sym + "-" + amount;
        case 3:
            return sym + amount + "-";
        case 4:
            return "(" + amount + sym + ")";
        case 5:
            return "-" + amount + sym;
        case 6:
            return amount + "-" + sym;
        case 7:
            return amount + sym + "-";
        case 8:
            return "-" + amount + " " + sym;
        case 9:
            return "-" + sym + " " + amount;
        case 10:
            return amount + " " + sym + "-";
        case 11:
            return sym + " " + amount + "-";
        case 12:
            return sym + " -" + amount;
        case 13:
            return amount + "- " + sym;
        case 14:
            return "(" + sym + " " + amount + ")";
        default:
            return "(" + amount + " " + sym + ")";
    }
}

std::string IntToStr(std::int64_t value) { return std::to_string(value); }

std::string IntToStrPadded(std::int64_t value, int width) {
    const bool negative = value < 0;
    std::string digits = std::to_string(value);
    if (negative) digits.erase(0, 1);
    if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    return negative ? "-" + digits : digits;
}

bool TryStrToFloat(std::string_view text, double& out) {
    const char decimal = Settings().DecimalSeparator;
    std::string_view s = TrimBlanks(text);
    std::string normal;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) normal.push_back(s[i++]);
    bool anyDigit = false;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        normal.push_back(s[i++]);
        anyDigit = true;
    }
    if (i < s.size() && s[i] == decimal) {
        normal.push_back('.');
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            normal.push_back(s[i++]);
            anyDigit = true;
        }
    }
    if (!anyDigit) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        normal.push_back('e');
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) normal.push_back(s[i++]);
        bool exponentDigit = false;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            normal.push_back(s[i++]);
            exponentDigit = true;
        }
        if (!exponentDigit) return false;
    }
    if (i != s.size()) return false;
    const char* begin = normal.data();
    if (*begin == '+') ++begin;
    double value = 0.0;
    const auto result = std::from_chars(begin, normal.data() + normal.size(), value);
    if (result.ec != std::errc() || result.ptr != normal.data() + normal.size()) return false;
    if (!std::isfinite(value)) return false;
    out = value;
    return true;
}

double StrToFloat(std::string_view text) {
    double value = 0.0;
    if (!TryStrToFloat(text, value)) throw EConvertError(FloatError(text));
    return value;
}

double StrToFloatDef(std::string_view text, double fallback) {
    double value = 0.0;
    return TryStrToFloat(text, value) ? value : fallback;
}

bool TryStrToInt(std::string_view text, int& out) {
    std::int64_t value = 0;
    if (!ParseInt64(text, value)) return false;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) return false;
    out = static_cast<int>(value);
    return true;
}

int StrToInt(std::string_view text) {
    int value = 0;
    if (!TryStrToInt(text, value)) throw EConvertError(IntegerError(text));
    return value;
}

int StrToIntDef(std::string_view text, int fallback) {
    int value = 0;
    return TryStrToInt(text, value) ? value : fallback;
}

std::int64_t StrToInt64(std::string_view text) {
    std::int64_t value = 0;
    if (!ParseInt64(text, value)) throw EConvertError(IntegerError(text));
    return value;
}

double DecimalRound(double value, int places) {
    DecimalForm form = detail::ToDecimal(value, kPrecision);
    if (form.nan || form.infinite) return value;
    detail::RoundHalfAway(form, places);
    return detail::ToDouble(form);
}

double DecimalTruncate(double value, int places) {
    DecimalForm form = detail::ToDecimal(value, kPrecision);
    if (form.nan || form.infinite) return value;
    detail::TruncateDecimals(form, places);
    return detail::ToDouble(form);
}

namespace {

// Infinities, not-a-number and results beyond a double's range are left to the binary operation.
template <class Exact>
double DecimalOperation(double a, double b, double binary, Exact exact) {
    const DecimalForm x = detail::ToDecimal(a, kPrecision);
    const DecimalForm y = detail::ToDecimal(b, kPrecision);
    if (!std::isfinite(binary) || x.nan || x.infinite || y.nan || y.infinite) return binary;
    DecimalForm result = exact(x, y);
    detail::RoundSignificant(result, kPrecision);
    const double value = detail::ToDouble(result);
    return result.IsZero() || (std::isfinite(value) && value != 0) ? value : binary;
}

}  // namespace

double DecimalAdd(double a, double b) { return DecimalOperation(a, b, a + b, detail::Add); }

double DecimalSubtract(double a, double b) { return DecimalAdd(a, -b); }

double DecimalMultiply(double a, double b) { return DecimalOperation(a, b, a * b, detail::Multiply); }

}  // namespace orb::fw
