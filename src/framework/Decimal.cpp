#include "framework/Decimal.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

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
    const std::string text = "0." + form.digits + "e" + std::to_string(form.exponent);
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return form.negative ? -value : value;
}

}  // namespace orb::fw::detail
