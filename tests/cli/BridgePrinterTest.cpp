// The bridge in front of the real module and the virtual printer.
#include "CliTestSupport.h"

#include "SimControl.h"
#include "framework/DateTime.h"

namespace orb::cli::testing {
namespace {

const char* kSerial = "BE091010100011223344";

Json StartRequest(const Json& tipo = 34) {
    return Json{
        {"call", "StartImpFiscal"},
        {"args", Json::array({Json::array({Json::array({"CDFILIAL", "0001"}), Json::array({"CDCAIXA", "001"}),
                                           Json::array({"NRSERIEIMP", kSerial}), Json::array({"ESQUEMA", "001"}),
                                           Json::array({"CDPORTAIMPFIS", "COM1"}), Json::array({"IDTIPOIMPFIS", tipo}),
                                           Json::array({"BOUTILTAA", false})})})}};
}

class BridgePrinterTest : public BridgeTest {
protected:
    void SetUp() override {
        BridgeTest::SetUp();
        Json reset = Ask(Json{{"sim", "reset"}, {"model", 34}, {"serial", kSerial}});
        ASSERT_FALSE(reset.contains("error")) << reset.dump();
        ASSERT_EQ(reset["sim"], "reset");
    }
    void TearDown() override {
        Ask(R"({"call": "StopImpFiscal", "args": []})");
        BridgeTest::TearDown();
    }
    std::vector<std::string> JournalEntries() {
        std::vector<std::string> entries;
        Json journal = Ask(R"({"sim": "journal"})");
        EXPECT_TRUE(journal["journal"].is_array()) << journal.dump();
        for (const Json& call : journal["journal"]) entries.push_back(call["entry"]);
        return entries;
    }
};

TEST_F(BridgePrinterTest, StartThenQueriesAnswerWhatThePrinterHolds) {
    Json start = Ask(StartRequest());
    ASSERT_EQ(start["result"], true) << start.dump();
    EXPECT_EQ(start["dialogs"], Json::array());

    Json serial = Ask(R"({"call": "Numero_de_Serie", "args": ["001", null]})");
    EXPECT_EQ(serial["result"], true);
    EXPECT_EQ(serial["args"][1], kSerial);

    Json counter = Ask(R"({"call": "ContadorCupomFiscalMFD", "args": ["001", ""]})");
    EXPECT_EQ(counter["args"][1], "000000");

    // A result array the host created comes back holding the answer at its index.
    Json total = Ask(R"({"call": "RetornaGtAtual", "args": [["001"], [null, null]]})");
    EXPECT_EQ(total["result"], true);
    EXPECT_EQ(total["args"][1], Json::parse(R"(["000000000000000000", null])"));

    // A replaced named-parameter array comes back as pairs.
    Json data = Ask(R"({"call": "Carrega_Dados_Impressora", "args": [[["ESQUEMA", "001"]]]})");
    ASSERT_EQ(data["result"], true) << data.dump();
    bool sawSerial = false;
    for (const Json& pair : data["args"][0]) sawSerial = sawSerial || (pair[0] == "SERIEIMP" && pair[1] == kSerial);
    EXPECT_TRUE(sawSerial) << data["args"].dump();

    auto entries = JournalEntries();
    EXPECT_NE(std::find(entries.begin(), entries.end(), "Bematech_FI_GrandeTotal"), entries.end());
    EXPECT_NE(std::find(entries.begin(), entries.end(), "Bematech_FI_NumeroSerieMFD"), entries.end());
}

TEST_F(BridgePrinterTest, SettingsReachTheModulesDebugLog) {
    ASSERT_EQ(Ask(StartRequest())["result"], true);
    Ask(R"({"settings": {"ShortDateFormat": "yyyy-mm-dd"}})");
    Ask(R"({"call": "Numero_de_Serie", "args": ["001", null]})");

    const auto logs = platform::FindFiles(folders_.home + "/impdebug*.txt");
    ASSERT_EQ(logs.size(), 1u);
    const std::string log = ReadAll(logs[0]);
    const std::string line = "Bematech_FI_NumeroSerieMFD\r\nRetorno da Impressora : " + std::string(kSerial);
    const std::size_t at = log.rfind(line);
    ASSERT_NE(at, std::string::npos) << log;
    const std::size_t lineStart = log.rfind('\n', at - 4) + 1;
    EXPECT_EQ(log.substr(lineStart, 10), DateTimeToIso(fw::Date()).substr(0, 10)) << log.substr(lineStart, 40);
}

TEST_F(BridgePrinterTest, ParameterErrorDialogComesBackInTheReply) {
    Json start = Ask(StartRequest("trinta e quatro"));
    ASSERT_FALSE(start.contains("error")) << start.dump();
    ASSERT_GE(start["dialogs"].size(), 1u);
    const Json& dialog = start["dialogs"][0];
    EXPECT_EQ(dialog["kind"], 3);
    EXPECT_EQ(dialog["scheme"], "001");
    EXPECT_EQ(dialog["question"], "N");
    EXPECT_NE(dialog["text"].get<std::string>().find(
                  "\rErro no recebimento dos parâmetros da função: StartImpFiscal - Orb_00100.bpl"),
              std::string::npos)
        << dialog.dump();
    EXPECT_FALSE(dialog.contains("unanswered"));
}

TEST_F(BridgePrinterTest, RecoveryReportsItsLedgerRecord) {
    // The host left a sale in progress and a card transfer whose slip is still pending.
    Ask(R"({"file": "cdsVenda.cds", "dataset": {"fields": [{"name": "NRSEQITEM", "type": "integer"}], "rows": [[1]]}})");
    Ask(R"({"file": "ultTef.cds", "dataset": {
        "fields": [{"name": "NrCupomTef", "size": 10}, {"name": "dataTef", "size": 8}, {"name": "hrTef", "size": 6},
                   {"name": "IdSituVenda", "size": 1}, {"name": "NsuHost", "size": 15},
                   {"name": "CDTIPORECE", "size": 3}, {"name": "NRCONTROLTEF", "size": 50}],
        "rows": [["000123", "06122026", "101500", "V", "123456", "002", "A1"]]}})");
    ASSERT_FALSE(Ask(R"({"sim": "extended", "value": 64})").contains("error"));

