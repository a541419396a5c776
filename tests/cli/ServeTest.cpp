// `orb serve`: one reply line per request line, in order, from one long-lived module.
#include "CliTestSupport.h"

#include <cstdlib>
#include <sstream>

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
}

TEST_F(ServeTest, EmptyInputEndsAtOnceAndLostOutputStopsTheService) {
    std::istringstream nothing("");
    std::ostringstream out;
    EXPECT_EQ(Serve(nothing, out).replies, 0);
    EXPECT_TRUE(out.str().empty());

    std::istringstream requests("{\"answers\": []}\n{\"answers\": []}\n");
    std::ostringstream closed;
    closed.setstate(std::ios::badbit);
    const ServeOutcome outcome = Serve(requests, closed);
    EXPECT_TRUE(outcome.outputLost);
    EXPECT_EQ(outcome.replies, 1);  // it stops at the first reply that cannot go out
}

// ---- through the program -----------------------------------------------------------------

const char* kSerial = "BE091010100011223344";

Json Named(std::initializer_list<std::pair<const char*, Json>> pairs) {
    Json list = Json::array();
    for (const auto& [name, value] : pairs) list.push_back(Json::array({name, value}));
    return list;
}

Json Call(const char* name, Json args) { return Json{{"call", name}, {"args", std::move(args)}}; }

Json Dataset(const std::vector<std::tuple<const char*, const char*, int>>& fields, Json rows) {
    Json list = Json::array();
    for (const auto& [name, type, size] : fields) list.push_back(Json{{"name", name}, {"type", type}, {"size", size}});
    return Json{{"dataset", {{"fields", list}, {"rows", std::move(rows)}}}};
}

Json Item(const char* code, const char* name, const char* tax, const char* rate, double price) {
    return Call("VendaItem", Json::array({Named({{"ESQUEMACOR", "001"},
                                                 {"CDARVPROD", code},
                                                 {"NMPROD", name},
                                                 {"CDALIQ", tax},
                                                 {"QTDE", 1.0},
                                                 {"VALOR", price},
                                                 {"DESCONT", 0.0},
                                                 {"UNIDADE", "UN"},
                                                 {"VRPERCALIQ", rate},
                                                 {"IDUTILTEF", "N"},
                                                 {"UTILTEF", false},
                                                 {"ACRESCIMO", 0.0}})}));
}

// Paid 25,00 in cash and 20,00 by card for a sale of 40,00: 5,00 change.
Json Closing() {
    Json v = Json::array();
    for (int i = 0; i < 61; ++i) v.push_back("");
    v[0] = "01";
    v[1] = "Volte sempre";
    v[2] = "001";
    v[3] = 0;
    v[4] = false;
    v[5] = true;
    for (int i : {6, 8, 37, 38, 50, 51, 53, 58}) v[i] = 0.0;
    v[7] = 5.0;
    v[9] = "N";
    v[11] = false;
    v[13] = Dataset({{"CDFILIAL", "string", 4},
                     {"IDTIPOMOVIVE", "string", 1},
                     {"DTHRINCMOV", "datetime", 0},
                     {"CDTIPORECE", "string", 3},
                     {"VRMOVIVEND", "float", 0},
                     {"NRORDTROCO", "integer", 0},
                     {"CDBANCARTCR", "string", 3},
                     {"CDTIPORECEORIG", "string", 3}},
                    Json::parse(R"([["0001", "E", {"datetime": "2026-12-06T12:01:00"}, "001", 25.0, 0, "", ""],
                                    ["0001", "E", {"datetime": "2026-12-06T12:02:00"}, "002", 20.0, 0, "", ""]])"));
    v[14] = Dataset({{"CDTIPORECE", "string", 3}, {"NMTIPORECE", "string", 40}, {"IDTIPORECE", "string", 1}},
                    Json::parse(R"([["001", "Dinheiro", "1"], ["002", "Cartao Credito", "2"]])"));
    v[27] = "2";
    for (int i : {32, 33, 34, 49}) v[i] = nullptr;
    v[36] = "2";
    v[40] = "N";
    v[41] = "001";
    v[42] = "4711";
    v[43] = "SP";
    v[45] = "12.345.678/0001-90";
    v[52] = 0;
    v[60] = true;
    return Call("FechaCupom", Json::array({v, nullptr, Json::array({nullptr, nullptr, nullptr, nullptr})}));
}

