// The convenience verbs through the program: roll, log and state.
#include "CliTestSupport.h"

#include "driver/DebugLog.h"

namespace orb::cli::testing {
namespace {

class OrbVerbsTest : public OrbProcessTest {
protected:
    void SetUp() override {
        OrbProcessTest::SetUp();
        // Terminal text is UTF-8 in these tests, whatever locale they were started under.
        locale_ = platform::GetEnv("LC_ALL");
        platform::SetEnv("LC_ALL", "C.UTF-8");
    }
    void TearDown() override {
        platform::SetEnv("LC_ALL", locale_);
        OrbProcessTest::TearDown();
    }
    // A coupon open on a fresh printer, with one item in it.
    void SaleInProgress() {
        OrbRun run = Orb({"--home", Home(), "run", Scenario(R"([
            {"sim": "reset", "model": 34, "serial": "BE091010100011223344"},
            {"call": "StartImpFiscal", "args": [[["CDFILIAL", "0001"], ["CDCAIXA", "001"],
                ["NRSERIEIMP", "BE091010100011223344"], ["ESQUEMA", "001"], ["CDPORTAIMPFIS", "COM1"],
                ["IDTIPOIMPFIS", 34], ["BOUTILTAA", false]]]},
            {"call": "AbreCupom", "args": [[["ESQUEMACOR", "001"], ["IDUTILTEF", "N"], ["UTILTEF", false]]]},
            {"call": "VendaItem", "args": [[["ESQUEMACOR", "001"], ["CDARVPROD", "7891"], ["NMPROD", "Moqueca"],
                ["CDALIQ", "01"], ["QTDE", 1.0], ["VALOR", 30.0], ["DESCONT", 0.0], ["UNIDADE", "UN"],
                ["VRPERCALIQ", "18"], ["IDUTILTEF", "N"], ["UTILTEF", false], ["ACRESCIMO", 0.0]]]}
        ])")});
        ASSERT_EQ(run.status, 0) << run.out << run.err;
        for (const Json& reply : run.replies) {
            if (reply.contains("result")) {
                ASSERT_EQ(reply["result"], true) << reply.dump();
            }
        }
    }
    std::string locale_;
};

TEST_F(OrbVerbsTest, RollShowsThePaperAndClearsItOnRequest) {
    SaleInProgress();
    OrbRun roll = Orb({"--home", Home(), "roll"});
    ASSERT_EQ(roll.status, 0) << roll.err;
    EXPECT_NE(roll.out.find("Moqueca"), std::string::npos) << roll.out;
    EXPECT_EQ(roll.out.back(), '\n');
    EXPECT_TRUE(roll.err.empty()) << roll.err;

    OrbRun cleared = Orb({"--home", Home(), "roll", "--clear"});
    ASSERT_EQ(cleared.status, 0) << cleared.err;
    EXPECT_EQ(cleared.out, roll.out);
    OrbRun empty = Orb({"--home", Home(), "roll"});
    EXPECT_EQ(empty.status, 0);
    EXPECT_TRUE(empty.out.empty()) << empty.out;
    EXPECT_NE(empty.err.find("printed nothing"), std::string::npos) << empty.err;
}

TEST_F(OrbVerbsTest, RollLeavesThePrinterCommandsOff) {
    // Emphasis and double width around a word, as the footer's order password is printed.
    OrbRun run = Orb({"--home", Home(), "run", Scenario(R"([
        {"sim": "reset", "model": 34, "reports": ["Relatorios"]},
        {"call": "StartImpFiscal", "args": [[["CDFILIAL", "0001"], ["CDCAIXA", "001"], ["NRSERIEIMP", ""],
            ["ESQUEMA", "001"], ["CDPORTAIMPFIS", "COM1"], ["IDTIPOIMPFIS", 34], ["BOUTILTAA", false]]]},
        {"call": "Relatorio_Generico", "args": ["001", "A", "B", "\u001bE\u001bW1SENHA: 042\u001bF\u001bW0\n", "", ""]}
    ])")});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    ASSERT_EQ(run.replies.back()["result"], true) << run.out;
    OrbRun roll = Orb({"--home", Home(), "roll"});
    ASSERT_EQ(roll.status, 0) << roll.err;
    EXPECT_NE(roll.out.find("SENHA: 042\n"), std::string::npos) << roll.out;
    EXPECT_EQ(roll.out.find('\x1B'), std::string::npos);
}

TEST_F(OrbVerbsTest, StateIsTheWholePrinterAsIndentedJson) {
    SaleInProgress();
    OrbRun state = Orb({"--home", Home(), "state"});
    ASSERT_EQ(state.status, 0) << state.err;
    const Json parsed = Json::parse(state.out, nullptr, false);
    ASSERT_TRUE(parsed.is_object()) << state.out;
    EXPECT_TRUE(parsed["docs"]["couponOpen"].get<bool>()) << state.out;
    EXPECT_GT(std::count(state.out.begin(), state.out.end(), '\n'), 10);
    EXPECT_NE(state.out.find("\n  \""), std::string::npos);  // indented
}

TEST_F(OrbVerbsTest, LogShowsThisMonthsDebugLogForTheTerminal) {
    // The test's own host folder is the one the module in this process would log into.
    const std::string home = folders_.home;
    OrbRun none = Orb({"--home", home, "log"});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.out.empty());
    EXPECT_NE(none.err.find("no debug log this month yet"), std::string::npos) << none.err;
    EXPECT_NE(none.err.find(Orb00100::DebugLogPath()), std::string::npos) << none.err;

    OrbRun start = Orb({"--home", home, "call", "StartImpFiscal",
                        R"([[["CDFILIAL", "0001"], ["CDCAIXA", "001"], ["NRSERIEIMP", ""], ["ESQUEMA", "001"],
                             ["CDPORTAIMPFIS", "COM1"], ["IDTIPOIMPFIS", 34], ["BOUTILTAA", false]]])"});
    ASSERT_NE(start.status, 2) << start.err;
    ASSERT_TRUE(platform::AppendToFile(Orb00100::DebugLogPath(), "06/12/2026 12:00:00 - Impress\xE3o \x80\r\n"));

    OrbRun log = Orb({"--home", home, "log"});
    ASSERT_EQ(log.status, 0) << log.err;
    EXPECT_NE(log.out.find("Bematech_FI_AbrePortaSerial"), std::string::npos) << log.out;
    EXPECT_NE(log.out.find("06/12/2026 12:00:00 - Impress\xC3\xA3o \xE2\x82\xAC\n"), std::string::npos) << log.out;
    EXPECT_EQ(log.out.find('\r'), std::string::npos);
}

TEST_F(OrbVerbsTest, VerbsTakeNoWordsOrOptionsOfOtherVerbs) {
    for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
             {"roll", "now"}, {"log", "1226"}, {"state", "--clear"}, {"log", "--clear"}, {"demo", "quick"}}) {
        OrbRun run = Orb(words);
        EXPECT_EQ(run.status, 2) << words[0] << " " << words[1];
        EXPECT_TRUE(run.out.empty());
        EXPECT_NE(run.err.find("usage: orb [--home DIR] [--system DIR] " + words[0]), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace orb::cli::testing
