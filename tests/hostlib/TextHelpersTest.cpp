#include <gtest/gtest.h>

#include "external/hostlib/HostLib.h"
#include "framework/Cp1252.h"
#include "framework/DateTime.h"

using namespace orb::hostlib;
using orb::fw::EncodeDateTime;

namespace {

struct WidthCase {
    std::string text;
    int width;
    std::string expected;
};

void ExpectWidths(const char* name, std::string (*helper)(std::string_view, int), std::vector<WidthCase> cases) {
    for (const WidthCase& c : cases)
        EXPECT_EQ(helper(c.text, c.width), c.expected) << name << "(\"" << c.text << "\", " << c.width << ")";
}

}  // namespace

TEST(HostTextHelpers, FixedWidthPaddingCentringAndZeros) {
    // Accented letters are one column each in the module's code page.
    ExpectWidths("TamFixo", TamFixo,
                 {{"abc", 6, "abc   "},
                  {"abcdef", 4, "abcd"},
                  {"", 3, "   "},
                  {"abc", 0, ""},
                  {"abc", -2, ""},
                  {CP("Ação"), 6, CP("Ação  ")}});
    ExpectWidths("TamFixoR", TamFixoR, {{"12,50", 9, "    12,50"}, {"NOME", 4, "NOME"}, {"123456", 4, "1234"}});
    // Padding never cuts.
    ExpectWidths(
        "PadL", PadL,
        {{"Em Rede", 15, "        Em Rede"}, {CP("Não"), 3, CP("Não")}, {"123456", 3, "123456"}, {"x", 0, "x"}});
    ExpectWidths("PadR", PadR, {{"Caja: 0001", 15, "Caja: 0001     "}, {"Tipo:", 5, "Tipo:"}, {"123456", 3, "123456"}});
    // The odd blank goes right; nothing is lost.
    ExpectWidths("Centraliza", Centraliza,
                 {{"ab", 6, "  ab  "},
                  {"abc", 6, " abc  "},
                  {"-----", 5, "-----"},
                  {"abcdef", 4, "abcdef"},
                  {"RELATORIO", 47, std::string(19, ' ') + "RELATORIO" + std::string(19, ' ')}});
    EXPECT_EQ(Centraliza("x"), std::string(23, ' ') + "x" + std::string(24, ' '));
    // Ajusta fills with zeros and keeps the head: the next reduction's number in four digits, an
    // EAN-13 code sent as 12 loses its check digit. AjustaZero never cuts.
    ExpectWidths("Ajusta", Ajusta,
                 {{"12", 4, "0012"},
                  {"1234567", 4, "1234"},
                  {"7891234567895", 12, "789123456789"},
                  {"", 3, "000"},
                  {"12", 0, ""}});
    ExpectWidths("AjustaZero", AjustaZero, {{"1", 2, "01"}, {"30", 2, "30"}, {"123", 2, "123"}});
    ExpectWidths(
        "Replicate", Replicate,
        {{" ", 3000, std::string(3000, ' ')}, {"ab", 3, "ababab"}, {"ab", 0, ""}, {"ab", -1, ""}, {"", 5, ""}});
}

TEST(HostTextHelpers, BlanksTrimsIifAndMoneyOnTheDecimalForm) {
    for (const auto& [text, empty] : {std::pair{std::string(), true},
                                      {std::string(6, ' '), true},
                                      {std::string("   0  "), false},
                                      {std::string("\0", 1), false}})
        EXPECT_EQ(EmptyString(text), empty) << text;
    for (const auto& [text, trimmed] : {std::pair{"abc   ", "abc"}, {"  abc", "  abc"}, {"     ", ""}, {"a b ", "a b"}})
        EXPECT_EQ(RTrim(text), trimmed) << text;
    EXPECT_EQ(iif(true, Variant("S"), Variant("N")).ToString(), "S");
    EXPECT_EQ(iif(false, Variant("S"), Variant(3)).ToInt(), 3);

    // Toward zero, and half away from zero, on the decimal form.
    const struct {
        double (*f)(double);
        double value, expected;
    } cuts[] = {{Trunc2, 0.29, 0.29},      {Trunc2, 10.999, 10.99},  {Trunc2, 4.9875, 4.98},  {Trunc2, -10.999, -10.99},
                {Trunc2, 2.5 * 2.5, 6.25}, {Trunc3, 1.23456, 1.234}, {Trunc3, 0.1 + 0.2, 0.3}};
    for (const auto& c : cuts) EXPECT_DOUBLE_EQ(c.f(c.value), c.expected) << c.value;
    for (const auto& [value, places, rounded] :
         {std::tuple{1234.565, 2, 1234.57}, {2.675, 2, 2.68}, {-2.675, 2, -2.68}, {1.2346, 3, 1.235}})
        EXPECT_DOUBLE_EQ(RoundDec(value, places), rounded) << value;
}

TEST(HostTextHelpers, TimeBetweenTwoMoments) {
    auto t = [](int d, int h, int n, int s) { return EncodeDateTime(2026, 12, d, h, n, s); };
    const struct {
        orb::fw::TDateTime a, b;
        const char* expected;
    } cases[] = {{t(5, 10, 0, 0), t(5, 10, 16, 5), "00:16:05"},
                 {t(5, 10, 16, 5), t(5, 10, 0, 0), "-00:16:05"},
                 {t(5, 10, 0, 0), t(5, 10, 0, 0), "00:00:00"},
                 {t(5, 8, 59, 59), t(5, 23, 0, 0), "14:00:01"},
                 {t(5, 23, 50, 0), t(6, 0, 5, 0), "00:15:00"},  // across midnight
                 {t(5, 10, 0, 0), t(6, 10, 0, 0), "23:59:59"},  // a day or more apart still reads as a time
                 {EncodeDateTime(2027, 1, 9, 0, 0, 0), t(5, 10, 0, 0), "-23:59:59"}};
    for (const auto& c : cases) EXPECT_EQ(SubtDataHoraZep(c.a, c.b), c.expected) << c.expected;
}
