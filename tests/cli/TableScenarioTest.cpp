// The restaurant's day through the orb program: two tables opened with their slips, the sale
// register, the table check on the receipt printer, the floor's reports, then the withdrawal
// receipt and the till's closing. The slips carry the exact lines, and their totals agree with
// the printer's counters and with the host's tables.
#include "ScenarioSupport.h"

namespace orb::cli::testing {
namespace {

class TableScenario : public ScenarioTest {
protected:
    void SetUp() override {
        ScenarioTest::SetUp();
        RunScenario("tables.jsonl");
    }
    // The scenario reads the fiscal printer's roll, then the receipt printer's, last.
    std::string RollOf(bool receiptPrinter) const {
        std::vector<std::string> rolls;
        for (const Json& reply : run_.replies)
            if (reply.contains("roll")) rolls.push_back(reply["roll"].get<std::string>());
        if (rolls.size() < 2) {
            ADD_FAILURE() << "the scenario reads both rolls";
            return "";
        }
        return rolls[rolls.size() - (receiptPrinter ? 1 : 2)];
    }
    Json Result(const std::string& call, std::size_t nth = 0) const { return Reply(call, nth)["result"]; }
};

std::string Right(const std::string& text, std::size_t width) { return std::string(width - text.size(), ' ') + text; }

TEST_F(TableScenario, TableSlipsCarryTheirLinesAndTotals) {
    EXPECT_EQ(Result("Abertura_Mesa", 0), true);
    EXPECT_EQ(Result("Abertura_Mesa", 1), true);
    EXPECT_EQ(Result("RegistroVenda"), true);
    EXPECT_EQ(Result("Parcial_BematechNFiscal"), true);

    const std::string roll = RollOf(false);
    const auto slips = Documents(roll, "COMPROVANTE CRÉDITO OU DÉBITO");
    ASSERT_EQ(slips.size(), 2u);
    // Each slip rides on the one-cent receipt printed just before it.
    EXPECT_EQ(slips[0].coo, "000002");
    const Texts opening(slips[0].body.begin(), slips[0].body.begin() + 2);
    EXPECT_EQ(opening, (Texts{Columns("COO DO COMPROVANTE:", "000001"), Columns("Rel Gerencial", "0,01")}));
    const Texts& body = slips[0].body;
    const Texts lines(body.begin() + 8, body.end());
    EXPECT_EQ(lines, (Texts{"Mesa: 0012", "Emissao: 06/12/2026 19:02:11", std::string(48, '-'), "CODIGO     NOME",
                            "QTDE    VR. UNIT" + Right("VLR.TOT", 32), "", "000101 CHOPP PILSEN 300ML",
                            "1,250   X 3,99     " + Right("4,98", 27), "000230 FILE A PARMEGIANA COM ARROZ E FRITAS",
                            "2,000   X 45,90     " + Right("91,80", 27), std::string(48, ' '),
                            "Taxa de Servico: " + Right("9,67", 30), std::string(48, '-'),
                            "Total Geral: " + Right("106,45", 35), std::string(48, ' '),
                            "Suporte do ECF: consulte o fabricante"}));

    // The sale register rounds the line total the opening slip truncated.
    const auto reports = Documents(roll, "RELATÓRIO GERENCIAL");
    ASSERT_GE(reports.size(), 1u);
    const Texts& sale = reports[0].body;
    EXPECT_NE(std::find(sale.begin(), sale.end(), "1,25   X 3,99     " + Right("4,99", 29)), sale.end());
    EXPECT_NE(std::find(sale.begin(), sale.end(), "       Relatório de abertura da mesa 0012"), sale.end());

    // The check, on the receipt printer's own roll.
    const Texts check = TextLines(RollOf(true));
    ASSERT_GE(check.size(), 17u);
    EXPECT_EQ(Texts(check.begin(), check.begin() + 4), (Texts{" Conferencia de Mesa ", "", "Comanda", "Mesa: 0012"}));
    EXPECT_EQ(Texts(check.begin() + 6, check.begin() + 17),
              (Texts{std::string(48, '-'), std::string(48, '-'), "000101  CHOPP PILSEN 300ML",
                     "     1,250   X   3,99" + Right("4,99", 27), "000230  FILE A PARMEGIANA COM ARROZ E FRITAS",
                     "     2,000   X  45,90" + Right("91,80", 27), "Taxa de Servico" + Right("9,67", 32),
                     "Couvert  X  4 pessoas" + Right("20,00", 26), "Aproximadamente 31,61 por pessoa. (4 pessoas)",
                     "TOTAL            126,45", std::string(48, '-')}));
    EXPECT_FALSE(roll.find("Conferencia de Mesa") != std::string::npos);

    // Two receipts of one cent each under the totalizer and the method, and two slips.
    const Json state = LastSim("counters");
    EXPECT_EQ(state["cdc"], 2);
    EXPECT_EQ(LastSim("totalizers")[0]["day"], 2);
    EXPECT_EQ(LastSim("totalizers")[0]["count"], 2);
    EXPECT_EQ(LastSim("payments")[1]["day"], 2);
}

TEST_F(TableScenario, FloorReportsAndTheTillsClosingAgreeWithTheHostsTables) {
    const auto reports = Documents(RollOf(false), "RELATÓRIO GERENCIAL");
    // Sale register, product report, open accounts, transfers, blocked products, the withdrawal,
    // then the closing's receipts, product report, closing report, product report of the day and
    // general closing report.
    ASSERT_EQ(reports.size(), 11u);
    auto has = [](const Texts& body, const std::string& line) {
        return std::find(body.begin(), body.end(), line) != body.end();
    };
    // The product report's sums are the host's: 4,98 + 91,80 + 13,50.
    EXPECT_TRUE(has(reports[1].body, "Total das Vendas                  6,25   110,28 "));
    EXPECT_TRUE(has(reports[2].body, "0012             06/12/2026 19:02:11"));
    EXPECT_TRUE(has(reports[2].body, "0007       06/12/2026 20:05:00"));
    EXPECT_EQ(reports[2].body.front(), "Mesas Abertas                           CER:0003");  // its numbered title
    EXPECT_TRUE(has(reports[3].body, "Mes Origem: 0012 -> Mesa Destino: 0015"));
    EXPECT_TRUE(has(reports[4].body, "000777     77           PEIXE DO DIA            "));
    EXPECT_TRUE(has(reports[5].body, "Motivo: Troco excedente"));
    EXPECT_TRUE(has(reports[5].body, "Operador : 000020 JOAO CAIXA"));

    // The closing sets the host's sales (110,28) and credit purchases (10,00) against 150,00 taken
    // out and 20,00 supplied.
    const Texts& closing = reports[8].body;
    EXPECT_TRUE(has(closing, "TOTAL VENDAS" + Right("110,28", 36)));
    EXPECT_TRUE(has(closing, "TOTAL SANGRIAS" + Right("130,00", 34)));
    EXPECT_TRUE(has(closing, "SOBRA" + Right("9,72", 43)));
    EXPECT_TRUE(has(reports[10].body, std::string(14, ' ') + "relFechamentoGeral" + std::string(15, ' ')));

    EXPECT_EQ(Result("GeraReciboSangria", 0), true);   // the withdrawal printed
    EXPECT_EQ(Result("GeraReciboSangria", 1), false);  // the till was not reopened
    const Json closingCall = Reply("GeraReciboSangria", 1);
    EXPECT_EQ(closingCall["dialogs"].size(), 3u);
    EXPECT_EQ(closingCall["args"][23], true);  // the till is closed
    // The first document of the closing is its X reading, right after the withdrawal (000010).
    EXPECT_EQ(Reply("GeraReciboSangria", 0)["args"][6], "000010");
    EXPECT_EQ(closingCall["args"][6], "000011");
    EXPECT_EQ(closingCall["ledger"][0][5], "LX");
    // Every management report is in the host's ledger, and none was left open.
    int recorded = 0;
    for (const Json& reply : run_.replies)
        if (reply.contains("ledger"))
            for (const Json& record : reply["ledger"]) recorded += record[5] == "RG";
    EXPECT_EQ(recorded, 9);  // all but the sale register and the blocked products
    EXPECT_EQ(LastSim("docs")["open"], "");
}

}  // namespace
}  // namespace orb::cli::testing
