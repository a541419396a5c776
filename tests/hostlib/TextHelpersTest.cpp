#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

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

// Runs one text helper over rows of {text, width, expected}.
template <typename F>
void ExpectWidths(const char* name, F helper, std::initializer_list<WidthCase> cases) {
    for (const WidthCase& c : cases) {
        EXPECT_EQ(helper(c.text, c.width), c.expected) << name << "(\"" << c.text << "\", " << c.width << ")";
    }
}

}  // namespace

TEST(HostTextHelpers, FixedWidthPaddingCentringAndZeros) {
    // Accented letters are one column each in the module's code page.
    ExpectWidths("TamFixo", [](const std::string& s, int n) { return TamFixo(s, n); },
                 {{"abc", 6, "abc   "},
                  {"abcdef", 4, "abcd"},
                  {"", 3, "   "},
                  {"abc", 0, ""},
                  {"abc", -2, ""},
                  {CP("Ação"), 6, CP("Ação  ")}});
    ExpectWidths("TamFixoR", [](const std::string& s, int n) { return TamFixoR(s, n); },
                 {{"12,50", 9, "    12,50"}, {"NOME", 4, "NOME"}, {"123456", 4, "1234"}});
    // Padding never cuts.
    ExpectWidths(
        "PadL", [](const std::string& s, int n) { return PadL(s, n); },
        {{"Em Rede", 15, "        Em Rede"}, {CP("Não"), 3, CP("Não")}, {"123456", 3, "123456"}, {"x", 0, "x"}});
    ExpectWidths("PadR", [](const std::string& s, int n) { return PadR(s, n); },
                 {{"Caja: 0001", 15, "Caja: 0001     "},
                  {"Tipo de funcionamento:", 22, "Tipo de funcionamento:"},
                  {"123456", 3, "123456"}});
    // The odd blank goes right; nothing is lost.
    ExpectWidths("Centraliza", [](const std::string& s, int n) { return Centraliza(s, n); },
                 {{"ab", 6, "  ab  "},
                  {"abc", 6, " abc  "},
                  {std::string(48, '-'), 48, std::string(48, '-')},
                  {"abcdef", 4, "abcdef"},
                  {"RELATORIO", 47, std::string(19, ' ') + "RELATORIO" + std::string(19, ' ')}});
    EXPECT_EQ(Centraliza("x"), std::string(23, ' ') + "x" + std::string(24, ' '));
    // Ajusta fills with zeros and keeps the head: the next reduction's number in four digits, an
    // EAN-13 code sent as 12 loses its check digit.
    ExpectWidths("Ajusta", [](const std::string& s, int n) { return Ajusta(s, n); },
                 {{"12", 4, "0012"},
                  {"1234567", 4, "1234"},
                  {"123", 6, "000123"},
                  {"7", 2, "07"},
                  {"7891234567895", 12, "789123456789"},
                  {"", 3, "000"},
                  {"12", 0, ""}});
    ExpectWidths("AjustaZero", [](const std::string& s, int n) { return AjustaZero(s, n); },
                 {{"1", 2, "01"}, {"30", 2, "30"}, {"123", 2, "123"}});
    ExpectWidths("Replicate", [](const std::string& s, int n) { return Replicate(s, n); },
                 {{" ", 3000, std::string(3000, ' ')},
                  {"-", 11, "-----------"},
                  {"ab", 3, "ababab"},
                  {"ab", 0, ""},
                  {"ab", -1, ""},
                  {"", 5, ""}});
}

TEST(HostTextHelpers, BlanksTrimsAndIif) {
    EXPECT_TRUE(EmptyString(""));
    EXPECT_TRUE(EmptyString("      "));
    EXPECT_FALSE(EmptyString("   0  "));
    EXPECT_FALSE(EmptyString(std::string("\0", 1)));
    const std::pair<const char*, const char*> trims[] = {
        {"abc   ", "abc"}, {"  abc", "  abc"}, {"     ", ""}, {"a b ", "a b"}};
    for (const auto& [text, trimmed] : trims) EXPECT_EQ(RTrim(text), trimmed) << text;
    EXPECT_EQ(iif(true, Variant("S"), Variant("N")).ToString(), "S");
    EXPECT_EQ(iif(false, Variant("S"), Variant(3)).ToInt(), 3);
}

TEST(HostTextHelpers, MoneyCutsAndRoundsOnTheDecimalForm) {
    EXPECT_DOUBLE_EQ(Trunc2(0.29), 0.29);
    EXPECT_DOUBLE_EQ(Trunc2(10.999), 10.99);
    EXPECT_DOUBLE_EQ(Trunc2(4.9875), 4.98);
    EXPECT_DOUBLE_EQ(Trunc2(-10.999), -10.99);
    EXPECT_DOUBLE_EQ(Trunc2(2.5 * 2.5), 6.25);
    EXPECT_DOUBLE_EQ(Trunc3(1.23456), 1.234);
    EXPECT_DOUBLE_EQ(Trunc3(0.1 + 0.2), 0.3);
    EXPECT_DOUBLE_EQ(RoundDec(1234.565, 2), 1234.57);
    EXPECT_DOUBLE_EQ(RoundDec(2.675, 2), 2.68);
    EXPECT_DOUBLE_EQ(RoundDec(-2.675, 2), -2.68);
    EXPECT_DOUBLE_EQ(RoundDec(1.2346, 3), 1.235);
}

TEST(HostTextHelpers, TimeBetweenTwoMoments) {
    auto t = [](int h, int n, int s) { return EncodeDateTime(2026, 12, 5, h, n, s); };
    EXPECT_EQ(SubtDataHoraZep(t(10, 0, 0), t(10, 16, 5)), "00:16:05");
    EXPECT_EQ(SubtDataHoraZep(t(10, 16, 5), t(10, 0, 0)), "-00:16:05");
    EXPECT_EQ(SubtDataHoraZep(t(10, 0, 0), t(10, 0, 0)), "00:00:00");
    EXPECT_EQ(SubtDataHoraZep(t(8, 59, 59), t(23, 0, 0)), "14:00:01");
    // Across midnight.
    EXPECT_EQ(SubtDataHoraZep(t(23, 50, 0), EncodeDateTime(2026, 12, 6, 0, 5, 0)), "00:15:00");
    // A day or more apart still reads as a time, and as far off.
    EXPECT_EQ(SubtDataHoraZep(t(10, 0, 0), EncodeDateTime(2026, 12, 6, 10, 0, 0)), "23:59:59");
    EXPECT_EQ(SubtDataHoraZep(EncodeDateTime(2027, 1, 9, 0, 0, 0), t(10, 0, 0)), "-23:59:59");
}