    Json start = Ask(StartRequest());
    EXPECT_EQ(start["result"], true) << start.dump();
    ASSERT_EQ(start["ledger"].size(), 1u) << start.dump();
    const Json& record = start["ledger"][0];
    ASSERT_EQ(record.size(), 10u);
    EXPECT_EQ(record[0], kSerial);
    EXPECT_EQ(record[5], "NC");
    EXPECT_TRUE(record[7].contains("datetime"));
    EXPECT_TRUE(record[8].contains("datetime"));
    auto entries = JournalEntries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back(), "Bematech_FI_CancelaCupom");
}

TEST_F(BridgePrinterTest, RepairedConfigurationAsksTheHostToClose) {
    ASSERT_EQ(Ask(StartRequest())["result"], true);
    Ask(R"({"system_file": "Bemafi32.ini", "text": "[Sistema]\r\nImpressora=0\r\n"})");
    Json data = Ask(R"({"call": "Carrega_Dados_Impressora", "args": [[["ESQUEMA", "002"]]]})");
    EXPECT_EQ(data["terminate"], true) << data.dump();
    ASSERT_GE(data["dialogs"].size(), 1u);
    EXPECT_EQ(data["dialogs"][0]["kind"], 0);
    EXPECT_EQ(data["dialogs"][0]["scheme"], "002");
    EXPECT_NE(ReadAll(folders_.system + "/Bemafi32.ini").find("Impressora=1"), std::string::npos);
    // Nothing asked the host to close on a call without repair.
    EXPECT_FALSE(Ask(R"({"call": "Numero_de_Serie", "args": ["001", null]})").contains("terminate"));
}

TEST_F(BridgePrinterTest, PrinterCommandsThatFailSayWhy) {
    Json unknown = Ask(R"({"sim": "levitate"})");
    EXPECT_EQ(unknown["sim"], "levitate");
    EXPECT_TRUE(unknown.contains("error"));

    // A reply bigger than the first area offered still arrives whole.
    ASSERT_EQ(Ask(StartRequest())["result"], true);
    Json whole = SimControl(Json{{"sim", "journal"}});
    Json retried = SimControl(Json{{"sim", "journal"}}, 16);
    EXPECT_GT(whole.dump().size(), 200u);
    EXPECT_EQ(retried, whole);

    // Clearing answers what was there, once, however small the first area.
    Json cleared = SimControl(Json{{"sim", "journal"}, {"clear", true}}, 16);
    EXPECT_EQ(cleared["journal"], whole["journal"]);
    EXPECT_EQ(Ask(R"({"sim": "journal"})")["journal"], Json::array());
}

TEST(BridgeDialogs, AnUnansweredQuestionIsMarked) {
    hostlib::Dialog question;
    question.text = "Impressora n\xE3o responde. Imprimir novamente?";
    question.question = "S";
    question.kind = 3;
    question.scheme = "001";
    question.answer = false;
    question.answered = false;
    EXPECT_EQ(DialogToJson(question), Json::parse(R"({"kind": 3, "text": "Impressora não responde. Imprimir novamente?",
        "scheme": "001", "question": "S", "answer": "N", "unanswered": true})"));
    question.answered = true;
    question.answer = true;
    EXPECT_EQ(DialogToJson(question)["answer"], "S");
    EXPECT_FALSE(DialogToJson(question).contains("unanswered"));
}

}  // namespace
}  // namespace orb::cli::testing
