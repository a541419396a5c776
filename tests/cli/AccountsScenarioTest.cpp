// Consumer accounts, Spanish receipts and the software identification through the orb program:
// each document's exact lines on the roll, port or serial file it belongs to (the rolls' lines of
// the accounts and the Spanish receipts, and the statements, are held by the checks files).
#include <filesystem>
#include <regex>

#include "ScenarioSupport.h"
#include "framework/ClientDataSet.h"

namespace orb::cli::testing {
namespace {

class AccountsScenario : public ScenarioTest {
protected:
    // The receipt printer answers on COM2 only; COM5 and COM6 are files standing in for ports.
    void Run(const std::string& name) {
        std::filesystem::create_directories(Home() + "/system");
        platform::WriteFile(Home() + "/system/Mp2032.ini", "[Mp2032]\r\nPorts=COM2\r\n");
        for (const char* port : {"com5", "com6"}) platform::WriteFile(Home() + "/" + port, "");
        const orbtest::ScopedEnv com5("ORB_COM5", Home() + "/com5"), com6("ORB_COM6", Home() + "/com6"),
            com8("ORB_COM8", Home() + "/no/such/port");
        if (name.ends_with(".checks.jsonl")) return RunExpected(name);
        RunScenario(name);
    }
    std::string Port(const char* name) const { return ReadAll(Home() + "/" + name); }
    // The rolls the scenario read, in order.
    Texts Rolls() const {
        Texts rolls;
        for (const Json& reply : run_.replies)
            if (reply.contains("roll")) rolls.push_back(reply["roll"]);
        return rolls;
    }
};

// Dates and times change from run to run.
std::string Masked(const std::string& text) {
    static const std::regex now(R"(\d\d/\d\d/\d{4}( |    Hora:| Hora: | HORA: )\d\d:\d\d(:\d\d)?)");
    return std::regex_replace(text, now, "<now>");
}
std::string Dash() { return std::string(48, '-'); }
Texts From(const Texts& body, std::size_t first) { return Texts(body.begin() + static_cast<long>(first), body.end()); }

TEST_F(AccountsScenario, SalesPurchasesAndCancellationOnEveryPrinter) {
    Run("accounts.checks.jsonl");
    const std::string fiscal = Rolls().at(1);
    EXPECT_EQ(
        (Json{Documents(fiscal, "COMPROVANTE CRÉDITO OU DÉBITO").size(),
              Documents(fiscal, "RELATÓRIO GERENCIAL").size(), Documents(fiscal, "COMPROVANTE NÃO-FISCAL").size()}),
        (Json{2, 2, 3}));
    // Model 7 takes raw text on its serial port, ten line ends after it.
    const std::string serial = Masked(Port("com5"));
    EXPECT_EQ(serial.substr(0, 41), "           REFEITORIO CENTRAL           \n");
    EXPECT_NE(serial.find("\nNr.Serie     MP4000-001\nData/Hora    <now>\nNr.Cupom     000046\nNr.Deposito  000123\n"),
              std::string::npos);
    EXPECT_TRUE(serial.ends_with(" Suporte do ECF: consulte o fabricante  \n" + std::string(10, '\n')));
}

TEST_F(AccountsScenario, SpanishReceiptsAndTheSerialPort) {
    Run("spanish.checks.jsonl");
    EXPECT_EQ(Documents(Rolls().at(1), "RELATÓRIO GERENCIAL").size(), 4u);
    EXPECT_EQ(Port("com6"),
              "Caja 1 - se\xF1"
              "a: 45\r\n");
}

TEST_F(AccountsScenario, SoftwareIdentificationWithAndWithoutItsFiles) {
    for (const bool withFiles : {false, true}) {
        SCOPED_TRACE(withFiles ? "with the digest files" : "without them");
        std::filesystem::remove_all(Home());
        if (withFiles) {
            std::filesystem::create_directories(Home() + "/Dados/Cadastros");
            fw::ClientDataSet list("list");
            list.LoadFromXml(
                R"(<DATAPACKET Version="2.0"><METADATA><FIELDS><FIELD attrname="NMARQUIVO" fieldtype="string" WIDTH="40"/><FIELD attrname="DSARQUIVO" fieldtype="string" WIDTH="40"/><FIELD attrname="NUMEROMD5" fieldtype="string" WIDTH="32"/></FIELDS><PARAMS/></METADATA><ROWDATA><ROW NMARQUIVO="orb.dll" DSARQUIVO="Modulo fiscal" NUMEROMD5="AAAA1111"/><ROW NMARQUIVO="zep.exe" DSARQUIVO="Principal" NUMEROMD5="BBBB2222"/></ROWDATA></DATAPACKET>)");
            list.SaveToFile(Home() + "/Dados/Cadastros/ArquivosZepMd5.cds");
            fw::ClientDataSet config("config");
            config.LoadFromXml(
                R"(<DATAPACKET Version="2.0"><METADATA><FIELDS><FIELD attrname="MD5ARQUIVOTXT" fieldtype="string" WIDTH="200"/></FIELDS><PARAMS/></METADATA><ROWDATA><ROW MD5ARQUIVOTXT=")" +
                hostlib::Cripto("CCCC3333", 1) + R"("/></ROWDATA></DATAPACKET>)");
            config.SaveToFile(Home() + "/Tambora.cds");
        }
        Run("software-identification.jsonl");
        const auto reports = Documents(Rolls().at(1), "RELATÓRIO GERENCIAL");
        ASSERT_EQ(reports.size(), 2u);  // the first closed, so the second printed
        const Texts& body = reports[0].body;
        const auto main = std::find(body.begin(), body.end(), "Principal Exe : ZEP.EXE");
        ASSERT_NE(main, body.end());
        const Texts files = withFiles ? Texts{"MD5           : BBBB2222",
                                              "",
                                              "Relação de Arquivos",
                                              Dash(),
                                              "",
                                              "Arquivo: Modulo fiscal",
                                              "MD5    : AAAA1111",
                                              "",
                                              "Arquivo: Principal",
                                              "MD5    : BBBB2222",
                                              "",
                                              "Arquivo Texto : ARQUIVOSZEPMD5.TXT",
                                              "MD-5          : CCCC3333",
                                              ""}
                                      : Texts{"MD5           : ", ""};
        EXPECT_EQ(Texts(main + 1, main + 1 + static_cast<long>(files.size())), files);
        EXPECT_EQ(From(body, static_cast<std::size_t>(main - body.begin()) + 1 + files.size()),
                  (Texts{"Versao ER PAF-ECF: 02.06", "", "Relação de Ecf's", Dash(), "", "BE091010100011223344",
                         "BE091010100099887766"}));
        EXPECT_EQ(Reply("ImprimeDadosPaf")["ledger"].size(), 1u);
        EXPECT_EQ(From(reports[1].body, 12),
                  (Texts{"Pré-VendaNão", "DAV por ECFNão", "DAV Impressora Não FiscalNão", "DAV-OSNão", ""}));
    }
}

}  // namespace
}  // namespace orb::cli::testing
