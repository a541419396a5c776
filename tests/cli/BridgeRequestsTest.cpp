// The bridge's requests: operation calls, answers, settings, files and globals, and what a
// request that cannot be served answers.
#include "CliTestSupport.h"

#include "framework/Cp1252.h"

namespace orb::cli::testing {
namespace {

TEST_F(BridgeTest, CallsAnswerTheirResultArgumentsAndRecords) {
    Json reply = Ask(R"({"call": "FormataCNPJ", "args": ["12.345.678/0001-90"]})");
    EXPECT_EQ(reply, Json::parse(R"({"call": "FormataCNPJ", "result": "12345678000190",
        "args": ["12.345.678/0001-90"], "dialogs": [], "ledger": [], "cer": [], "log": []})"));
    // Characters other than the punctuation stay, accents included.
    EXPECT_EQ(Ask(R"({"call": "FormataCNPJ", "args": ["Ação-1.2"]})")["result"], "Ação12");
    EXPECT_EQ(Ask(R"({"call": "GetValue", "args": ["  1.234,56 "]})")["result"], 1234.56);

    // An operation that raises answers its error beside its arguments.
    reply = Ask(R"({"call": "GetValue", "args": ["      "]})");
    EXPECT_NE(reply.value("error", "").find("is not a valid floating point value"), std::string::npos) << reply;
    EXPECT_EQ(Json::array({reply["result"], reply["args"], reply["dialogs"].is_array()}),
              Json::parse(R"([null, ["      "], true])"));
}

TEST_F(BridgeTest, RequestsThatCannotBeServedSayWhy) {
    // Each request and a piece of its error ("" for any).
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {R"([1])", ""}, {R"({})", ""}, {R"({"call": "GetValue", "sim": "state"})", ""}, {R"({"call": 3})", ""},
        {R"({"call": "GetValue", "arg": ["1"]})", ""}, {R"({"call": "GetValue", "args": "1"})", ""},
        {R"({"answers": "S"})", ""}, {R"({"settings": [1]})", ""}, {R"({"globals": []})", ""},
        {R"({"file": "a.txt"})", ""}, {R"({"file": "a.txt", "text": "x", "dataset": {}})", ""},
        {R"({"call": "AbreGaveta", "args": [1]})", "AbreGaveta"},
        {R"({"call": "getvalue", "args": ["100"]})", "getvalue"},  // plain names, exactly
        {R"({"call": "GetValue", "args": []})", "takes 1 argument, 0 given"},
        {R"({"call": "Codigo_Nacional_ECF", "args": ["34", "010002"]})", "argument 1"}};
    // clang-format on
    for (const auto& [request, named] : cases) {
        const Json reply = Ask(request);
        ASSERT_TRUE(reply.contains("error") && reply["error"].is_string()) << request << " -> " << reply.dump();
        EXPECT_NE(reply["error"].get<std::string>().find(named), std::string::npos) << reply.dump();
    }
    EXPECT_EQ(Ask(R"({"call": "AbreGaveta", "args": [1]})")["args"], Json::parse("[1]"));
}

TEST_F(BridgeTest, AnswersAndSettingsChangeAllOrNothing) {
    EXPECT_EQ(Ask(R"({"answers": ["S", "n", true]})"), Json::parse(R"({"answers": 3})"));
    EXPECT_TRUE(Ask(R"({"answers": ["S", "talvez"]})").contains("error"));
    EXPECT_EQ(hostlib::Recorded().queuedAnswers, (std::vector<bool>{true, false, true}));
    // The queue's use by the dialogs is the host library's own; only what the bridge queued matters here.
    EXPECT_TRUE(hostlib::Mensagem("Deseja imprimir novamente?", "", "N", "S", 3, "", "001", 0, nullptr));

    Json reply = Ask(R"({"settings": {"DecimalSeparator": ".", "ShortDateFormat": "yyyy-mm-dd"}})");
    const Json& set = reply["settings"];
    EXPECT_EQ(Json::array({set["DecimalSeparator"], set["ThousandSeparator"], set["ShortDateFormat"],
                           fw::Settings().ShortDateFormat}),
              Json::array({".", ".", "yyyy-mm-dd", "yyyy-mm-dd"}));
    for (const char* bad : {R"({"settings": {"DecimalSeparator": ",", "Moeda": "R$"}})",
                            R"({"settings": {"DecimalSeparator": ",", "DateSeparator": "--"}})",
                            R"({"settings": {"DecimalSeparator": ",", "TwoDigitYearCenturyWindow": "50"}})"}) {
        EXPECT_TRUE(Ask(bad).contains("error")) << bad;
        EXPECT_EQ(fw::Settings().DecimalSeparator, '.') << bad;
    }
    // Reading them changes nothing.
    EXPECT_EQ(Ask(R"({"settings": {}})")["settings"]["DecimalSeparator"], ".");
}

TEST_F(BridgeTest, FilesAreWrittenInsideTheFoldersTextsInCp1252AndDatasetsAsTables) {
    Json reply = Ask(R"({"file": "Dados/Reduções/nota.txt", "text": "Redução Z\r\n"})");
    EXPECT_EQ(reply["file"], folders_.home + "/Dados/Reduções/nota.txt") << reply.dump();
    EXPECT_EQ(ReadAll(fw::Utf8ToCp1252(folders_.home + "/Dados/Reduções/nota.txt")), CP("Redução Z\r\n"));
    Json system = Ask(R"({"system_file": "Bemafi32.ini", "text": "[Sistema]\r\nImpressora=0\r\n"})");
    EXPECT_EQ(system["file"], folders_.system + "/Bemafi32.ini");
    EXPECT_EQ(ReadAll(folders_.system + "/Bemafi32.ini"), "[Sistema]\r\nImpressora=0\r\n");
    for (const char* outside :
         {R"({"file": "../fora.txt", "text": "x"})", R"({"file": "a/../../fora.txt", "text": "x"})",
          R"({"file": "/tmp/fora.txt", "text": "x"})", R"({"file": "..\\fora.txt", "text": "x"})",
          R"({"file": "", "text": "x"})", R"({"file": "pasta/", "text": "x"})"}) {
        EXPECT_TRUE(Ask(outside).contains("error")) << outside;
    }
    EXPECT_FALSE(std::filesystem::exists(root_ / "fora.txt"));
}

// The default configuration is written once; one that exists is the integrator's.
TEST_F(BridgeTest, AnExistingPrinterConfigurationIsNeverOverwritten) {
    EXPECT_NE(ReadAll(folders_.system + "/Bemafi32.ini").find("Impressora=1\r\n"), std::string::npos);
    platform::WriteFile(folders_.system + "/Bemafi32.ini", "Impressora=0\r\n");
    PrepareHostFolders(folders_.home, "");
    EXPECT_EQ(ReadAll(folders_.system + "/Bemafi32.ini"), "Impressora=0\r\n");
}

TEST_F(BridgeTest, GlobalsAreListedAndSetByName) {
    Json all = Ask(R"({"globals": {}})")["globals"];
    for (const char* name : {"boNUtilTaa", "stMensagemTaa", "Bematech_FI_AbrePortaSerial"})
        EXPECT_TRUE(all.contains(name)) << name;

    Json set = Ask(R"({"globals": {"stMensagemTaa": " Impressora fiscal sem papel.", "inTipoImpFis": 34}})");
    const Json expected = {{"stMensagemTaa", " Impressora fiscal sem papel."}, {"inTipoImpFis", 34}};
    auto two = [](const Json& g) {
        return Json{{"stMensagemTaa", g["stMensagemTaa"]}, {"inTipoImpFis", g["inTipoImpFis"]}};
    };
    EXPECT_EQ(two(set["globals"]), expected);
    // A name that is not there, or cannot be set, sets nothing at all.
    for (const char* bad : {R"({"globals": {"inTipoImpFis": 0, "inTipoImpressora": 1}})",
                            R"({"globals": {"inTipoImpFis": 0, "ImpFisDLLHandle": 1}})",
                            R"({"globals": {"stMensagemTaa": "x", "inTipoImpFis": "trinta"}})"})
        EXPECT_TRUE(Ask(bad).contains("error")) << bad;
    EXPECT_EQ(two(Ask(R"({"globals": {}})")["globals"]), expected);
    Ask(R"({"globals": {"stMensagemTaa": "", "inTipoImpFis": 0}})");
}

}  // namespace
}  // namespace orb::cli::testing
