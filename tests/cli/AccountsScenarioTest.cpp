// Consumer accounts, Spanish receipts and the software identification through the orb program:
// each document's exact lines on the roll, port or serial file it belongs to (the statements are
// held by their scenario's checks file).
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
        RunScenario(name);
    }
    Json Result(const std::string& call, std::size_t nth = 0) const { return Reply(call, nth)["result"]; }
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
Texts Masked(const Texts& lines) {
    Texts out;
    for (const std::string& line : lines) out.push_back(Masked(line));
    return out;
}
// The left text in its columns, then the right one right-aligned in its own.
std::string Row(const std::string& left, std::size_t leftWidth, const std::string& right, std::size_t rightWidth) {
    return left + std::string(leftWidth - left.size(), ' ') + std::string(rightWidth - right.size(), ' ') + right;
}
std::string Dash(int n = 48) { return std::string(n, '-'); }
std::string Blank() { return std::string(48, ' '); }
Texts From(const Texts& body, std::size_t first) { return Texts(body.begin() + static_cast<long>(first), body.end()); }

TEST_F(AccountsScenario, SalesPurchasesAndCancellationOnEveryPrinter) {
    Run("accounts.jsonl");
    for (const char* call : {"Comp_DebitoCons", "Imp_CompVenCred", "Compr_CredPessoal", "Cancela_Cred_Pessoal"})
        EXPECT_EQ(Result(call), true) << call;
    // The receipt printer is not on COM9: nothing printed, and the host hears so.
    EXPECT_EQ((Json{Result("Compr_Cred_Bematech_MP100", 0), Result("Compr_Cred_Bematech_MP100", 1),
                    Result("Compr_Cred_Bematech_NFISC", 0), Result("Compr_Cred_Bematech_NFISC", 1)}),
              (Json{true, false, true, true}));

    // A refused line ends the sale's slip with false, and closes it: the next report opens.
    EXPECT_EQ((Json{Result("Comp_DebitoCons", 1), Result("Cabecalho")}), (Json{false, true}));

    const std::string fiscal = Rolls().at(1);
    const auto slips = Documents(fiscal, "COMPROVANTE CRÉDITO OU DÉBITO");
    ASSERT_EQ(slips.size(), 2u);
    EXPECT_EQ(
        From(slips[0].body, 14),
        (Texts{"0001234567 REFRIGERANTE  2,00       3,50    7,00", "000777 PAO DE QUEIJ  1,00           5,50    5,50",
               Blank(), Columns("Desconto", "0,50"), Columns("Total Geral", "12,50"), Dash(),
               "Limite Diário : 27,50 - Limite Mensal : -12,50", "SENHA PEDIDO:  37", "", "Saldo Final : R$ 87,50"}));
    EXPECT_EQ(From(slips[1].body, 15), (Texts{Blank(), Columns("Total Geral", "9,00"), Dash(), "",
                                              Row("REFEICOES", 25, "40,00", 22), Row("BEBIDAS", 25, "12,50", 22)}));

    const auto reports = Documents(fiscal, "RELATÓRIO GERENCIAL");
    ASSERT_EQ(reports.size(), 2u);
    const Texts copy{Dash(),
                     "               COMPRA DE CREDITO                ",
                     Dash(),
                     "Filial: 0001",
                     "Caixa: 001",
                     "Data: <now>",
                     Blank(),
                     "Nr.Deposito: 000123",
                     "Consumidor..: MARIA DA SILVA",
                     "Familia.....: FAMILIA SILVA",
                     "Valor ......: R$ 80,00",
                     "Saldo Final : R$ 100,00"};
    const Texts purchase = Masked(reports[0].body);
    EXPECT_EQ(Texts(purchase.begin() + 2, purchase.begin() + 14), copy);
    EXPECT_EQ(std::count(purchase.begin(), purchase.end(), "Saldo Final : R$ 100,00"), 2);
    EXPECT_EQ(From(reports[1].body, 1),
              (Texts{"       CANCELAMENTO DE COMPRA DE CREDITO        ", Dash(), "", "Cancelamento do depósito: 000123",
                     Blank(), "Cliente : 0001", "Consumidor: MARIA DA SILVA", "Familia.....: FAMILIA SILVA",
                     "Valor ......: R$ 50,00", "Saldo Final : R$ 0,00"}));
    // Each payment under the credit totalizer, one ledger record for both; the reversal apart.
    const auto receipts = Documents(fiscal, "COMPROVANTE NÃO-FISCAL");
    ASSERT_EQ(receipts.size(), 3u);
    EXPECT_EQ(receipts[0].body, (Texts{Columns("01 Compra-Cred", "50,00"), Columns("Dinheiro", "50,00")}));
    EXPECT_EQ(receipts[1].body, (Texts{Columns("01 Compra-Cred", "30,00"), Columns("Conta Consumidor", "30,00")}));
    EXPECT_EQ(receipts[2].body, (Texts{Columns("02 Canc-Cred", "50,00"), Columns("Dinheiro", "50,00")}));
    Texts kinds;
    for (const char* call : {"Compr_CredPessoal", "Cancela_Cred_Pessoal"}) {
        const Json reply = Reply(call);
        for (const Json& record : reply["ledger"])
            kinds.push_back(record[5].get<std::string>() + record[6].get<std::string>());
    }
    EXPECT_EQ(kinds, (Texts{"RG", "CNREF-77", "RG", "CC"}));

    // The receipt printer: the plain receipt, then the Spanish one with the model's control string.
    const Texts receipt = Masked(TextLines(Rolls().at(2)));
    EXPECT_EQ(Texts(receipt.begin(), receipt.begin() + 9),
              (Texts{"               COMPRA DE CREDITO                ", Dash(), "", "Nr.Deposito: 000123", Blank(),
                     "Consumidor..: MARIA DA SILVA", "Familia.....: FAMILIA SILVA", "Valor ......: R$ 80,00",
                     "Saldo Final : R$ 100,00"}));
    const auto spanish = std::find(receipt.begin(), receipt.end(), "         CAFETERIA CENTRAL          ");
    ASSERT_NE(spanish, receipt.end());
    EXPECT_EQ(Texts(spanish + 4, spanish + 14),
              (Texts{Dash(36), "NR.SERIE...: MP4000-001 CAJA: 0001", "NR.TICKET..: 000045", "FECHA......: <now>",
                     "NR.DEPOSITO: 000123", Dash(36), "RECARGA CARTAO 4711", "CONSUMIDOR..: MARIA DA SILVA",
                     "VALOR ......: R$ 80,00", "SALDO FINAL.: R$ 100,00"}));
    EXPECT_EQ(receipt.back(), "<1B>w");

    // Model 7 takes raw text on its serial port, ten line ends after it.
    const std::string serial = Masked(Port("com5"));
    EXPECT_EQ(serial.substr(0, 41), "           REFEITORIO CENTRAL           \n");
    EXPECT_NE(serial.find("\nNr.Serie     MP4000-001\nData/Hora    <now>\nNr.Cupom     000046\nNr.Deposito  000123\n"),
              std::string::npos);
    EXPECT_TRUE(serial.ends_with(" Suporte do ECF: consulte o fabricante  \n" + std::string(10, '\n')));
}

