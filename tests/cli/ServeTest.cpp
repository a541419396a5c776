// `orb serve`: one reply line per request line, in order, from one long-lived module.
#include "CliTestSupport.h"

#include <cstdlib>
#include <sstream>

#include "ClosingValues.h"
#include "Serve.h"
#include "framework/DateTime.h"

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
    EXPECT_EQ(outcome.replies, 5);
    EXPECT_EQ(outcome.errors, 2);
    EXPECT_FALSE(outcome.outputLost);
    EXPECT_EQ(replies[0]["settings"]["DecimalSeparator"], ".");
    // The settings of an earlier request hold for the later ones: one module for the whole service.
    EXPECT_EQ(replies[1]["result"], 1234.56);
    EXPECT_NE(replies[2]["error"].get<std::string>().find("line 5 is not valid JSON"), std::string::npos);
    EXPECT_EQ(replies[3]["error"], "a request is a JSON object");
    EXPECT_EQ(replies[4]["result"],
              "Caf\xC3\xA9"
              "Bar01");

    std::istringstream nothing("");
    EXPECT_EQ(Serve(nothing, out).replies, 0);
    std::istringstream requests("{\"answers\": []}\n{\"answers\": []}\n");
    std::ostringstream closed;
    closed.setstate(std::ios::badbit);
    const ServeOutcome lost = Serve(requests, closed);
    EXPECT_TRUE(lost.outputLost);
    EXPECT_EQ(lost.replies, 1);  // it stops at the first reply that cannot go out
}

// ---- through the program -----------------------------------------------------------------

TEST_F(OrbProcessTest, ServeRunsAWholeSaleAndKeepsGoingAfterBadLines) {
    auto at = [](int minute) { return fw::EncodeDateTime(2026, 12, 6, 12, minute, 0); };
    // Paid 25,00 in cash and 20,00 by card for a sale of 40,00: 5,00 change.
    const Json closing = FechaCupomRequest(
        {.change = 5.0,
         .movements = ClosingMovements(
             {{.type = "001", .amount = 25.0, .taken = at(1)}, {.type = "002", .amount = 20.0, .taken = at(2)}}),
         .paymentTypes = ClosingPaymentTypes({{"001", "Dinheiro", "1"}, {"002", "Cartao Credito", "2"}})});
    Json reset = ResetRequest();
    reset["payments"] = {"Dinheiro", "Cartao Credito"};
    const std::vector<Json> requests = {reset,
                                        StartRequest(),
                                        OpeningRequest(),
                                        ItemRequest("Moqueca", 30.0),
                                        Call("NoSuchOperation"),
                                        ItemRequest("Suco", 10.0),
                                        closing,
                                        Json{{"sim", "state"}},
                                        Json{{"sim", "roll"}},
                                        Call("StopImpFiscal")};
    OrbRun run = Orb({"--home", Home(), "serve"}, JsonLines(requests) + "{\"call\": \n");
    // Errors travel in the replies; the service itself ended as it should.
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    ASSERT_EQ(run.replies.size(), requests.size() + 1) << run.out;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        // Each reply names what it answers, so the order is visible.
        const char* kind = requests[i].contains("call") ? "call" : "sim";
        EXPECT_EQ(run.replies[i][kind], requests[i][kind]) << i;
        EXPECT_EQ(run.replies[i].contains("error"), i == 4) << run.replies[i].dump();
    }
    EXPECT_EQ(run.replies[4]["error"], "no operation named \"NoSuchOperation\"");
    EXPECT_NE(run.replies.back()["error"].get<std::string>().find("line 11"), std::string::npos);
    for (std::size_t i : {1, 2, 3, 5, 6}) EXPECT_EQ(run.replies[i]["result"], true) << run.replies[i].dump();
    // The host's result array: no retry, the state-programme number back.
    const Json& result = run.replies[6]["args"][2];
    ASSERT_EQ(result.size(), 4u);
    EXPECT_EQ(result[0], 0);
    EXPECT_EQ(result[1], "4711");
    EXPECT_FALSE(run.replies[7]["docs"]["couponOpen"].get<bool>());
    const std::string roll = run.replies[8]["roll"];
    EXPECT_NE(roll.find("Suco"), std::string::npos) << roll;
    EXPECT_NE(roll.find("Obrigado pela preferencia"), std::string::npos) << roll;
}

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
    EXPECT_EQ(run.replies[4]["result"], false) << run.replies[4].dump();
    EXPECT_EQ(unanswered["answer"], "N") << run.replies[4].dump();
    EXPECT_EQ(unanswered["unanswered"], true);
    EXPECT_NE(unanswered["text"].get<std::string>().find("Moqueca"), std::string::npos) << unanswered.dump();

    const Json answered = Question(run.replies[7]);
    EXPECT_EQ(run.replies[7]["result"], true) << run.replies[7].dump();
    EXPECT_EQ(answered["answer"], "S") << run.replies[7].dump();
    EXPECT_FALSE(answered.contains("unanswered"));
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
    EXPECT_NE(shown.find("Total 82.50, paid 90.00, change 7.50"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Feijoada"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Obrigado pela preferencia"), std::string::npos) << shown;
}

}  // namespace
}  // namespace orb::cli::testing
