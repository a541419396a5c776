// Dialogs on the operator's terminal, driven with a fake terminal (a pair of string streams), and
// the text written for terminals of each character set.
#include "CliTestSupport.h"

#include <sstream>
#include <tuple>

#include "Dialogs.h"
#include "Terminal.h"

namespace orb::cli::testing {
namespace {

TEST(TerminalCharsets, FromTheLocalesCodesetName) {
    using enum TerminalCharset;
    const std::pair<const char*, TerminalCharset> cases[] = {
        {"UTF-8", Utf8},    {"utf8", Utf8},          {"ANSI_X3.4-1968", Utf8}, {"", Utf8},
        {"KOI8-R", Utf8},   {"ISO-8859-1", Latin1},  {"ISO8859-1", Latin1},    {"iso_8859_1", Latin1},
        {"latin1", Latin1}, {"ISO-8859-15", Latin9}, {"CP1252", Cp1252},       {"WINDOWS-1252", Cp1252}};
    for (const auto& [codeset, charset] : cases) EXPECT_EQ(CharsetFromCodeset(codeset), charset) << codeset;
}

TEST(TerminalCharsets, ModuleTextForEachCharset) {
    // A lone CR (the module's dialogs), CR LF (the debug log) and LF all end a line.
    const std::string text = "Impressora n\xE3o responde\r\n\x80 5,00 \x8A\rfim \xA4\n";
    EXPECT_EQ(Cp1252ForTerminal(text, TerminalCharset::Utf8),
              "Impressora n\xC3\xA3o responde\n\xE2\x82\xAC 5,00 \xC5\xA0\nfim \xC2\xA4\n");
    EXPECT_EQ(Cp1252ForTerminal(text, TerminalCharset::Latin1), "Impressora n\xE3o responde\n? 5,00 ?\nfim \xA4\n");
    // Latin-9 keeps the euro sign and the caron letters where its own table has them; the
    // currency sign it gave up becomes '?'.
    EXPECT_EQ(Cp1252ForTerminal(text, TerminalCharset::Latin9), "Impressora n\xE3o responde\n\xA4 5,00 \xA6\nfim ?\n");
    EXPECT_EQ(Cp1252ForTerminal(text, TerminalCharset::Cp1252),
              "Impressora n\xE3o responde\n\x80 5,00 \x8A\nfim \xA4\n");

    EXPECT_EQ(Utf8ForTerminal("Caf\xC3\xA9 \xE2\x82\xAC\r\n\xE2\x9C\x93", TerminalCharset::Latin1), "Caf\xE9 ?\n?");
    EXPECT_EQ(Utf8ForTerminal("Caf\xC3\xA9\r\nok", TerminalCharset::Utf8), "Caf\xC3\xA9\nok");
}

const char* kQuestion = "\rImpressora n\xE3o responde. Imprimir novamente?\r";

bool Dialog(const char* text, const char* question = "S") {
    return hostlib::Mensagem(text, "", "N", question, 3, "", "001", 0, nullptr);
}

// The dialog hook of the command line with a fake terminal; the module's records start clean.
class TerminalDialogTest : public BridgeTest {
protected:
    void SetUp() override {
        BridgeTest::SetUp();
        hostlib::ClearRecorded();
    }
    void TearDown() override {
        hostlib::ResetHooks();
        BridgeTest::TearDown();
    }
    void Operator(const std::string& typed, TerminalCharset charset = TerminalCharset::Utf8) {
        in_.str(typed);
        in_.clear();
        out_.str("");
        InstallDialogs(Terminal{&in_, &out_, charset});
    }
    const hostlib::Dialog& LastDialog() const { return hostlib::Recorded().dialogs.back(); }
    std::string Unread() { return std::string(std::istreambuf_iterator<char>(in_), {}); }

    std::istringstream in_;
    std::ostringstream out_;
};

TEST_F(TerminalDialogTest, TheOperatorAnswersYesOrNoAfterAnyQueuedAnswer) {
    Operator("S\nrest\n");
    EXPECT_TRUE(Dialog(kQuestion));
    EXPECT_TRUE(LastDialog().answered && LastDialog().answer);
    // Shown in UTF-8, without the empty lines the module's line breaks would leave.
    EXPECT_EQ(out_.str(), "Impressora n\xC3\xA3o responde. Imprimir novamente?\n(S/N) ");
    EXPECT_EQ(Unread(), "rest\n");  // one line read, no more

    Operator("  n \r\n");
    EXPECT_FALSE(Dialog(kQuestion));
    const Json no = DialogToJson(LastDialog());
    EXPECT_EQ(Json::array({LastDialog().answered, no["answer"], no.contains("unanswered")}),
              Json::array({true, "N", false}));

    // Queued answers come before the operator.
    Operator("S\n");
    hostlib::QueueAnswers({false});
    EXPECT_FALSE(Dialog(kQuestion));
    EXPECT_TRUE(LastDialog().answered && hostlib::Recorded().queuedAnswers.empty());
    EXPECT_EQ(Unread(), "S\n");  // the operator was not asked
    EXPECT_NE(out_.str().find("(S/N) N (queued answer)"), std::string::npos) << out_.str();
}

TEST_F(TerminalDialogTest, AnythingButSOrNIsAskedAgainUntilTheTerminalEnds) {
    Operator("talvez\n\nsim\ns\n");
    EXPECT_TRUE(Dialog(kQuestion));
    const std::string again = "Please answer S or N (S/N) ";
    EXPECT_EQ(out_.str(), "Impressora n\xC3\xA3o responde. Imprimir novamente?\n(S/N) " + again + again + again);

    // A terminal that ends leaves the question unanswered.
    Operator("talvez\n");
    EXPECT_FALSE(Dialog(kQuestion));
    EXPECT_EQ(Json::array({LastDialog().answered, DialogToJson(LastDialog())["unanswered"]}),
              Json::array({false, true}));
}

TEST_F(TerminalDialogTest, PlainMessagesNeedNoAnswerAndWithoutATerminalNoOneIsAsked) {
    Operator("", TerminalCharset::Latin1);
    EXPECT_TRUE(Dialog("\rErro no recebimento dos par\xE2metros da fun\xE7\xE3o: StartImpFiscal\r", "N"));
    EXPECT_EQ(std::tuple(out_.str(), LastDialog().answered, hostlib::Recorded().dialogs.size()),
              std::tuple("Erro no recebimento dos par\xE2metros da fun\xE7\xE3o: StartImpFiscal\n", true, 1u));

    // Without a terminal the bridge's rules hold: unqueued questions are answered "no".
    InstallDialogs(std::nullopt);
    EXPECT_TRUE(Dialog("Aviso", "N"));
    EXPECT_FALSE(Dialog(kQuestion));
    EXPECT_FALSE(LastDialog().answered);
    hostlib::QueueAnswers({true});
    EXPECT_TRUE(Dialog(kQuestion));
    EXPECT_TRUE(LastDialog().answered);
    EXPECT_EQ(hostlib::Recorded().dialogs.size(), 4u);
}

}  // namespace
}  // namespace orb::cli::testing
