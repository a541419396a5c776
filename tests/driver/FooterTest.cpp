// The footer composition: its line budget with and without the state line, the agreement
// layout, the free text cut to the room left, and the fixed pieces of a sale.
#include <gtest/gtest.h>

#include <string>

#include "coupon/ClosingInput.h"
#include "coupon/Footer.h"
#include "driver/DataModule.h"
#include "driver/TestSupport.h"
#include "framework/Cp1252.h"
#include "framework/DateTime.h"

namespace {

struct Pieces {
    int budget = 8;
    std::string mode = "2", first = "Obrigado", note, tax = "T1\n\rT2", state;
    std::string code1, name1, code2, name2, opCode = "7", opName = "Ana", prefix, password;
    std::string freeText, printer = "001", cer, coo, balanceMode = "2", layout = "2";
    double balance = 0, subsidised = 0;
    bool useLines = false;
    orb::fw::StringList* lines = nullptr;
    std::string loyalty, centred, block, daily;
};

std::string Compose(const Pieces& p) {
    return Orb00100::Formata_rodape(
        p.budget, p.mode, p.first, p.note, p.tax, p.state, p.code1, p.name1, p.code2, p.name2, p.opCode, p.opName,
        p.prefix, p.password, "", "", "", p.freeText, p.printer, p.cer, p.coo, p.balanceMode, p.layout, p.balance,
        p.subsidised, 0, nullptr, nullptr, nullptr, p.useLines, p.lines, p.loyalty, p.centred, p.block, p.daily);
}

const std::string kContact = std::string(Orb00100::kMakerContactLine) + "\n";
const std::string kOperator = "Operador: 7 - Ana";

class Footer : public orb::test::DriverTest {
protected:
    bool UsesPrinter() const override { return false; }
};

TEST_F(Footer, BudgetWithoutStateLineLeavesRoomForOperatorAndContact) {
    Pieces p;
    p.code1 = "C1";
    p.name1 = "Maria";
    p.balanceMode = "0";
    p.balance = 12.5;
    EXPECT_EQ(Compose(p), "Obrigado\nT1\n\rT2\nCliente : C1 - Maria\nSaldo Final :   12,50\n" + kContact + kOperator);
}

TEST_F(Footer, StateLineAndCountersUseUpTheBudget) {
    Pieces p;
    p.state = "S1\n\rS2";
    p.cer = "000012";
    p.coo = "000034";
    p.code1 = "C1";
    p.name1 = "Maria";
    p.code2 = "C2";
    p.name2 = "Joao";
    p.balanceMode = "0";
    // 5 for the state line, 1 for the counters: the two consumer lines fill the budget.
    EXPECT_EQ(Compose(p),
              "Obrigado\nT1\n\rT2\nS1\n\rS2\nECF:001-Conf.Mesa -CER: 000012- COO: 000034\n"
              "Cliente : C1 - Maria\nConsumidor : C2 - Joao\n");
    // With a note line as well, only one consumer line fits.
    p.note = "NF:0000000123";
    EXPECT_EQ(Compose(p),
              "Obrigado\nNF:0000000123\nT1\n\rT2\nS1\n\rS2\n"
              "ECF:001-Conf.Mesa -CER: 000012- COO: 000034\nCliente : C1 - Maria\n");
}

TEST_F(Footer, FreeTextIsCutToTheRoomLeft) {
    Pieces p;
    p.state = "S";           // n = 5
    p.prefix = "Mesa: 12 ";  // n = 6
    p.freeText = std::string(60, 'a') + std::string(40, 'b');
    const std::string text = Compose(p);
    EXPECT_EQ(text, "Obrigado\nT1\n\rT2\nS\nMesa: 12 \n" + p.freeText.substr(0, 96) + "\n");

    // Room for one line: its first 48 characters.
    p.code1 = "C";
    EXPECT_NE(Compose(p).find("\n" + p.freeText.substr(0, 48) + "\n"), std::string::npos);
    // Room for all of it: whole, then the contact line and the operator.
    p = Pieces{};
    p.freeText = "linha um\nlinha dois";
    EXPECT_EQ(Compose(p), "Obrigado\nT1\n\rT2\nlinha um\nlinha dois\n" + kContact + kOperator);
}

TEST_F(Footer, AgreementLayoutIgnoresTheBudget) {
    Pieces p;
    p.layout = "1";
    p.budget = 0;
    p.code1 = "55";
    p.name1 = "Empresa";
    p.code2 = "9";
    p.name2 = "Jose";
    p.balance = 3;
    p.subsidised = 1.25;
    p.prefix = "Mesa: 4 ";
    p.freeText = "fim";
    EXPECT_EQ(Compose(p), CP("Obrigado\nT1\n\rT2\nConvênio ..: 55 - Empresa\nConsumidor : 9 - Jose\n"
                             "Saldo Final :  - 3,00\nPr. subsidiado: - 1,25\nMesa: 4 \n") +
                              kOperator + "\n" + kContact + "fim");
}

TEST_F(Footer, BalanceBlockSubsidyDailyConsumptionAndCentredLines) {
    Pieces p;
    p.mode = "1";
    p.balanceMode = "1";
    p.block = "Bebidas: 10,00 ";
    p.subsidised = 2;
    p.daily = "7,5";
    p.loyalty = "Ganhou 5";
    const std::string text = Compose(p);
    EXPECT_EQ(text, "Obrigado\nT1\n\rT2\nBebidas: 10,00 \nPr. subsidiado: 2,00 - Saldo Cons Dia: 7,50\n" +
                        orb::hostlib::Centraliza("Ganhou 5", 40) + "\n" + kContact + kOperator);
    // The balance block is printed even with the budget used up; a daily value that is no
    // number is left out.
    p.budget = 0;
    p.subsidised = 0;
    p.daily = "x";
    EXPECT_EQ(Compose(p), "Obrigado\nT1\n\rT2\nBebidas: 10,00 \n");
}

TEST_F(Footer, HostLinesBecomeFooterLines) {
    orb::fw::StringList lines{"um\ndois\n", "tres"};
    Pieces p;
    p.useLines = true;
    p.lines = &lines;
    p.budget = 6;  // 3 + three lines
    EXPECT_EQ(Compose(p), "Obrigado\nT1\n\rT2\num\ndois\ntres\n");
}

TEST_F(Footer, SalePieces) {
    using namespace Orb00100::closing;
    Orb00100::EnsureDataModule();
    EXPECT_EQ(TaxLine(1234.5, 0.256), "Trib aprox R$: 1.234,50 Federal e 0,26 Estadual\n\rFonte: IBPT");
    EXPECT_EQ(LoyaltyLine(0), "");
    EXPECT_EQ(LoyaltyLine(150), "Nesta compra voce ganhou 150 DOTZ");
    EXPECT_EQ(PasswordLine("42"),
              "\x1B"
              "E\x1B"
              "W1SENHA: 42\x1B"
              "F\x1B"
              "W0");
    EXPECT_EQ(PasswordLine(""), "");
    EXPECT_EQ(NoteLine(""), "");
    EXPECT_EQ(TablePrefix("0000"), "Comanda: 0000 ");
    EXPECT_EQ(TablePrefix("12345"), "Comanda: 12345 ");
    EXPECT_EQ(TablePrefix("12"), "Mesa: 12 ");
    EXPECT_EQ(TablePrefix(""), "");

    PinClock(orb::fw::EncodeDateTime(2026, 12, 5, 14, 0, 0));
    ClosingInput in;
    in.stateCode = "PB";
    in.companyTaxNumber = "12.345.678/0001-90";
    in.stateNumber = "4711";
    EXPECT_EQ(StateLine(in, 25.5),
              CP("PARAÍBA LEGAL - RECEITA CIDADÃ\n\rTORPEDO PREMIADO: 123456780 05122026 4711 2550"));
    in.stateCode = "SP";
    EXPECT_EQ(StateLine(in, 25.5), "");
}

}  // namespace