TEST_F(OrbProcessTest, ServeRunsAWholeSaleWithRepliesInOrder) {
    const std::vector<Json> requests = {
        Json{{"sim", "reset"}, {"model", 34}, {"serial", kSerial}, {"payments", {"Dinheiro", "Cartao Credito"}}},
        Call("StartImpFiscal", Json::array({Named({{"CDFILIAL", "0001"},
                                                   {"CDCAIXA", "001"},
                                                   {"NRSERIEIMP", kSerial},
                                                   {"ESQUEMA", "001"},
                                                   {"CDPORTAIMPFIS", "COM1"},
                                                   {"IDTIPOIMPFIS", 34},
                                                   {"BOUTILTAA", false}})})),
        Call("AbreCupom", Json::array({Named({{"ESQUEMACOR", "001"}, {"IDUTILTEF", "N"}, {"UTILTEF", false}})})),
        Item("7891", "Moqueca", "01", "18", 30.0),
        Item("7892", "Suco", "02", "12", 10.0),
        Closing(),
        Json{{"sim", "state"}},
        Json{{"sim", "roll"}},
        Call("StopImpFiscal", Json::array()),
    };
    std::string input;
    for (const Json& r : requests) input += r.dump() + "\n";
    OrbRun run = OrbWithInput({"--home", Home(), "serve"}, input);
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.replies.size(), requests.size()) << run.out;
    for (std::size_t i = 0; i < requests.size(); ++i) {
        ASSERT_TRUE(run.replies[i].is_object()) << i;
        EXPECT_FALSE(run.replies[i].contains("error")) << run.replies[i].dump();
        // Each reply names what it answers, so the order is visible.
        const char* kind = requests[i].contains("call") ? "call" : "sim";
        EXPECT_EQ(run.replies[i][kind], requests[i][kind]) << i;
    }
    for (std::size_t i : {1, 2, 3, 4, 5}) EXPECT_EQ(run.replies[i]["result"], true) << run.replies[i].dump();
    // The host's result array: no error, the state-programme number, the receipt counter, no message.
    const Json& result = run.replies[5]["args"][2];
    ASSERT_EQ(result.size(), 4u);
    EXPECT_EQ(result[0], 0);
    EXPECT_EQ(result[1], "4711");
    EXPECT_FALSE(run.replies[6]["docs"]["couponOpen"].get<bool>());
    const std::string roll = run.replies[7]["roll"];
    EXPECT_NE(roll.find("Moqueca"), std::string::npos) << roll;
    EXPECT_NE(roll.find("Volte sempre"), std::string::npos) << roll;
}

TEST_F(OrbProcessTest, ServeKeepsGoingAfterBadLinesAndEndsCleanly) {
    OrbRun run = OrbWithInput({"--home", Home(), "serve"},
                              "{\"call\": \"GetValue\", \"args\": [\"12345\"]}\n"
                              "\n"
                              "{\"call\": \n"
                              "{\"call\": \"NoSuchOperation\", \"args\": []}\n"
                              "{\"call\": \"GetValue\", \"args\": [\"250\"]}\n");
    // Errors travel in the replies; the service itself ended as it should.
    EXPECT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.replies.size(), 4u) << run.out;
    EXPECT_EQ(run.replies[0]["result"], 123.45);
    EXPECT_NE(run.replies[1]["error"].get<std::string>().find("line 3"), std::string::npos);
    EXPECT_EQ(run.replies[2]["error"], "no operation named \"NoSuchOperation\"");
    EXPECT_EQ(run.replies[3]["result"], 2.5);
    EXPECT_TRUE(run.err.empty()) << run.err;

    OrbRun extra = OrbWithInput({"serve", "requests.json"}, "");
    EXPECT_EQ(extra.status, 2);
    EXPECT_TRUE(extra.out.empty());
}

TEST_F(OrbProcessTest, ServeQuestionsTakeQueuedAnswersAndNeverWaitForAnOperator) {
    // An item the printer refuses once: the attended till asks whether to print it again.
    const Json refuseOnce{{"sim", "fail"}, {"entry", "Bematech_FI_VendeItemArredondamentoMFD"}, {"return", 0}};
    const std::vector<Json> requests = {
        Json{{"sim", "reset"}, {"model", 34}, {"serial", kSerial}},
        Call("StartImpFiscal", Json::array({Named({{"CDFILIAL", "0001"},
                                                   {"CDCAIXA", "001"},
                                                   {"NRSERIEIMP", kSerial},
                                                   {"ESQUEMA", "001"},
                                                   {"CDPORTAIMPFIS", "COM1"},
                                                   {"IDTIPOIMPFIS", 34},
                                                   {"BOUTILTAA", false}})})),
        Call("AbreCupom", Json::array({Named({{"ESQUEMACOR", "001"}, {"IDUTILTEF", "N"}, {"UTILTEF", false}})})),
        refuseOnce,
        Item("7891", "Moqueca", "01", "18", 30.0),
        Json{{"answers", {"S"}}},
        refuseOnce,
        Item("7891", "Moqueca", "01", "18", 30.0),
    };
    std::string input;
    for (const Json& r : requests) input += r.dump() + "\n";
    // Standard input is the request stream: an unqueued question is answered "N" at once.
    OrbRun run = OrbWithInput({"--home", Home(), "serve"}, input);
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.replies.size(), requests.size()) << run.out;
    auto question = [](const Json& reply) {
        for (const Json& dialog : reply["dialogs"])
            if (dialog["question"] == "S") return dialog;
        return Json();
    };
    const Json unanswered = question(run.replies[4]);
    EXPECT_EQ(run.replies[4]["result"], false) << run.replies[4].dump();
    EXPECT_EQ(unanswered["answer"], "N") << run.replies[4].dump();
    EXPECT_EQ(unanswered["unanswered"], true);
    EXPECT_NE(unanswered["text"].get<std::string>().find("Moqueca"), std::string::npos) << unanswered.dump();

    const Json answered = question(run.replies[7]);
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