TEST_F(AccountsScenario, SpanishReceiptsAndTheSerialPort) {
    Run("spanish.jsonl");
    const auto reports = Documents(Rolls().at(1), "RELATÓRIO GERENCIAL");
    ASSERT_EQ(reports.size(), 4u);
    const std::string contact = "Suporte do ECF: consulte o fabricante";
    EXPECT_EQ(Masked(From(reports[0].body, 1)),
              (Texts{"", "Caja: 0001     ", Dash(), "TOTAL                           18.500", "",
                     "EFECTIVO                        20.000", "VUELTO                          -1.500", "",
                     "        Fecha:<now>", "CAJERO: PEDRO", "seña: A1", Dash(), "Gracias por su compra", contact}));
    EXPECT_EQ(From(reports[1].body, 1),
              (Texts{"", "Total Afecto:      10.000", "Exento:             8.500", "Total Compra:      18.500",
                     "Vuelto:             1.500", "", "Su compra contiene productos exentos de",
                     "I.V.A por lo cual su boleta tiene un", "desglose adicional", "CAJERO: PEDRO", "seña: B2", Dash(),
                     "Gracias", contact}));
    // No change, no change line.
    EXPECT_EQ(Masked(From(reports[2].body, 1)),
              (Texts{"", "Exento:        8.500", "Total Compra:  8.500", "        Fecha:<now>",
                     "Su compra contiene productos exentos de", "I.V.A por lo cual su boleta tiene un ",
                     "desglose adicional", "CAJERO: PEDRO", "seña: C3", Dash(), "Gracias", "", contact}));
    // 3 x (2,50 - 0,50) is 6; without a password there is no password line.
    EXPECT_EQ(
        Masked(From(reports[3].body, 1)),
        (Texts{"", "3    EMPANADA                                6", "1    JUGO NATURAL                         4,99",
               "               Total                     10,99", "", "Fecha: <now>", Dash(), "Consumidor  : ANA LIMA",
               "Saldo Final :  19,01", "CAJERO: PEDRO", "", Dash(), "Gracias", "", contact}));
    // A port that is not there loses the text; the log says so.
    const Texts log = LogEntries(Home());
    EXPECT_NE(std::find(log.begin(), log.end(), "Formata_Bematech_MP100: falha na abertura da porta COM8"), log.end());
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
