#include <gtest/gtest.h>

#include "external/hostlib/HostLib.h"
#include "framework/Cp1252.h"
#include "framework/DateTime.h"

using namespace orb::hostlib;
using orb::fw::EncodeDateTime;

TEST(HostTextHelpers, FixedWidthFillsAndCuts) {
    EXPECT_EQ(TamFixo("abc", 6), "abc   ");
    EXPECT_EQ(TamFixo("abcdef", 4), "abcd");
    EXPECT_EQ(TamFixo("", 3), "   ");
    EXPECT_EQ(TamFixo("abc", 0), "");
    EXPECT_EQ(TamFixo("abc", -2), "");
    EXPECT_EQ(TamFixoR("12,50", 9), "    12,50");
    EXPECT_EQ(TamFixoR("NOME", 4), "NOME");
    EXPECT_EQ(TamFixoR("123456", 4), "1234");
    // Accented letters are one column each in the module's code page.
    EXPECT_EQ(TamFixo(CP("Ação"), 6), CP("Ação  "));
    EXPECT_EQ(TamFixo(CP("Ação"), 6).size(), 6u);
}

TEST(HostTextHelpers, PaddingNeverCuts) {
    EXPECT_EQ(PadL("Em Rede", 15), "        Em Rede");
    EXPECT_EQ(PadR("Caja: 0001", 15), "Caja: 0001     ");
    EXPECT_EQ(PadR("Tipo de funcionamento:", 22), "Tipo de funcionamento:");
    EXPECT_EQ(PadL(CP("Não"), 3), CP("Não"));
    EXPECT_EQ(PadL("123456", 3), "123456");
    EXPECT_EQ(PadR("123456", 3), "123456");
    EXPECT_EQ(PadL("x", 0), "x");
}

TEST(HostTextHelpers, Centring) {
    EXPECT_EQ(Centraliza("ab", 6), "  ab  ");
    EXPECT_EQ(Centraliza("abc", 6), " abc  ");  // the odd blank goes right
    EXPECT_EQ(Centraliza("RELATORIO", 47).size(), 47u);
    EXPECT_EQ(Centraliza(std::string(48, '-'), 48), std::string(48, '-'));
    EXPECT_EQ(Centraliza("abcdef", 4), "abcdef");  // nothing is lost
    EXPECT_EQ(Centraliza("x"), std::string(23, ' ') + "x" + std::string(24, ' '));
}

TEST(HostTextHelpers, AjustaFillsWithZerosAndKeepsTheHead) {
    EXPECT_EQ(Ajusta("12", 4), "0012");
    EXPECT_EQ(Ajusta("1234567", 4), "1234");
    EXPECT_EQ(Ajusta("123", 6), "000123");
    EXPECT_EQ(Ajusta("7", 2), "07");
    EXPECT_EQ(Ajusta("7891234567895", 12), "789123456789");  // an EAN-13 code loses its check digit
    EXPECT_EQ(Ajusta("", 3), "000");
    EXPECT_EQ(Ajusta("12", 0), "");
    EXPECT_EQ(AjustaZero("1", 2), "01");
    EXPECT_EQ(AjustaZero("30", 2), "30");
    EXPECT_EQ(AjustaZero("123", 2), "123");
}

TEST(HostTextHelpers, ReplicateBlanksAndTrims) {
    EXPECT_EQ(Replicate(" ", 3000), std::string(3000, ' '));
    EXPECT_EQ(Replicate("-", 11), "-----------");
    EXPECT_EQ(Replicate("ab", 3), "ababab");
    EXPECT_EQ(Replicate("ab", 0), "");
    EXPECT_EQ(Replicate("ab", -1), "");
    EXPECT_EQ(Replicate("", 5), "");

    EXPECT_TRUE(EmptyString(""));
    EXPECT_TRUE(EmptyString("      "));
    EXPECT_FALSE(EmptyString("   0  "));
    EXPECT_FALSE(EmptyString(std::string("\0", 1)));

    EXPECT_EQ(RTrim("abc   "), "abc");
    EXPECT_EQ(RTrim("  abc"), "  abc");
    EXPECT_EQ(RTrim("     "), "");
    EXPECT_EQ(RTrim("a b "), "a b");
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

TEST(HostTextHelpers, Iif) {
    EXPECT_EQ(iif(true, Variant("S"), Variant("N")).ToString(), "S");
    EXPECT_EQ(iif(false, Variant("S"), Variant(3)).ToInt(), 3);
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
