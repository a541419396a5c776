#include <gtest/gtest.h>

#include "framework/Cp1252.h"
#include "framework/Text.h"

using namespace orb::fw;

TEST(Cp1252Test, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_EQ(Utf8ToCp1252(utf8), all);
    EXPECT_NE(utf8, all);
}

TEST(Cp1252Test, TheHighTableAndLatin1) {
    // Euro, ellipsis, S and s with caron, curly quotes, trade mark, Y with diaeresis, and an
    // undefined byte kept as its control character.
    EXPECT_EQ(Cp1252ToUtf8("\x80\x85\x8A\x9A\x93\x94\x99\x9F\x81"),
              "\xE2\x82\xAC\xE2\x80\xA6\xC5\xA0\xC5\xA1\xE2\x80\x9C\xE2\x80\x9D\xE2\x84\xA2\xC5\xB8\xC2\x81");
    EXPECT_EQ(CP("Parâmetro"), "Par\xE2metro");
    EXPECT_EQ(CP("Redução Z €"), "Redu\xE7\xE3o Z \x80");
    EXPECT_EQ(Cp1252ToUtf8(CP("São Paulo – ção")), "São Paulo – ção");
}

TEST(Cp1252Test, WhatHasNoFormAndWhatIsNotUtf8) {
    EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");             // a CJK character
    EXPECT_EQ(Utf8ToCp1252("a\xF0\x9F\x98\x80z"), "a?z");     // an emoji: one character, one '?'
    EXPECT_EQ(Utf8ToCp1252("\xC2\x80"), "?");                 // U+0080 has no byte in the code page
    EXPECT_EQ(Utf8ToCp1252("Jo\xE3o"), "Jo\xE3o");            // already code page 1252
    EXPECT_EQ(Utf8ToCp1252("\xC3"), "\xC3");                  // truncated sequence
    EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "\xC0\xAF");          // overlong form
    EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "\xED\xA0\x80");  // surrogate
    EXPECT_EQ(Utf8ToCp1252(""), "");
}

TEST(Cp1252Test, LetterCase) {
    EXPECT_EQ(UpperCase(CP("ação çãé àÿšœž")), CP("AÇÃO ÇÃÉ ÀŸŠŒŽ"));
    EXPECT_EQ(LowerCase(CP("AÇÃO ÀŸŠŒŽ")), CP("ação àÿšœž"));
    EXPECT_EQ(Cp1252Upper('\xF7'), '\xF7');  // division sign has no case
    EXPECT_EQ(Cp1252Lower('\xD7'), '\xD7');  // nor has the multiplication sign
    EXPECT_EQ(Cp1252Upper('\xDF'), '\xDF');  // sharp s stays
    EXPECT_EQ(Cp1252Upper('1'), '1');
}

TEST(TextTest, ComparisonIgnoringCase) {
    EXPECT_TRUE(SameText(CP("Ação"), CP("AÇÃO")));
    EXPECT_FALSE(SameText("abc", "abcd"));
    EXPECT_EQ(CompareText("abc", "ABC"), 0);
    EXPECT_LT(CompareText("abc", "abd"), 0);
    EXPECT_GT(CompareText("b", "A"), 0);
    EXPECT_LT(CompareText("ab", "abc"), 0);
    EXPECT_GT(CompareText("\xE9", "z"), 0);  // accented letters sort after ASCII by byte
    EXPECT_TRUE(StartsText("ecf", "ECF-IF"));
    EXPECT_FALSE(StartsText("ECF-IF-X", "ECF"));
}

TEST(TextTest, TrimCopyPos) {
    EXPECT_EQ(Trim("  \t a b \r\n"), "a b");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a "), "  a");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim(CP(" Ação\xA0")), CP("Ação\xA0"));  // a no-break space is not a blank
    const struct {
        int index, count;
        const char* expected;
    } copies[] = {{2, 3, "bcd"}, {5, 10, "ef"}, {0, 2, "ab"}, {7, 1, ""}, {2, -1, ""}};
    for (const auto& c : copies) EXPECT_EQ(Copy("abcdef", c.index, c.count), c.expected) << c.index << "," << c.count;
    EXPECT_EQ(Pos("cd", "abcdcd"), 3);
    EXPECT_EQ(Pos("x", "abc"), 0);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(StringOfChar('-', 4), "----");
    EXPECT_EQ(StringOfChar('-', -1), "");
}

TEST(TextTest, ReplaceSplitQuoteDigits) {
    EXPECT_EQ(StringReplaceAll("1.234,50", ",", ""), "1.23450");
    EXPECT_EQ(StringReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(StringReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(StringReplaceAllIgnoreCase(CP("Ação e AÇÃO"), CP("ação"), "x"), "x e x");
    EXPECT_EQ(QuotedStr("O'Neil"), "'O''Neil'");
    EXPECT_EQ(SplitString("a;b;;c;", ';'), (std::vector<std::string>{"a", "b", "", "c", ""}));
    EXPECT_TRUE(SplitString("", ';').empty());
    EXPECT_EQ(SplitString("abc", ';'), (std::vector<std::string>{"abc"}));
    EXPECT_EQ(OnlyDigits("12.345.678/0001-90"), "12345678000190");
    EXPECT_EQ(OnlyDigits(CP("nº")), "");
}
