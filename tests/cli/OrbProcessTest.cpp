// The orb program as a script or a person runs it: verbs, options, help, replies and exit status.
#include "CliTestSupport.h"

#include <map>
#include <sstream>
#include <tuple>

#include "Cli.h"
#include "Help.h"

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

    // An error reply gives exit status one.
    OrbRun error = Orb({"--home=" + Home(), "--system=" + (root_ / "sys").string(), "call", "GetValue", R"(["  "])"});
    EXPECT_EQ(std::tuple(error.status, error.replies.size()), std::tuple(1, 1u));
    EXPECT_TRUE(error.replies.at(0).contains("error"));
    EXPECT_TRUE(std::filesystem::exists(root_ / "sys" / "Bemafi32.ini"));
}

TEST_F(OrbProcessTest, RepliesCarryTheCallsLogLinesAndWhatTheBridgeSawOfAFailure) {
    // A one-shot call is a fresh module: its false comes with the reason.
    const OrbRun alone = Orb({"--home", Home(), "call", "VendaItem", R"([[["ESQUEMACOR", "001"]]])"});
    ASSERT_EQ(alone.replies.size(), 1u) << alone.out << alone.err;
    EXPECT_NE(alone.replies[0].value("warnings", Json::array()).dump().find("no StartImpFiscal"), std::string::npos)
        << alone.out;

    // One process: each reply holds the debug-log lines of its own call, in UTF-8; a started
    // module's failure is the module's to explain.
    const OrbRun run =
        Run(JsonLines({ResetRequest(), StartRequest(), Call("Cancela_UltimoItem", Json::array({"001"}))}));
    ASSERT_EQ(run.replies.size(), 3u) << run.out << run.err;
    const Json& start = run.replies[1]["log"];
    ASSERT_FALSE(start.empty()) << run.out;
    EXPECT_NE(start[0].get<std::string>().find(" - Bematech_FI_AbrePortaSerial"), std::string::npos) << start;
    const Json& cancel = run.replies[2];
    EXPECT_EQ(cancel["result"], false);
    EXPECT_NE(cancel["log"].dump().find("Bematech_FI_CancelaItemAnterior"), std::string::npos) << cancel;
    EXPECT_EQ(cancel["log"].dump().find("AbrePortaSerial"), std::string::npos) << cancel;
    EXPECT_FALSE(cancel.contains("warnings")) << cancel;
}

TEST_F(OrbProcessTest, UnusableCommandLinesGiveExitStatusTwoAndNoReply) {
    // The convenience verbs (the last five) take no words, nor the options of other verbs: their
    // usage is shown.
    // clang-format off
    const std::vector<std::vector<std::string>> cases = {
        {}, {"frobnicate"}, {"serve", "requests.json"}, {"call"}, {"call", "GetValue", "[1"},
        {"call", "GetValue", R"({"a": 1})"}, {"--home"}, {"--colour", "call", "GetValue"}, {"run"},
        {"run", (root_ / "missing.json").string()}, {"help", "frobnicate"}, {"help", "call", "run"},
        {"help", "VendaItem", "AbreCupom"}, {"help", "vendaitem"}, {"help", "--reference", "call"}, {"--reference"},
        {"call", "--reference"},
        {"frobnicate", "--help"}, {"roll", "now"}, {"log", "1226"}, {"state", "--clear"}, {"log", "--clear"},
        {"demo", "quick"}};
    // clang-format on
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const OrbRun run = Orb(cases[i]);
        std::string shown;
        for (const auto& w : cases[i]) shown += w + " ";
        EXPECT_EQ(std::tuple(run.status, run.out, run.err.empty()), std::tuple(2, "", false)) << shown;
        if (i + 5 >= cases.size()) {
            EXPECT_NE(run.err.find("usage: orb [--home DIR] [--system DIR] " + cases[i][0]), std::string::npos)
                << run.err;
        }
    }
}

TEST_F(OrbProcessTest, HelpInEveryFormListsEveryOperationAndTouchesNoFolder) {
    const std::pair<std::vector<std::string>, std::string> forms[] = {{{"--help"}, GeneralUsage()},
                                                                      {{"help"}, GeneralUsage()},
                                                                      {{"-h"}, GeneralUsage()},
                                                                      {{"help", "call"}, VerbHelp("call")},
                                                                      {{"call", "--help"}, VerbHelp("call")},
                                                                      {{"--help", "call"}, VerbHelp("call")},
                                                                      {{"help", "VendaItem"}, HelpTopic("VendaItem")},
                                                                      {{"help", "--reference"}, ReferenceDocument()}};
    for (const auto& [words, shown] : forms) {
        const OrbRun help = Orb(words);
        EXPECT_EQ(std::tuple(help.status, help.out), std::tuple(0, shown)) << words[0];
    }
    const std::string call = VerbHelp("call");
    EXPECT_FALSE(std::filesystem::exists(root_ / "orb-home"));
    for (const auto& operation : exports::Operations())
        EXPECT_NE(call.find("\n  " + operation.name + "("), std::string::npos) << operation.name;
}

TEST_F(OrbProcessTest, ASecondProcessFindsThePrinterAndTheSaleTheFirstLeft) {
    const Json sale = Json::parse(
        R"({"file": "cdsVenda.cds", "dataset": {"fields": [{"name": "NRSEQ", "type": "integer"}], "rows": [[1]]}})");
    OrbRun first = Run(JsonLines({ResetRequest(), StartRequest(), sale, OpeningRequest()}));
    ASSERT_EQ(first.status, 0) << first.out << first.err;
    ASSERT_EQ(first.replies.size(), 4u);
    EXPECT_EQ(first.replies[1]["result"], true);

    // The till comes back: the sale file is still there and the coupon open, so opening the port
    // recovers the sale.
    OrbRun second = Run(JsonLines({StartRequest(), Json{{"sim", "journal"}}}));
    ASSERT_EQ(second.replies.size(), 2u) << second.out << second.err;
    EXPECT_EQ(second.replies[0]["result"], true);
    std::map<std::string, int> calls;
    for (const Json& call : second.replies[1]["journal"]) ++calls[call["entry"].get<std::string>()];
    // The journal kept the first process's calls.
    EXPECT_EQ(std::tuple(calls["Bematech_FI_AbrePortaSerial"], calls["Bematech_FI_CancelaCupom"] > 0),
              std::tuple(2, true));
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
    const std::vector<Json> replies = ReplyLines(out.str());
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0]["answers"], hostlib::Recorded().queuedAnswers.size());
    EXPECT_NE(replies[1]["error"].get<std::string>().find("line 2 is not valid JSON"), std::string::npos);
}

}  // namespace
}  // namespace orb::cli::testing
