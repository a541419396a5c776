#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Cp1252.h"
#include "framework/Text.h"

using namespace orb::fw;
using Strings = std::vector<std::string>;

TEST(Cp1252Test, EveryByteSurvivesAndWhatHasNoFormBecomesAQuestionMark) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_EQ(Utf8ToCp1252(utf8), all);
    EXPECT_NE(utf8, all);
    // Euro, ellipsis, S and s with caron, curly quotes, trade mark, Y with diaeresis, and an
    // undefined byte kept as its control character.
    EXPECT_EQ(Cp1252ToUtf8("\x80\x85\x8A\x9A\x93\x94\x99\x9F\x81"),
              "\xE2\x82\xAC\xE2\x80\xA6\xC5\xA0\xC5\xA1\xE2\x80\x9C\xE2\x80\x9D\xE2\x84\xA2\xC5\xB8\xC2\x81");
    EXPECT_EQ(CP("Redução Z €"), "Redu\xE7\xE3o Z \x80");
    EXPECT_EQ(Cp1252ToUtf8(CP("São Paulo – ção")), "São Paulo – ção");
    // A CJK character, an emoji (one character, one '?'), U+0080 (no byte in the code page); text
    // that is not UTF-8 stays as it is: already code page 1252, a truncated sequence, an overlong
    // form, a surrogate.
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"\xE4\xB8\xAD", "?"}, {"a\xF0\x9F\x98\x80z", "a?z"}, {"\xC2\x80", "?"}, {"Jo\xE3o", "Jo\xE3o"},
        {"\xC3", "\xC3"}, {"\xC0\xAF", "\xC0\xAF"}, {"\xED\xA0\x80", "\xED\xA0\x80"}, {"", ""}};
    // clang-format on
    for (const auto& [utf8, cp] : cases) EXPECT_EQ(Utf8ToCp1252(utf8), cp) << utf8;
}

TEST(Cp1252Test, LetterCaseAndComparisonIgnoringIt) {
    EXPECT_EQ(UpperCase(CP("ação çãé àÿšœž")), CP("AÇÃO ÇÃÉ ÀŸŠŒŽ"));
    EXPECT_EQ(LowerCase(CP("AÇÃO ÀŸŠŒŽ")), CP("ação àÿšœž"));
    // The division and multiplication signs have no case; sharp s stays.
    for (char c : {'\xF7', '\xDF', '1'}) EXPECT_EQ(Cp1252Upper(c), c);
    EXPECT_EQ(Cp1252Lower('\xD7'), '\xD7');

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

TEST(TextTest, TrimCopyPosReplaceSplitQuoteDigits) {
    using Fn = std::string (*)(std::string_view);
    // A no-break space is not a blank.
    // clang-format off
    const struct {
        Fn f;
        std::string text, expected;
    } trims[] = {{Trim, "  \t a b \r\n", "a b"}, {TrimLeft, "  a ", "a "}, {TrimRight, "  a ", "  a"}, {Trim, "   ", ""},
                 {Trim, CP(" Ação\xA0"), CP("Ação\xA0")}, {OnlyDigits, CP("nº"), ""},
                 {OnlyDigits, "12.345.678/0001-90", "12345678000190"}};
    // clang-format on
    for (const auto& c : trims) EXPECT_EQ(c.f(c.text), c.expected) << c.text;
    const struct {
        int index, count;
        const char* expected;
    } copies[] = {{2, 3, "bcd"}, {5, 10, "ef"}, {0, 2, "ab"}, {7, 1, ""}, {2, -1, ""}};
    for (const auto& c : copies) EXPECT_EQ(Copy("abcdef", c.index, c.count), c.expected) << c.index << "," << c.count;
    EXPECT_EQ((std::vector{Pos("cd", "abcdcd"), Pos("x", "abc"), Pos("", "abc")}), (std::vector{3, 0, 0}));
    EXPECT_EQ((Strings{StringOfChar('-', 4), StringOfChar('-', -1), StringReplaceAll("1.234,50", ",", ""),
                       StringReplaceAll("aaa", "aa", "b"), StringReplaceAll("abc", "", "x"),
                       StringReplaceAllIgnoreCase(CP("Ação e AÇÃO"), CP("ação"), "x"), QuotedStr("O'Neil")}),
              (Strings{"----", "", "1.23450", "ba", "abc", "x e x", "'O''Neil'"}));
    EXPECT_EQ(SplitString("a;b;;c;", ';'), (Strings{"a", "b", "", "c", ""}));
    EXPECT_TRUE(SplitString("", ';').empty());
    EXPECT_EQ(SplitString("abc", ';'), Strings{"abc"});
}
