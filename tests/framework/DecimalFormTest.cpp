// The decimal form every rounding works on must be the value rounded to the digits asked for,
// whichever way it is produced.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <tuple>

#include "framework/Decimal.h"

namespace {

using orb::fw::detail::DecimalForm;
using orb::fw::detail::ToDecimal;
using orb::fw::detail::ToDouble;

// The rounding to n significant digits as the standard library writes it, trailing zeros dropped.
DecimalForm Reference(double value, int n) {
    DecimalForm form;
    form.negative = std::signbit(value);
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, n - 1).ptr;
    const std::string text(buffer, end);
    const auto e = text.find('e');
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.') form.digits.push_back(text[i]);
    form.exponent = std::stoi(text.substr(e + 1)) + 1;
    while (!form.digits.empty() && form.digits.back() == '0') form.digits.pop_back();
    return form;
}

std::tuple<std::string, int, bool> Parts(const DecimalForm& form) {
    return {form.digits, form.exponent, form.negative};
}

void ExpectSame(double value, int n) {
    ASSERT_EQ(Parts(ToDecimal(value, n)), Parts(Reference(value, n))) << value << " at " << n << " digits";
}

TEST(DecimalForm, IsTheRoundingToTheDigitsAskedFor) {
    // Amounts the till handles, sums that binary arithmetic leaves a hair off, and values whose
    // shortest text is longer than fifteen digits.
    // clang-format off
    for (const double v : {0.1, 0.3, 0.1 + 0.2, 5.0 - 4.99, 3.0 - 2.99, 0.3 - 0.1 - 0.2, 3 * 0.1, 1.005, 2.675,
                           123456789012345.6, 9999999999999.995, 1e-7, 0.000123456789012345678, -45.9, 1e15, 1e17,
                           9.99999999999999, 99999999999999.9, 999999999999999.0, 0.00001, 12.3456, 1234.56789})
        // clang-format on
        for (int n : {15, 14, 4, 2, 1}) ExpectSame(v, n);

    std::mt19937_64 random(20261206);
    std::uniform_int_distribution<long long> cents(-100000000000LL, 100000000000LL);
    std::uniform_real_distribution<double> exponent(-8.0, 16.0);
    std::uniform_int_distribution<int> digits(1, 15);
    for (int i = 0; i < 20000; ++i) {
        ExpectSame(static_cast<double>(cents(random)) / 100.0, 15);
        ExpectSame(static_cast<double>(cents(random)) / 1000.0 * 3.0, digits(random));
        ExpectSame(std::pow(10.0, exponent(random)), digits(random));
        ExpectSame(static_cast<double>(cents(random)) / 10000.0, digits(random));
    }
}

TEST(DecimalForm, ReadsBackAsTheNearestDouble) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<long long> mantissa(1, 999999999999999LL);
    std::uniform_int_distribution<int> exponent(-30, 30);
    for (int i = 0; i < 20000; ++i) {
        DecimalForm form;
        form.digits = std::to_string(mantissa(random));
        while (form.digits.back() == '0') form.digits.pop_back();
        form.exponent = exponent(random);
        form.negative = i % 2 == 1;
        const std::string text = (form.negative ? "-0." : "0.") + form.digits + "e" + std::to_string(form.exponent);
        double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        ASSERT_EQ(ToDouble(form), expected) << text;
    }
}

#ifdef __SIZEOF_INT128__  // 64-bit compilers only
// The exact sum and product as whole numbers of 128 bits, to hold the digit arithmetic against.
__extension__ typedef __int128 Int128;

DecimalForm Exact(bool negative, Int128 magnitude, int scale) {
    DecimalForm form;
    if (magnitude < 0) {
        magnitude = -magnitude;
        negative = !negative;
    }
    std::string digits;
    for (; magnitude > 0; magnitude /= 10) digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
        ++scale;
    }
    if (digits.empty()) return form;
    form.negative = negative;
    form.digits = digits;
    form.exponent = static_cast<int>(digits.size()) + scale;
    return form;
}

TEST(DecimalForm, SumsAndProductsAreExact) {
    std::mt19937_64 random(11);
    std::uniform_int_distribution<int> length(1, 15);
    std::uniform_int_distribution<int> scale(-6, 6);
    auto make = [&](Int128& whole, int& power) {
        DecimalForm form;
        const int n = length(random);
        std::uniform_int_distribution<long long> digits(1, 999999999999999LL);
        long long value = digits(random);
        while (std::to_string(value).size() > static_cast<std::size_t>(n)) value /= 10;
        while (value % 10 == 0) value /= 10;
        power = scale(random);
        form = Exact(random() % 2 == 1, value, power);
        whole = form.negative ? -static_cast<Int128>(value) : value;
        return form;
    };
    for (int i = 0; i < 20000; ++i) {
        Int128 x = 0, y = 0;
        int px = 0, py = 0;
        const DecimalForm a = make(x, px), b = make(y, py);
        const int common = std::min(px, py);
        Int128 sx = x, sy = y;
        for (int k = common; k < px; ++k) sx *= 10;
        for (int k = common; k < py; ++k) sy *= 10;
        ASSERT_EQ(Parts(orb::fw::detail::Add(a, b)), Parts(Exact(false, sx + sy, common)));
        ASSERT_EQ(Parts(orb::fw::detail::Multiply(a, b)), Parts(Exact(false, x * y, px + py)));
    }
}
#endif

}  // namespace
