#pragma once
// The decimal form of a double at 15 significant digits, the form every money rounding and every
// picture works on. Internal to the framework.
#include <string>

namespace orb::fw::detail {

// value = (negative ? -1 : 1) * 0.d1d2d3... * 10^exponent; digits carry no trailing zeros and are
// empty for zero. Infinite and not-a-number values are flagged and carry no digits.
struct DecimalForm {
    bool negative = false;
    bool infinite = false;
    bool nan = false;
    std::string digits;
    int exponent = 0;

    bool IsZero() const { return !infinite && !nan && digits.empty(); }
    // Digits before the decimal point ("" when the integer part is 0) and after it (exactly count).
    std::string IntegerDigits() const;
    std::string FractionDigits(int count) const;
};

DecimalForm ToDecimal(double value, int significant = 15);
// Keep at most `decimals` digits after the decimal point (negative: round to tens, hundreds...).
void RoundHalfAway(DecimalForm& form, int decimals);
void TruncateDecimals(DecimalForm& form, int decimals);
// Keep at most n significant digits, rounding half away from zero.
void RoundSignificant(DecimalForm& form, int n);
double ToDouble(const DecimalForm& form);

// Exact sum and product of two finite forms (digits as long as the result needs).
DecimalForm Add(const DecimalForm& a, const DecimalForm& b);
DecimalForm Multiply(const DecimalForm& a, const DecimalForm& b);

}  // namespace orb::fw::detail
