// The bridge in front of the real module and the virtual printer.
#include "CliTestSupport.h"

#include "bridge/SimControl.h"

namespace orb::cli::testing {
namespace {

class BridgePrinterTest : public BridgeTest {
protected:
    void SetUp() override {
        BridgeTest::SetUp();
        Json reset = Ask(ResetRequest());
        ASSERT_TRUE(!reset.contains("error") && reset["sim"] == "reset") << reset.dump();
    }
    void TearDown() override {
        Ask(Call("StopImpFiscal"));
        BridgeTest::TearDown();
    }
};

TEST_F(BridgePrinterTest, DialogsAndTheHostsClosingComeBackInTheReply) {
    Json start = Ask(StartRequest("trinta e quatro"));
    ASSERT_FALSE(start.contains("error")) << start.dump();
    ASSERT_GE(start["dialogs"].size(), 1u);
    const Json& dialog = start["dialogs"][0];
    EXPECT_EQ(Json::array({dialog["kind"], dialog["scheme"], dialog["question"]}), Json::array({3, "001", "N"}));
    EXPECT_NE(dialog["text"].get<std::string>().find(
                  "\rErro no recebimento dos parâmetros da função: StartImpFiscal - Orb_00100.bpl"),
              std::string::npos)
        << dialog.dump();
    EXPECT_FALSE(dialog.contains("unanswered"));

    // A repaired printer configuration asks the host to close.
    ASSERT_EQ(Ask(StartRequest())["result"], true);
    Ask(R"({"system_file": "Bemafi32.ini", "text": "[Sistema]\r\nImpressora=0\r\n"})");
    Json data = Ask(R"({"call": "Carrega_Dados_Impressora", "args": [[["ESQUEMA", "002"]]]})");
    EXPECT_EQ(data["terminate"], true) << data.dump();
    ASSERT_GE(data["dialogs"].size(), 1u);
    EXPECT_EQ(Json::array({data["dialogs"][0]["kind"], data["dialogs"][0]["scheme"]}), Json::array({0, "002"}));
    EXPECT_NE(ReadAll(folders_.system + "/Bemafi32.ini").find("Impressora=1"), std::string::npos);
    // Nothing asked the host to close on a call without repair.
    EXPECT_FALSE(Ask(R"({"call": "Numero_de_Serie", "args": ["001", null]})").contains("terminate"));
}

TEST_F(BridgePrinterTest, PrinterCommandsThatFailSayWhyAndLongRepliesArriveWhole) {
    Json unknown = Ask(R"({"sim": "levitate"})");
    EXPECT_TRUE(unknown["sim"] == "levitate" && unknown.contains("error")) << unknown.dump();

    // A reply bigger than the first area offered still arrives whole.
    ASSERT_EQ(Ask(StartRequest())["result"], true);
    Json whole = SimControl(Json{{"sim", "journal"}});
    EXPECT_GT(whole.dump().size(), 200u);
    EXPECT_EQ(SimControl(Json{{"sim", "journal"}}, 16), whole);
    // Clearing answers what was there, once, however small the first area.
    Json cleared = SimControl(Json{{"sim", "journal"}, {"clear", true}}, 16);
    EXPECT_EQ(cleared["journal"], whole["journal"]);
    EXPECT_EQ(Ask(R"({"sim": "journal"})")["journal"], Json::array());
}

}  // namespace
}  // namespace orb::cli::testing
