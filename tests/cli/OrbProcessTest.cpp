// The orb program as a script or a person runs it: verbs, options, replies and exit status.
#include "CliTestSupport.h"

#include <sstream>

#include "Cli.h"

namespace orb::cli::testing {
namespace {

TEST_F(OrbProcessTest, CallPrintsOneReplyAndPreparesTheHostFolders) {
    OrbRun run = Orb({"--home", Home(), "call", "FormataCNPJ", R"(["12.345.678/0001-90"])"});
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.replies.size(), 1u) << run.out;
    EXPECT_EQ(run.replies[0]["result"], "12345678000190");
    EXPECT_TRUE(std::filesystem::exists(root_ / "till" / "system" / "Bemafi32.ini"));

    // Without options the folders are ./orb-home and ./orb-home/system.
    OrbRun plain = Orb({"call", "GetValue", R"(["12345"])"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.replies[0]["result"], 123.45);
    EXPECT_TRUE(std::filesystem::exists(root_ / "orb-home" / "system" / "Bemafi32.ini"));
}

TEST_F(OrbProcessTest, AnErrorReplyGivesExitStatusOne) {
    OrbRun run = Orb({"--home=" + Home(), "--system=" + (root_ / "sys").string(), "call", "GetValue", R"(["  "])"});
    EXPECT_EQ(run.status, 1);
    ASSERT_EQ(run.replies.size(), 1u);
    EXPECT_TRUE(run.replies[0].contains("error"));
    EXPECT_TRUE(std::filesystem::exists(root_ / "sys" / "Bemafi32.ini"));
}

TEST_F(OrbProcessTest, UnusableCommandLinesGiveExitStatusTwoAndNoReply) {
    for (const std::vector<std::string>& words :
         std::vector<std::vector<std::string>>{{},
                                               {"frobnicate"},
                                               {"serve", "requests.json"},
                                               {"call"},
                                               {"call", "GetValue", "[1"},
                                               {"call", "GetValue", R"({"a": 1})"},
                                               {"--home"},
                                               {"--colour", "call", "GetValue"},
                                               {"run"},
                                               {"run", (root_ / "missing.json").string()}}) {
        OrbRun run = Orb(words);
        std::string shown;
        for (const auto& w : words) shown += w + " ";
        EXPECT_EQ(run.status, 2) << shown;
        EXPECT_TRUE(run.out.empty()) << shown;
        EXPECT_FALSE(run.err.empty()) << shown;
    }
    OrbRun help = Orb({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("orb [--home DIR] [--system DIR] run SCENARIO.json"), std::string::npos);
}

TEST_F(OrbProcessTest, RunAnswersEveryStepOfAnArrayInOrder) {
    OrbRun run = Orb({"--home", Home(), "run", Scenario(R"([
        {"settings": {"DecimalSeparator": "."}},
        {"file": "cdsVenda.cds", "dataset": {"fields": [{"name": "NRSEQ", "type": "integer"}], "rows": [[1]]}},
        {"answers": ["S"]},
        {"call": "GetValue", "args": ["1,234.56"]},
        {"call": "FormataCNPJ", "args": ["Café-Bar/01"]}
    ])")});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    ASSERT_EQ(run.replies.size(), 5u) << run.out;
    EXPECT_EQ(run.replies[0]["settings"]["DecimalSeparator"], ".");
    EXPECT_TRUE(std::filesystem::exists(root_ / "till" / "cdsVenda.cds"));
    EXPECT_EQ(run.replies[2]["answers"], 1);
    // The settings of an earlier step hold for the later ones in the same process.
    EXPECT_EQ(run.replies[3]["result"], 1234.56);
    EXPECT_EQ(run.replies[4]["result"], "CaféBar01");
}

TEST_F(OrbProcessTest, ASecondProcessFindsThePrinterAndTheSaleTheFirstLeft) {
    // One request per line.
    const std::string start = Json::parse(R"({"call": "StartImpFiscal", "args": [[["CDFILIAL", "0001"],
        ["CDCAIXA", "001"], ["NRSERIEIMP", "BE091010100011223344"], ["ESQUEMA", "001"], ["CDPORTAIMPFIS", "COM1"],
        ["IDTIPOIMPFIS", 34], ["BOUTILTAA", false]]]})")
                                  .dump();
    OrbRun first = Orb(
        {"--home", Home(), "run",
         Scenario(
             R"({"sim": "reset", "model": 34, "serial": "BE091010100011223344"})"
             "\n" +
             start + "\n" +
             R"({"file": "cdsVenda.cds", "dataset": {"fields": [{"name": "NRSEQ", "type": "integer"}], "rows": [[1]]}})")});
    ASSERT_EQ(first.status, 0) << first.out << first.err;
    ASSERT_EQ(first.replies.size(), 3u);
    EXPECT_EQ(first.replies[1]["result"], true);

    // The till comes back: the sale file is still there, so opening the port recovers the sale.
    OrbRun second = Orb({"--home", Home(), "run", Scenario(start + "\n" + R"({"sim": "journal"})")});
    ASSERT_EQ(second.replies.size(), 2u) << second.out << second.err;
    EXPECT_EQ(second.replies[0]["result"], true);
    int opened = 0;
    bool cancelled = false;
    for (const Json& call : second.replies[1]["journal"]) {
        opened += call["entry"] == "Bematech_FI_AbrePortaSerial";
        cancelled = cancelled || call["entry"] == "Bematech_FI_CancelaCupom";
    }
    EXPECT_EQ(opened, 2);  // the journal kept the first process's calls
    EXPECT_TRUE(cancelled);
    const auto logs = platform::FindFiles(Home() + "/impdebug*.txt");
    ASSERT_EQ(logs.size(), 1u);
    const std::string log = ReadAll(logs[0]);
    EXPECT_NE(log.find("Bematech_FI_AbrePortaSerial: 1"), log.rfind("Bematech_FI_AbrePortaSerial: 1"));
}

TEST(OrbScenario, StepsFromEveryLayout) {
    EXPECT_TRUE(ParseScenario(" \n ").empty());
    EXPECT_EQ(ParseScenario(R"([{"answers": ["S"]}, {"answers": ["N"]}])").size(), 2u);
    // One request written over several lines is one step.
    auto single = ParseScenario("{\n  \"call\": \"GetValue\",\n  \"args\": [\"1\"]\n}\n");
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0].request["call"], "GetValue");
    // An array that breaks is reported once, not read as lines.
    auto broken = ParseScenario("[{\"answers\": [\"S\"]},\n{\"answers\": }]");
    ASSERT_EQ(broken.size(), 1u);
    EXPECT_FALSE(broken[0].parseError.empty());

    std::ostringstream out;
    EXPECT_EQ(RunSteps(ParseScenario("{\"answers\": []}\r\nnot json\r\n"), out), 1);
    std::istringstream lines(out.str());
    std::string first, second, third;
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_FALSE(std::getline(lines, third));
    EXPECT_EQ(Json::parse(first)["answers"], hostlib::Recorded().queuedAnswers.size());
    EXPECT_NE(Json::parse(second)["error"].get<std::string>().find("line 2 is not valid JSON"), std::string::npos);
}

}  // namespace
}  // namespace orb::cli::testing
