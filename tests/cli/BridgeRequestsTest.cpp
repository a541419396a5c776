// Requests of the bridge other than operation calls and printer commands.
#include "CliTestSupport.h"

#include "framework/ClientDataSet.h"
#include "framework/Cp1252.h"

namespace orb::cli::testing {
namespace {

TEST_F(BridgeTest, MalformedRequestsAnswerWithAnError) {
    for (const char* bad : {R"([1])", R"({})", R"({"call": "GetValue", "sim": "state"})", R"({"call": 3})",
                            R"({"call": "GetValue", "arg": ["1"]})", R"({"call": "GetValue", "args": "1"})",
                            R"({"answers": "S"})", R"({"settings": [1]})", R"({"globals": []})", R"({"file": "a.txt"})",
                            R"({"file": "a.txt", "text": "x", "dataset": {}})"}) {
        Json reply = Ask(bad);
        EXPECT_TRUE(reply.contains("error")) << bad << " -> " << reply.dump();
        EXPECT_TRUE(reply["error"].is_string()) << bad;
    }
}

TEST_F(BridgeTest, AnswersAreQueuedInOrderAndABadOneQueuesNothing) {
    EXPECT_EQ(Ask(R"({"answers": ["S", "n", true]})"), Json::parse(R"({"answers": 3})"));
    EXPECT_TRUE(Ask(R"({"answers": ["S", "talvez"]})").contains("error"));
    EXPECT_EQ(hostlib::Recorded().queuedAnswers, (std::vector<bool>{true, false, true}));

    // The queue's use by the dialogs is the host library's own; only what the bridge queued matters here.
    EXPECT_TRUE(hostlib::Mensagem("Deseja imprimir novamente?", "", "N", "S", 3, "", "001", 0, nullptr));
}

TEST_F(BridgeTest, SettingsChangeAllOrNothing) {
    Json reply = Ask(R"({"settings": {"DecimalSeparator": ".", "ShortDateFormat": "yyyy-mm-dd"}})");
    EXPECT_EQ(reply["settings"]["DecimalSeparator"], ".");
    EXPECT_EQ(reply["settings"]["ThousandSeparator"], ".");
    EXPECT_EQ(reply["settings"]["ShortDateFormat"], "yyyy-mm-dd");
    EXPECT_EQ(fw::Settings().DecimalSeparator, '.');
    EXPECT_EQ(fw::Settings().ShortDateFormat, "yyyy-mm-dd");

    for (const char* bad : {R"({"settings": {"DecimalSeparator": ",", "Moeda": "R$"}})",
                            R"({"settings": {"DecimalSeparator": ",", "DateSeparator": "--"}})",
                            R"({"settings": {"DecimalSeparator": ",", "TwoDigitYearCenturyWindow": "50"}})"}) {
        EXPECT_TRUE(Ask(bad).contains("error")) << bad;
        EXPECT_EQ(fw::Settings().DecimalSeparator, '.') << bad;
    }
    // Reading them changes nothing.
    EXPECT_EQ(Ask(R"({"settings": {}})")["settings"]["DecimalSeparator"], ".");
}

TEST_F(BridgeTest, TextFilesAreWrittenInCp1252InsideTheFolders) {
    Json reply = Ask(R"({"file": "Dados/Reduções/nota.txt", "text": "Redução Z\r\n"})");
    ASSERT_FALSE(reply.contains("error")) << reply.dump();
    const std::string written = ReadAll(std::filesystem::path(fw::Utf8ToCp1252(reply["file"].get<std::string>())));
    EXPECT_EQ(written, CP("Redução Z\r\n"));
    EXPECT_EQ(reply["file"].get<std::string>().rfind(folders_.home, 0), 0u);

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

TEST_F(BridgeTest, DatasetFilesLoadBackAsTables) {
    Json reply = Ask(R"({"file": "cdsVenda.cds", "dataset": {
        "fields": [{"name": "NRSEQITEM", "type": "integer"}, {"name": "NMPRODUTO", "type": "string", "size": 20},
                   {"name": "VRPRECO", "type": "float"}],
        "rows": [[1, "Feijoada", 42.9], [2, "Água", 3.5]]}})");
    ASSERT_FALSE(reply.contains("error")) << reply.dump();
    fw::ClientDataSet table;
    table.LoadFromFile(folders_.home + "/cdsVenda.cds");
    ASSERT_EQ(table.RecordCount(), 2);
    table.Last();
    EXPECT_EQ(table.FieldByName("NRSEQITEM").AsInteger(), 2);
    EXPECT_EQ(table.FieldByName("NMPRODUTO").AsString(), CP("Água"));
    EXPECT_DOUBLE_EQ(table.FieldByName("VRPRECO").AsFloat(), 3.5);
}

TEST_F(BridgeTest, HostFoldersAreCreatedWithADefaultPrinterConfiguration) {
    EXPECT_TRUE(std::filesystem::is_directory(folders_.home));
    EXPECT_EQ(folders_.system, folders_.home + "/system");
    EXPECT_EQ(platform::HostDirectory(), folders_.home);
    EXPECT_EQ(platform::SystemDirectory(), folders_.system);
    const std::string ini = ReadAll(folders_.system + "/Bemafi32.ini");
    EXPECT_NE(ini.find("Impressora=1\r\n"), std::string::npos);

    // An existing configuration is the integrator's: it is never overwritten.
    platform::WriteFile(folders_.system + "/Bemafi32.ini", "Impressora=0\r\n");
    PrepareHostFolders(folders_.home, "");
    EXPECT_EQ(ReadAll(folders_.system + "/Bemafi32.ini"), "Impressora=0\r\n");

    HostFolders apart = PrepareHostFolders((root_ / "h2").string(), (root_ / "sys2").string());
    EXPECT_EQ(apart.system, (root_ / "sys2").string());
    EXPECT_TRUE(std::filesystem::exists(root_ / "sys2" / "Bemafi32.ini"));
}

TEST_F(BridgeTest, GlobalsAreListedAndSetByName) {
    Json all = Ask(R"({"globals": {}})")["globals"];
    ASSERT_TRUE(all.contains("boNUtilTaa"));
    ASSERT_TRUE(all.contains("stMensagemTaa"));
    EXPECT_TRUE(all.contains("Bematech_FI_AbrePortaSerial"));

    Json set = Ask(R"({"globals": {"stMensagemTaa": " Impressora fiscal sem papel.", "inTipoImpFis": 34}})");
    EXPECT_EQ(set["globals"]["stMensagemTaa"], " Impressora fiscal sem papel.");
    EXPECT_EQ(set["globals"]["inTipoImpFis"], 34);

    // A name that is not there, or cannot be set, sets nothing at all.
    EXPECT_TRUE(Ask(R"({"globals": {"inTipoImpFis": 0, "inTipoImpressora": 1}})").contains("error"));
    EXPECT_TRUE(Ask(R"({"globals": {"inTipoImpFis": 0, "ImpFisDLLHandle": 1}})").contains("error"));
    Json bad = Ask(R"({"globals": {"stMensagemTaa": "x", "inTipoImpFis": "trinta"}})");
    EXPECT_TRUE(bad.contains("error"));
    EXPECT_EQ(Ask(R"({"globals": {}})")["globals"]["inTipoImpFis"], 34);
    EXPECT_EQ(Ask(R"({"globals": {}})")["globals"]["stMensagemTaa"], " Impressora fiscal sem papel.");
    Ask(R"({"globals": {"stMensagemTaa": "", "inTipoImpFis": 0}})");
}

}  // namespace
}  // namespace orb::cli::testing
