#include "framework/Decimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace orb::fw::detail {

namespace {

void StripTrailingZeros(DecimalForm& form) {
    while (!form.digits.empty() && form.digits.back() == '0') form.digits.pop_back();
    if (form.digits.empty()) form.exponent = 0;
}

// Keeps the first n digits; rounds up (away from zero) when the next digit is 5 or more.
void KeepDigits(DecimalForm& form, int n, bool roundUp) {
    if (form.digits.empty() || n >= static_cast<int>(form.digits.size())) return;
    if (n < 0) {
        form.digits.clear();
        form.exponent = 0;
        return;
    }
    const bool up = roundUp && form.digits[static_cast<std::size_t>(n)] >= '5';
    form.digits.resize(static_cast<std::size_t>(n));
    if (up) {
        int i = n - 1;
        while (i >= 0 && form.digits[static_cast<std::size_t>(i)] == '9') {
            form.digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++form.digits[static_cast<std::size_t>(i)];
        } else {
            form.digits.insert(form.digits.begin(), '1');
            ++form.exponent;
        }
    }
    StripTrailingZeros(form);
}

// Whole-number digit strings, most significant first, for the exact sum and product.
std::string StripLeadingZeros(std::string digits) {
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? std::string() : digits.substr(first);
}

// -1, 0 or 1 as a is smaller than, equal to or greater than b (both without leading zeros).
int CompareMagnitude(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : a == b ? 0 : 1;
}

std::string AddDigits(const std::string& a, const std::string& b) {
    std::string out;
    int carry = 0;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()) || carry; ++i) {
        int sum = carry;
        if (i < a.size()) sum += a[a.size() - 1 - i] - '0';
        if (i < b.size()) sum += b[b.size() - 1 - i] - '0';
        out.push_back(static_cast<char>('0' + sum % 10));
        carry = sum / 10;
    }
    std::reverse(out.begin(), out.end());
    return out;
}

// a - b, with a not smaller than b.
std::string SubtractDigits(const std::string& a, const std::string& b) {
    std::string out;
    int borrow = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        int digit = a[a.size() - 1 - i] - '0' - borrow;
        if (i < b.size()) digit -= b[b.size() - 1 - i] - '0';
        borrow = digit < 0 ? 1 : 0;
        out.push_back(static_cast<char>('0' + digit + 10 * borrow));
    }
    std::reverse(out.begin(), out.end());
    return StripLeadingZeros(out);
}

// The form of negative * digits * 10^scale.
DecimalForm FromDigits(bool negative, const std::string& digits, int scale) {
    DecimalForm form;
    form.digits = StripLeadingZeros(digits);
    if (form.digits.empty()) return form;
    form.negative = negative;
    form.exponent = static_cast<int>(form.digits.size()) + scale;
    StripTrailingZeros(form);
    return form;
}

// Powers of ten up to 1e22 are exact doubles.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Digit strings of up to 18 digits are worked as whole numbers: their sum and, up to 19 digits
// between the two factors, their product stay below 2^64.
bool Whole(const std::string& digits, std::uint64_t& value) {
    if (digits.size() > 18) return false;
    value = 0;
    for (const char c : digits) value = value * 10 + static_cast<std::uint64_t>(c - '0');
    return true;
}

std::string DigitsOf(std::uint64_t value) {
    char text[24];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// The power of ten of the last digit.
int Scale(const DecimalForm& form) { return form.exponent - static_cast<int>(form.digits.size()); }

}  // namespace

std::string DecimalForm::IntegerDigits() const {
    if (digits.empty() || exponent <= 0) return {};
    std::string out =
        digits.substr(0, static_cast<std::size_t>(std::min<int>(exponent, static_cast<int>(digits.size()))));
    if (static_cast<int>(out.size()) < exponent) out.append(static_cast<std::size_t>(exponent) - out.size(), '0');
    return out;
}

std::string DecimalForm::FractionDigits(int count) const {
    std::string out;
    out.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        const int index = exponent + i;  // position in digits of the (i+1)-th decimal
        if (index >= 0 && index < static_cast<int>(digits.size())) {
            out.push_back(digits[static_cast<std::size_t>(index)]);
        } else {
            out.push_back('0');
        }
    }
    return out;
}

namespace {

// Amounts, quantities and rates have a few decimals: n / 10^k for a whole n of at most 15 digits.
// When that quotient is the value itself, n's digits are the value's decimal form (the value lies
// within half a binary unit of it, far less than half a unit of its last digit), read without
// any text conversion.
bool FewDecimals(double magnitude, int significant, DecimalForm& form) {
    for (int k = 0; k < 5; ++k) {
        const double scaled = std::nearbyint(magnitude * kPowersOfTen[k]);
        if (!(scaled < 1e15)) return false;
        if (scaled == 0 || scaled / kPowersOfTen[k] != magnitude) continue;
        std::string digits = DigitsOf(static_cast<std::uint64_t>(scaled));
        const int length = static_cast<int>(digits.size());
        digits.erase(digits.find_last_not_of('0') + 1);
        if (static_cast<int>(digits.size()) > significant) return false;
        form.digits = std::move(digits);
        form.exponent = length - k;
        return true;
    }
    return false;
}

}  // namespace

