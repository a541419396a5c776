// How a report body and a transfer receipt are cut into the pieces the printer takes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nonfiscal/ReportDocuments.h"
#include "nonfiscal/TransferReceipts.h"

namespace {

using Orb00100::nonfiscal::ReceiptPieces;
using Orb00100::nonfiscal::ReportPieces;
using Pieces = std::vector<std::string>;

std::string Lines(int count, int width) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += std::string(static_cast<std::size_t>(width), static_cast<char>('a' + i)) + "\n";
    return text;
}

TEST(ReportPieces, WholeLinesUntilFiveHundredCharactersAreReached) {
    const std::string exact = Lines(10, 48) + "123456789\n", under = Lines(10, 48) + "12345678\n" + Lines(1, 48);
    const std::string single(800, 'x');
    const std::pair<std::string, Pieces> cases[] = {
        {exact + "next\n", {exact, "next\n"}},  // exactly 500 closes the piece
        {under + "next\n", {under, "next\n"}},  // 499 takes one more line
        {single, {single}},                     // long lines and unended texts are not cut
        {"short\n" + single + "\ntail", {"short\n" + single + "\n", "tail"}},
        {"one\ntwo", {"one\ntwo"}},
        {"", {}},
    };
    for (const auto& [text, pieces] : cases) EXPECT_EQ(ReportPieces(text), pieces) << text.substr(0, 20);
}

TEST(ReceiptPieces, AtMostFourLineFeedAndFourBackslashStepsAPieceAndBackslashesBreakOnlyAfterALineFeed) {
    std::string mixed;  // every line followed by a backslash-joined one: eight lines a piece
    for (int i = 0; i < 10; ++i) mixed += "L" + std::to_string(i) + "\nM" + std::to_string(i) + "\\";
    const std::string plain = Lines(20, 10);
    const std::pair<std::string, Pieces> cases[] = {
        // Without a line feed inside, the appended one is met first: one line, backslashes kept.
        {"VIA CLIENTE\\CARTAO\\APROVADO\n", {"VIA CLIENTE\\CARTAO\\APROVADO\n"}},
        {"REDE X\nVALOR 10,00\\AUT 123\n", {"REDE X\nVALOR 10,00\nAUT 123\n"}},
        {"a\nb\nc\\d\n", {"a\nb\nc\nd\n"}},  // a backslash reached by the second step
        {"a\n\\b\n", {"a\n\nb\n"}},          // a leading backslash after a line: an empty line
        {plain,
         {plain.substr(0, 44), plain.substr(44, 44), plain.substr(88, 44), plain.substr(132, 44), plain.substr(176)}},
        {mixed + "end\n",
         {"L0\nM0\nL1\nM1\nL2\nM2\nL3\nM3\n", "L4\nM4\nL5\nM5\nL6\nM6\nL7\nM7\n", "L8\nM8\nL9\nM9\nend\n"}},
        {"no end", {"no end"}},
        {"", {}},
    };
    for (const auto& [text, pieces] : cases) EXPECT_EQ(ReceiptPieces(text), pieces) << text.substr(0, 20);
}

}  // namespace
