#pragma once
// Delphi-compatible number formatting and parsing, under Settings().
// Rounding works on the value's decimal form at 15 significant digits, half away from zero,
// so "0.00" of 2.675 gives "2,68" although the binary double is 2.67499999...
#include <cstdint>
#include <string>
#include <string_view>

namespace orb::fw {

// FormatFloat: pictures with 0 # . , literal text ("..." or '...'), E+/E- and up to three
// sections separated by ';' (positive;negative;zero). Without a negative section a negative value
// gets "-" in front of the whole text; a value that rounds to zero at the picture's decimals is
// written as zero (zero section when there is one, never "-0,00"). An empty picture, infinity,
// not-a-number and magnitudes of 1E18 and more are written as by FloatToStr.
std::string FormatFloat(std::string_view picture, double value);
// FloatToStr: general format, 15 significant digits, shortest form ("12,5", "0,1", "1E20");
// exponent form above 15 integer digits and below 0,0001 ("1E-5"); "INF", "-INF", "NAN".
std::string FloatToStr(double value);
// Fixed-point with n decimals and no thousands separator (FloatToStrF(ffFixed, 15, n)).
std::string FloatToStrFixed(double value, int decimals);
// Fixed-point with n decimals and thousands separators (ffNumber).
std::string FloatToStrNumber(double value, int decimals);
// Currency with n decimals and thousands separators, placed by the settings' CurrencyString,
// CurrencyFormat and NegCurrFormat (FloatToStrF(ffCurrency, 15, n)).
std::string FloatToStrCurrency(double value, int decimals = 2);
std::string IntToStr(std::int64_t value);
// Zero-padded to width digits (Format('%.*d')); negative numbers keep their sign in front.
std::string IntToStrPadded(std::int64_t value, int width);

// Parsing. Leading and trailing blanks are allowed; the decimal separator is Settings()'s.
// Failures raise EConvertError with the host's message naming the text:
//   "'abc' is not a valid floating point value", "'abc' is not a valid integer value".
double StrToFloat(std::string_view text);
double StrToFloatDef(std::string_view text, double fallback);
bool TryStrToFloat(std::string_view text, double& out);
int StrToInt(std::string_view text);
int StrToIntDef(std::string_view text, int fallback);
bool TryStrToInt(std::string_view text, int& out);
std::int64_t StrToInt64(std::string_view text);

// Money arithmetic on the decimal form at 15 significant digits.
double DecimalRound(double value, int places);     // half away from zero
double DecimalTruncate(double value, int places);  // toward zero: 10.999 -> 10.99, 0.29 -> 0.29
// Sum, difference and product worked on both decimal forms, exact, then kept at 15 significant
// digits: 5 - 4,99 is 0,01 and 3 x 0,1 is 0,3, where the binary results lie just beside them.
double DecimalAdd(double a, double b);
double DecimalSubtract(double a, double b);
double DecimalMultiply(double a, double b);

}  // namespace orb::fw
