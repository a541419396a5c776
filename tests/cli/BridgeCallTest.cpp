// Operation calls through the bridge: arguments in, results, var parameters and records out.
#include "CliTestSupport.h"

namespace orb::cli::testing {
namespace {

TEST_F(BridgeTest, ResultAndTextArgumentsCrossInBothDirections) {
    Json reply = Ask(R"({"call": "FormataCNPJ", "args": ["12.345.678/0001-90"]})");
    EXPECT_EQ(reply["call"], "FormataCNPJ");
    EXPECT_EQ(reply["result"], "12345678000190");
    EXPECT_EQ(reply["args"], Json::parse(R"(["12.345.678/0001-90"])"));
    EXPECT_EQ(reply["dialogs"], Json::array());
    EXPECT_EQ(reply["ledger"], Json::array());
    EXPECT_EQ(reply["cer"], Json::array());
    EXPECT_FALSE(reply.contains("error"));

    // Characters other than the punctuation stay, accents included.
    EXPECT_EQ(Ask(R"({"call": "FormataCNPJ", "args": ["Ação-1.2"]})")["result"], "Ação12");
    EXPECT_EQ(Ask(R"({"call": "GetValue", "args": ["  1.234,56 "]})")["result"], 1234.56);
}

TEST_F(BridgeTest, AnOperationThatRaisesAnswersItsErrorAndItsArguments) {
    Json reply = Ask(R"({"call": "GetValue", "args": ["      "]})");
    ASSERT_TRUE(reply.contains("error")) << reply.dump();
    EXPECT_NE(reply["error"].get<std::string>().find("is not a valid floating point value"), std::string::npos)
        << reply["error"];
    EXPECT_EQ(reply["result"], nullptr);
    EXPECT_EQ(reply["args"], Json::parse(R"(["      "])"));
    EXPECT_TRUE(reply["dialogs"].is_array());
}

TEST_F(BridgeTest, CallsThatCannotBeMadeSayWhy) {
    Json unknown = Ask(R"({"call": "AbreGaveta", "args": [1]})");
    EXPECT_NE(unknown["error"].get<std::string>().find("AbreGaveta"), std::string::npos);
    EXPECT_EQ(unknown["args"], Json::parse("[1]"));

    Json count = Ask(R"({"call": "GetValue", "args": []})");
    EXPECT_NE(count["error"].get<std::string>().find("takes 1 arguments, 0 given"), std::string::npos) << count;

    Json kind = Ask(R"({"call": "Codigo_Nacional_ECF", "args": ["34", "010002"]})");
    ASSERT_TRUE(kind.contains("error"));
    EXPECT_NE(kind["error"].get<std::string>().find("argument 1"), std::string::npos) << kind;

    // Names are the plain names, exactly.
    EXPECT_TRUE(Ask(R"({"call": "getvalue", "args": ["100"]})").contains("error"));
}

}  // namespace
}  // namespace orb::cli::testing
