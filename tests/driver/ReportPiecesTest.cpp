// How a report body and a transfer receipt are cut into the pieces the printer takes.
#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "nonfiscal/ReportDocuments.h"
#include "nonfiscal/TransferReceipts.h"

namespace {

using Orb00100::nonfiscal::ReceiptPieces;
using Orb00100::nonfiscal::ReportPieces;

std::string Lines(int count, int width) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += std::string(static_cast<std::size_t>(width), static_cast<char>('a' + i % 26)) + "\n";
    return text;
}

std::vector<std::size_t> Sizes(const std::vector<std::string>& pieces) {
    std::vector<std::size_t> sizes;
    for (const std::string& p : pieces) sizes.push_back(p.size());
    return sizes;
}

std::string Joined(const std::vector<std::string>& pieces) {
    return std::accumulate(pieces.begin(), pieces.end(), std::string());
}

TEST(ReportPieces, WholeLinesUntilFiveHundredCharactersAreReached) {
    // 25 lines of 48 characters and their line feeds: 11 + 11 + 3 lines.
    const std::string report = Lines(25, 48);
    const auto pieces = ReportPieces(report);
    EXPECT_EQ(Sizes(pieces), (std::vector<std::size_t>{539, 539, 147}));
    EXPECT_EQ(Joined(pieces), report);

    // Exactly 500 closes the piece; 499 takes one more line.
    const std::string exact = Lines(10, 48) + "123456789\n" + "next\n";
    EXPECT_EQ(Sizes(ReportPieces(exact)), (std::vector<std::size_t>{500, 5}));
    const std::string under = Lines(10, 48) + "12345678\n" + Lines(1, 48) + "next\n";
    EXPECT_EQ(Sizes(ReportPieces(under)), (std::vector<std::size_t>{548, 5}));
}

TEST(ReportPieces, LongLinesAndUnendedTextsAreNotCut) {
    const std::string single(800, 'x');
    EXPECT_EQ(ReportPieces(single), (std::vector<std::string>{single}));
    EXPECT_EQ(ReportPieces("short\n" + single + "\ntail"),
              (std::vector<std::string>{"short\n" + single + "\n", "tail"}));
    EXPECT_EQ(ReportPieces("one\ntwo"), (std::vector<std::string>{"one\ntwo"}));
    EXPECT_TRUE(ReportPieces("").empty());
}

TEST(ReceiptPieces, BackslashesBreakLinesOnlyAfterALineFeedStep) {
    // Without a line feed inside, the appended one is met first: one line, backslashes kept.
    EXPECT_EQ(ReceiptPieces("VIA CLIENTE\\CARTAO\\APROVADO\n"),
              (std::vector<std::string>{"VIA CLIENTE\\CARTAO\\APROVADO\n"}));
    // A line, then two texts joined by a backslash: three lines in one piece.
    EXPECT_EQ(ReceiptPieces("REDE X\nVALOR 10,00\\AUT 123\n"),
              (std::vector<std::string>{"REDE X\nVALOR 10,00\nAUT 123\n"}));
    // A backslash reached by the second step takes the line feeds before it along.
    EXPECT_EQ(ReceiptPieces("a\nb\nc\\d\n"), (std::vector<std::string>{"a\nb\nc\nd\n"}));
    // A leading backslash after a line is an empty line.
    EXPECT_EQ(ReceiptPieces("a\n\\b\n"), (std::vector<std::string>{"a\n\nb\n"}));
}

TEST(ReceiptPieces, AtMostFourLineFeedStepsAndFourBackslashStepsAPiece) {
    const auto plain = ReceiptPieces(Lines(20, 10));
    ASSERT_EQ(plain.size(), 5u);
    for (const std::string& piece : plain) EXPECT_EQ(piece.size(), 44u);
    EXPECT_EQ(Joined(plain), Lines(20, 10));

    // Every line followed by a backslash-joined one: eight lines a piece.
    std::string mixed;
    for (int i = 0; i < 10; ++i) mixed += "L" + std::to_string(i) + "\nM" + std::to_string(i) + "\\";
    mixed += "end\n";
    const auto pieces = ReceiptPieces(mixed);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0], "L0\nM0\nL1\nM1\nL2\nM2\nL3\nM3\n");
    EXPECT_EQ(pieces[2], "L8\nM8\nL9\nM9\nend\n");
}

TEST(ReceiptPieces, ARestWithoutLineFeedIsTakenWhole) {
    EXPECT_EQ(ReceiptPieces("no end"), (std::vector<std::string>{"no end"}));
    EXPECT_TRUE(ReceiptPieces("").empty());
}

}  // namespace
