// The footer composition: its line budget with and without the state line, the agreement
// layout, the free text cut to the room left, and the fixed pieces of a sale.

#include "coupon/ClosingInput.h"
#include "coupon/Footer.h"
#include "driver/Catalogs.h"
#include "driver/DataModule.h"
#include "driver/TestSupport.h"
#include "framework/Cp1252.h"

namespace {

// Formata_rodape's parameters that the cases set (members without a value are empty).
struct Pieces {
    int budget = 8;
    std::string mode = "2", first = "Obrigado", note = {}, tax = "T1\n\rT2", state = {};
    std::string code1 = {}, name1 = {}, code2 = {}, name2 = {}, opCode = "7", opName = "Ana", prefix = {};
    std::string freeText = {}, printer = "001", cer = {}, coo = {}, balanceMode = "2", layout = "2";
    double balance = 0, subsidised = 0;
    bool useLines = false;
    orb::fw::StringList* lines = nullptr;
    std::string loyalty = {}, block = {}, daily = {};
};

std::string Compose(const Pieces& p) {
    return Orb00100::Formata_rodape(p.budget, p.mode, p.first, p.note, p.tax, p.state, p.code1, p.name1, p.code2,
                                    p.name2, p.opCode, p.opName, p.prefix, "", "", "", "", p.freeText, p.printer, p.cer,
                                    p.coo, p.balanceMode, p.layout, p.balance, p.subsidised, 0, nullptr, nullptr,
                                    nullptr, p.useLines, p.lines, p.loyalty, "", p.block, p.daily);
}

const std::string kContact = std::string(Orb00100::kMakerContactLine) + "\n";
const std::string kOperator = "Operador: 7 - Ana";
const std::string kStart = "Obrigado\nT1\n\rT2\n";

class Footer : public orb::test::DriverTest {
protected:
    bool UsesPrinter() const override { return false; }
};

TEST_F(Footer, LinesFollowTheBudgetTheLayoutAndTheBalanceMode) {
    const std::string text(60, 'a'), more(40, 'b');
    orb::fw::StringList lines{"um\ndois\n", "tres"};
    struct Case {
        const char* what;
        Pieces p;
        std::string expected;
    };
    // clang-format off
    const Case cases[] = {
        {"without a state line: room for the operator and the contact",
         {.code1 = "C1", .name1 = "Maria", .balanceMode = "0", .balance = 12.5},
         kStart + "Cliente : C1 - Maria\nSaldo Final :   12,50\n" + kContact + kOperator},
        // 5 for the state line, 1 for the counters: the two consumer lines fill the budget.
        {"state line and counters",
         {.state = "S1\n\rS2", .code1 = "C1", .name1 = "Maria", .code2 = "C2", .name2 = "Joao", .cer = "000012",
          .coo = "000034", .balanceMode = "0"},
         kStart + "S1\n\rS2\nECF:001-Conf.Mesa -CER: 000012- COO: 000034\nCliente : C1 - Maria\n"
                  "Consumidor : C2 - Joao\n"},
        {"a note line as well leaves room for one consumer",
         {.note = "NF:0000000123", .state = "S1\n\rS2", .code1 = "C1", .name1 = "Maria", .code2 = "C2",
          .name2 = "Joao", .cer = "000012", .coo = "000034", .balanceMode = "0"},
         "Obrigado\nNF:0000000123\nT1\n\rT2\nS1\n\rS2\nECF:001-Conf.Mesa -CER: 000012- COO: 000034\n"
         "Cliente : C1 - Maria\n"},
        {"free text cut to two lines", {.state = "S", .prefix = "Mesa: 12 ", .freeText = text + more},
         kStart + "S\nMesa: 12 \n" + (text + more).substr(0, 96) + "\n"},
        {"free text cut to one line", {.state = "S", .code1 = "C", .prefix = "Mesa: 12 ", .freeText = text + more},
         kStart + "S\nCliente : C - \nMesa: 12 \n" + text.substr(0, 48) + "\n"},
        {"free text whole", {.freeText = "linha um\nlinha dois"},
         kStart + "linha um\nlinha dois\n" + kContact + kOperator},
        {"the agreement layout ignores the budget",
         {.budget = 0, .code1 = "55", .name1 = "Empresa", .code2 = "9", .name2 = "Jose", .prefix = "Mesa: 4 ",
          .freeText = "fim", .layout = "1", .balance = 3, .subsidised = 1.25},
         kStart + CP("Convênio ..: 55 - Empresa\nConsumidor : 9 - Jose\nSaldo Final :  - 3,00\n"
                     "Pr. subsidiado: - 1,25\nMesa: 4 \n") + kOperator + "\n" + kContact + "fim"},
        {"balance block, subsidy, daily consumption and a centred line",
         {.mode = "1", .balanceMode = "1", .subsidised = 2, .loyalty = "Ganhou 5", .block = "Bebidas: 10,00 ",
          .daily = "7,5"},
         kStart + "Bebidas: 10,00 \nPr. subsidiado: 2,00 - Saldo Cons Dia: 7,50\n" +
             orb::hostlib::Centraliza("Ganhou 5", 40) + "\n" + kContact + kOperator},
        // Printed even with the budget used up; a daily value that is no number is left out.
        {"balance block alone",
         {.budget = 0, .mode = "1", .balanceMode = "1", .block = "Bebidas: 10,00 ", .daily = "x"},
         kStart + "Bebidas: 10,00 \n"},
        {"host lines", {.budget = 6, .useLines = true, .lines = &lines}, kStart + "um\ndois\ntres\n"},
    };
    // clang-format on
    for (const Case& c : cases) EXPECT_EQ(Compose(c.p), c.expected) << c.what;
}

TEST_F(Footer, SalePieces) {
    using namespace Orb00100::closing;
    Orb00100::EnsureDataModule();
    PinClock(orb::fw::EncodeDateTime(2026, 12, 5, 14, 0, 0));
    ClosingInput paraiba;
    paraiba.stateCode = "PB";
    paraiba.companyTaxNumber = "12.345.678/0001-90";
    paraiba.stateNumber = "4711";
    ClosingInput saoPaulo = paraiba;
    saoPaulo.stateCode = "SP";
    const std::pair<std::string, std::string> cases[] = {
        {TaxLine(1234.5, 0.256), "Trib aprox R$: 1.234,50 Federal e 0,26 Estadual\n\rFonte: IBPT"},
        {LoyaltyLine(0), ""},
        {LoyaltyLine(150), "Nesta compra voce ganhou 150 DOTZ"},
        {PasswordLine("42"),
         "\x1B"
         "E\x1B"
         "W1SENHA: 42\x1B"
         "F\x1B"
         "W0"},
        {PasswordLine(""), ""},
        {NoteLine(""), ""},
        {TablePrefix("0000"), "Comanda: 0000 "},
        {TablePrefix("12345"), "Comanda: 12345 "},
        {TablePrefix("12"), "Mesa: 12 "},
        {TablePrefix(""), ""},
        {StateLine(paraiba, 25.5),
         CP("PARAÍBA LEGAL - RECEITA CIDADÃ\n\rTORPEDO PREMIADO: 123456780 05122026 4711 2550")},
        {StateLine(saoPaulo, 25.5), ""},
    };
    for (const auto& [piece, expected] : cases) EXPECT_EQ(piece, expected);
}

}  // namespace
