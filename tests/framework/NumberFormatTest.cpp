#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "FrameworkTestSupport.h"
#include "framework/FormatSettings.h"
#include "framework/NumberFormat.h"

using namespace orb::fw;
using orb::fw::test::MessageOf;
using orb::fw::test::Strings;

using NumberFormatTest = orb::fw::test::DefaultSettings;

TEST_F(NumberFormatTest, PicturesSectionsAndLiterals) {
    using Cases = std::vector<std::pair<double, const char*>>;
    const struct {
        const char* picture;
        Cases cases;  // value, text
    } pictures[] = {
        // Rounding is half away from zero on the 15-digit decimal form (1234,565 rounds up although
        // the double is below it), and never shows "-0,00".
        {"0.00", {{12.5, "12,50"}, {1234.565, "1234,57"}, {1.005, "1,01"}, {-2.675, "-2,68"}, {-0.001, "0,00"}}},
        // 999,995 carries into a new thousands group.
        {"#,##0.00", {{1234567.891, "1.234.567,89"}, {999.995, "1.000,00"}, {0.5, "0,50"}, {-1234.5, "-1.234,50"}}},
        {"#,##0", {{1234.5, "1.235"}}},
        {",##0", {{1234567.0, "1.234.567"}}},
        // More integer digits than placeholders: all are shown.
        {"0000.000", {{1.2346, "0001,235"}, {0.3333, "0000,333"}, {12345.6, "12345,600"}}},
        {"#0.00", {{0.25, "0,25"}}},
        {".00", {{0.5, ",50"}, {12.5, "12,50"}}},
        {"0.00#", {{1.5, "1,50"}, {1.2345, "1,235"}}},
        {"0", {{2.5, "3"}, {-2.5, "-3"}}},
        {"#.##", {{0.0, ""}}},
        {"0.##", {{1.0, "1"}}},
        {"", {{12.5, "12,5"}}},
        {"0.00E+00", {{12345.678, "1,23E+04"}}},
        {"0.00E-00", {{0.00012345, "1,23E-04"}}},
        // A value that rounds to zero takes the zero section and never shows "-0".
        {"\"R$ \"#,##0.00;(#,##0.00);\"zero\"",
         {{1234.5, "R$ 1.234,50"}, {-1234.5, "(1.234,50)"}, {0.0, "zero"}, {-0.001, "zero"}}},
        // Without a negative section the sign goes in front of everything, literals included.
        {"'Total: '0.00", {{-5.0, "-Total: 5,00"}}},
        {"0.00;;'nada'", {{0.0, "nada"}, {-1.0, "-1,00"}}},
        {"0' ; '0", {{12.0, "1 ; 2"}}},  // a separator inside quotes is text, not a section break
    };
    for (const auto& p : pictures)
        for (const auto& [value, expected] : p.cases)
            EXPECT_EQ(FormatFloat(p.picture, value), expected) << p.picture << " of " << value;
}

TEST_F(NumberFormatTest, SettingsSwitchSeparatorsAndComeBack) {
    {
        FormatSettings us;
        us.DecimalSeparator = '.';
        us.ThousandSeparator = ',';
        ScopedSettings scoped(us);
        EXPECT_EQ((Strings{FormatFloat("#,##0.00", 1234567.891), FloatToStr(12.5), FloatToStrNumber(1234.5, 2)}),
                  (Strings{"1,234,567.89", "12.5", "1,234.50"}));
        EXPECT_DOUBLE_EQ(StrToFloat("12.5"), 12.5);
        EXPECT_THROW(StrToFloat("12,5"), EConvertError);
    }
    EXPECT_EQ(FormatFloat("0.00", 1.0), "1,00");
}

TEST_F(NumberFormatTest, FloatToStrShortestForm) {
    // 15 significant digits hide the binary residue of 0,1 + 0,2.
    // clang-format off
    const std::pair<double, const char*> cases[] = {
        {100.0, "100"}, {-7.25, "-7,25"}, {-0.0, "0"}, {0.1 + 0.2, "0,3"}, {1.0 / 3.0, "0,333333333333333"},
        {123456789012345.0, "123456789012345"}, {1e15, "1E15"}, {1.5e20, "1,5E20"}, {0.0001, "0,0001"},
        {0.00001, "1E-5"}, {-1.5e-7, "-1,5E-7"}, {std::numeric_limits<double>::infinity(), "INF"},
        {std::nan(""), "NAN"}};
    // clang-format on
    for (const auto& [value, expected] : cases) EXPECT_EQ(FloatToStr(value), expected) << value;
}

