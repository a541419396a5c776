// `orb serve`: one reply line per request line, in order, from one long-lived module.
#include "CliTestSupport.h"

#include <cstdlib>
#include <sstream>
#include <tuple>

#include "Serve.h"

namespace orb::cli::testing {
namespace {

using ServeTest = BridgeTest;

TEST_F(ServeTest, AnswersEveryRequestLineInOrderAndGoesOnAfterBadLines) {
    std::istringstream in(
        "\xEF\xBB\xBF{\"settings\": {\"DecimalSeparator\": \".\"}}\r\n"
        "\n"
        "   \t\n"
        "{\"call\": \"GetValue\", \"args\": [\"1,234.56\"]}\n"
        "this is not json\n"
        "[1, 2]\n"
        "{\"call\": \"FormataCNPJ\", \"args\": [\"Caf\xC3\xA9-Bar/01\"]}");  // the last line has no line feed
    std::ostringstream out;
    const ServeOutcome outcome = Serve(in, out);

    const std::vector<Json> replies = ReplyLines(out.str());
    ASSERT_EQ(replies.size(), 5u) << out.str();
    EXPECT_EQ(std::make_tuple(outcome.replies, outcome.errors, outcome.outputLost), std::make_tuple(5, 2, false));
    // The settings of an earlier request hold for the later ones: one module for the whole service.
    EXPECT_EQ(Json::array({replies[0]["settings"]["DecimalSeparator"], replies[1]["result"], replies[3]["error"],
                           replies[4]["result"]}),
              Json::array({".", 1234.56, "a request is a JSON object", "Caf\303\251Bar01"}));
    EXPECT_NE(replies[2]["error"].get<std::string>().find("line 5 is not valid JSON"), std::string::npos);

    // Hostile lines get an error reply each and the service goes on: a NUL byte (which the parser
    // would take for the end of the line), nesting thousands deep, a file name with a NUL in it.
    const std::string deep = std::string(12000, '[') + std::string(12000, ']');
    std::istringstream hostile(std::string("{\"answers\": []}\0{\"answers\": [\"S\"]}\n", 35) + deep +
                               "\n{\"file\": \"a\\u0000b.txt\", \"text\": \"x\"}\n{\"answers\": []}\n");
    std::ostringstream answered;
    Serve(hostile, answered);
    const std::vector<Json> hostileReplies = ReplyLines(answered.str());
    ASSERT_EQ(hostileReplies.size(), 4u) << answered.str();
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(hostileReplies[i].contains("error")) << hostileReplies[i];
    EXPECT_EQ(hostileReplies[3], Json::parse(R"({"answers": 0})"));
    EXPECT_FALSE(std::filesystem::exists(folders_.home + "/a"));

    std::istringstream nothing("");
    EXPECT_EQ(Serve(nothing, out).replies, 0);
    std::istringstream requests("{\"answers\": []}\n{\"answers\": []}\n");
    std::ostringstream closed;
    closed.setstate(std::ios::badbit);
    const ServeOutcome lost = Serve(requests, closed);
    // It stops at the first reply that cannot go out.
    EXPECT_EQ(std::make_tuple(lost.outputLost, lost.replies), std::make_tuple(true, 1));
}

// The program serves its standard input and never waits for an operator.
TEST_F(OrbProcessTest, ServeQuestionsTakeQueuedAnswersAndNeverWaitForAnOperator) {
    // An item the printer refuses once: the attended till asks whether to print it again.
    const Json refuseOnce{{"sim", "fail"}, {"entry", "Bematech_FI_VendeItemArredondamentoMFD"}, {"return", 0}};
    const std::vector<Json> requests = {
        ResetRequest(), StartRequest(),           OpeningRequest(), refuseOnce,
        ItemRequest(),  Json{{"answers", {"S"}}}, refuseOnce,       ItemRequest(),
    };
    // Standard input is the request stream: an unqueued question is answered "N" at once.
    OrbRun run = Orb({"--home", Home(), "serve"}, JsonLines(requests));
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.replies.size(), requests.size()) << run.out;
    const Json unanswered = Question(run.replies[4]);
    EXPECT_EQ(Json::array({run.replies[4]["result"], unanswered["answer"], unanswered["unanswered"]}),
              Json::array({false, "N", true}))
        << run.replies[4].dump();
    EXPECT_NE(unanswered["text"].get<std::string>().find("Moqueca"), std::string::npos) << unanswered.dump();

    const Json answered = Question(run.replies[7]);
    EXPECT_EQ(Json::array({run.replies[7]["result"], answered["answer"], answered.contains("unanswered")}),
              Json::array({true, "S", false}))
        << run.replies[7].dump();
    EXPECT_EQ(run.err.find("(S/N)"), std::string::npos) << run.err;
}

TEST_F(OrbProcessTest, ThePythonExampleRunsASaleOverServe) {
    if (std::system("command -v python3 >/dev/null 2>&1") != 0) GTEST_SKIP() << "python3 is not installed";
    const std::string script = std::string(ORB_SOURCE_DIR) + "/tools/orb/examples/serve_sale.py";
    const std::string out = (root_ / "python.txt").string();
    const std::string command = "cd " + Quoted(root_.string()) + " && python3 " + Quoted(script) + " --orb " +
                                Quoted(BinFolder() + "/orb") + " --home " + Quoted(Home()) + " </dev/null >" +
                                Quoted(out) + " 2>&1";
    const int status = std::system(command.c_str());
    const std::string shown = ReadAll(out);
    ASSERT_EQ(status, 0) << shown;
    for (const char* piece : {"Total 82.50, paid 90.00, change 7.50", "Feijoada", "Obrigado pela preferencia"})
        EXPECT_NE(shown.find(piece), std::string::npos) << piece << "\n" << shown;
}

}  // namespace
}  // namespace orb::cli::testing