DecimalForm ToDecimal(double value, int significant) {
    DecimalForm form;
    form.negative = std::signbit(value);
    if (std::isnan(value)) {
        form.nan = true;
        form.negative = false;
        return form;
    }
    if (std::isinf(value)) {
        form.infinite = true;
        return form;
    }
    if (value == 0.0) {
        form.negative = false;
        return form;
    }
    if (significant < 1) significant = 1;
    if (significant > 17) significant = 17;
    if (significant <= 15 && FewDecimals(std::fabs(value), significant, form)) return form;
    char buffer[64];
    // The shortest text that reads back as the value is cheap to make. When it has no more digits
    // than asked for, it is also the rounding to that many digits: the value lies within half a
    // binary unit of it, far less than half a unit of the 15th decimal digit. Otherwise the
    // rounding itself is asked for.
    auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific);
    std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    auto e = text.find('e');
    const std::size_t shortestDigits = e - (e > 1 ? 1 : 0);  // "d.ddd" or "d"
    if (significant > 15 || shortestDigits > static_cast<std::size_t>(significant)) {
        result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific,
                               significant - 1);
        text = std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer));
        e = text.find('e');
    }
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] >= '0' && text[i] <= '9') form.digits.push_back(text[i]);
    }
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(), exponent);
    form.exponent = exponent + 1;
    StripTrailingZeros(form);
    return form;
}

void RoundHalfAway(DecimalForm& form, int decimals) { KeepDigits(form, form.exponent + decimals, true); }

void TruncateDecimals(DecimalForm& form, int decimals) { KeepDigits(form, form.exponent + decimals, false); }

void RoundSignificant(DecimalForm& form, int n) { KeepDigits(form, n, true); }

double ToDouble(const DecimalForm& form) {
    if (form.nan) return std::nan("");
    if (form.infinite) return form.negative ? -HUGE_VAL : HUGE_VAL;
    if (form.digits.empty()) return 0.0;
    // Up to 15 digits are an exact integer, and powers of ten up to 1e22 are exact doubles: one
    // multiplication or division of the two is then the correctly rounded value, the same double
    // the text conversion gives.
    if (std::uint64_t digits = 0; form.digits.size() <= 15 && Whole(form.digits, digits)) {
        const int scale = Scale(form);
        if (scale >= -22 && scale <= 22) {
            const double magnitude = scale < 0 ? static_cast<double>(digits) / kPowersOfTen[-scale]
                                               : static_cast<double>(digits) * kPowersOfTen[scale];
            return form.negative ? -magnitude : magnitude;
        }
    }
    const std::string text = "0." + form.digits + "e" + std::to_string(form.exponent);
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return form.negative ? -value : value;
}

DecimalForm Add(const DecimalForm& a, const DecimalForm& b) {
    if (a.IsZero()) return b;
    if (b.IsZero()) return a;
    // Both on the scale of the finer one.
    const int scale = std::min(Scale(a), Scale(b));
    const std::string x = a.digits + std::string(static_cast<std::size_t>(Scale(a) - scale), '0');
    const std::string y = b.digits + std::string(static_cast<std::size_t>(Scale(b) - scale), '0');
    if (std::uint64_t m = 0, n = 0; Whole(x, m) && Whole(y, n)) {
        if (a.negative == b.negative) return FromDigits(a.negative, DigitsOf(m + n), scale);
        if (m == n) return {};
        return m > n ? FromDigits(a.negative, DigitsOf(m - n), scale) : FromDigits(b.negative, DigitsOf(n - m), scale);
    }
    if (a.negative == b.negative) return FromDigits(a.negative, AddDigits(x, y), scale);
    const int order = CompareMagnitude(x, y);
    if (order == 0) return {};
    return order > 0 ? FromDigits(a.negative, SubtractDigits(x, y), scale)
                     : FromDigits(b.negative, SubtractDigits(y, x), scale);
}

DecimalForm Multiply(const DecimalForm& a, const DecimalForm& b) {
    if (a.IsZero() || b.IsZero()) return {};
    if (std::uint64_t m = 0, n = 0; a.digits.size() + b.digits.size() <= 19 && Whole(a.digits, m) && Whole(b.digits, n))
        return FromDigits(a.negative != b.negative, DigitsOf(m * n), Scale(a) + Scale(b));
    std::vector<int> sums(a.digits.size() + b.digits.size(), 0);
    for (std::size_t i = 0; i < a.digits.size(); ++i)
        for (std::size_t j = 0; j < b.digits.size(); ++j) sums[i + j + 1] += (a.digits[i] - '0') * (b.digits[j] - '0');
    std::string digits(sums.size(), '0');
    int carry = 0;
    for (std::size_t k = sums.size(); k-- > 0;) {
        const int value = sums[k] + carry;
        digits[k] = static_cast<char>('0' + value % 10);
        carry = value / 10;
    }
    return FromDigits(a.negative != b.negative, digits, Scale(a) + Scale(b));
}

}  // namespace orb::fw::detail