TEST_F(NumberFormatTest, FixedNumberCurrencyAndIntegers) {
    // 1,25 x 3,99 rounds to 4,99 where truncation gives 4,98.
    EXPECT_EQ((Strings{FloatToStrFixed(1234.565, 2), FloatToStrFixed(2.0, 0), FloatToStrFixed(-0.004, 2),
                       FloatToStrFixed(0.5, 3), FloatToStrFixed(1.25 * 3.99, 2), FloatToStrNumber(1234567.5, 2),
                       FloatToStrNumber(-999.999, 2), FloatToStrCurrency(1234.5), FloatToStrCurrency(-1234.5),
                       FloatToStrCurrency(-0.001), IntToStr(-42), IntToStrPadded(42, 6), IntToStrPadded(-42, 4),
                       IntToStrPadded(123456, 4)}),
              (Strings{"1234,57", "2", "0,00", "0,500", "4,99", "1.234.567,50", "-1.000,00", "R$ 1.234,50",
                       "-R$ 1.234,50", "R$ 0,00", "-42", "000042", "-0042", "123456"}));
    FormatSettings other;
    other.CurrencyString = "EUR";
    other.CurrencyFormat = 3;
    other.NegCurrFormat = 8;
    ScopedSettings scoped(other);
    EXPECT_EQ(FloatToStrCurrency(5.0) + "|" + FloatToStrCurrency(-5.0), "5,00 EUR|-5,00 EUR");
}

TEST_F(NumberFormatTest, ParsingAcceptsTheHostsForms) {
    const struct {
        const char* text;
        double expected;
    } floats[] = {
        {"12,5", 12.5}, {"  -3,25  ", -3.25}, {"+7", 7.0}, {",5", 0.5}, {"5,", 5.0}, {"1,5E3", 1500.0}, {"1e-2", 0.01},
    };
    for (const auto& c : floats) EXPECT_DOUBLE_EQ(StrToFloat(c.text), c.expected) << c.text;
    EXPECT_EQ((std::vector{StrToInt(" 42 "), StrToInt("-2147483648"), StrToInt("$FF"), StrToInt("0x10")}),
              (std::vector{42, -2147483647 - 1, 255, 16}));
    EXPECT_EQ(StrToInt64("9223372036854775807"), 9223372036854775807LL);
    EXPECT_EQ(StrToIntDef("x", 7), 7);
    EXPECT_DOUBLE_EQ(StrToFloatDef("", 1.5), 1.5);
}

TEST_F(NumberFormatTest, ParsingFailuresNameTheText) {
    // "1.234,5": no thousands separators in a number to parse.
    for (const char* text : {"abc", "", "1.234,5", "12,5x", "1E", "1E999", "-"}) {
        EXPECT_EQ(MessageOf<EConvertError>([&] { StrToFloat(text); }),
                  "'" + std::string(text) + "' is not a valid floating point value");
    }
    for (const char* text : {"abc", "12,5", "2147483648", ""}) {
        EXPECT_EQ(MessageOf<EConvertError>([&] { StrToInt(text); }),
                  "'" + std::string(text) + "' is not a valid integer value");
    }
    EXPECT_THROW(StrToInt64("99999999999999999999"), EConvertError);
    int out = 5;
    EXPECT_FALSE(TryStrToInt("1 2", out));
    EXPECT_EQ(out, 5);
}

TEST_F(NumberFormatTest, MoneyRoundingAndTruncationOnTheDecimalForm) {
    // Each value with its digits, rounded and truncated: truncation goes toward zero, and the double
    // 0.28999... of 0,29 or the 7.9999999999999991 of (0,1 + 0,7) x 10 must not lose a cent.
    const struct {
        double value;
        int digits;
        double rounded, truncated;
    } cases[] = {
        {1234.565, 2, 1234.57, 1234.56},
        {-2.675, 2, -2.68, -2.67},
        {9.995, 2, 10.0, 9.99},
        {1234.5, 0, 1235.0, 1234.0},
        {0.004, 2, 0.0, 0.0},
        {0.29, 2, 0.29, 0.29},
        {-4.9875, 2, -4.99, -4.98},
        {1.15 * 100.0, 0, 115.0, 115.0},
        {(0.1 + 0.7) * 10.0, 2, 8.0, 8.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(DecimalRound(c.value, c.digits), c.rounded) << c.value;
        EXPECT_DOUBLE_EQ(DecimalTruncate(c.value, c.digits), c.truncated) << c.value;
    }
}
