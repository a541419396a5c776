// Cash supply, withdrawal and totalizer receipts against the virtual printer: the amount as
// sent, the payment method, the debug-log lines, the printer's day totals and the refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/Config.h"
#include "driver/Globals.h"
#include "driver/TestSupport.h"
#include "nonfiscal/CashMovements.h"

namespace {

using nlohmann::json;

class CashMovements : public orb::test::DriverTest {
protected:
    void Start(const json& printer = json::object()) {
        ResetPrinter(printer);
        ASSERT_TRUE(StartModule());
        ClearJournal();
        NewLogTexts();
    }
    // The calls of one entry point, their arguments in order.
    std::vector<json> Sent(const std::string& entry) {
        std::vector<json> args;
        for (const json& call : Journal())
            if (call.value("entry", "") == entry) args.push_back(call["args"]);
        return args;
    }
    json Day() { return Sim({{"sim", "state"}})["day"]; }
    static constexpr const char* kErroComando = "Erro ao enviar comando para a impressora.";
};

TEST_F(CashMovements, SupplyRoundsToTheCentAndGoesInCash) {
    Start();
    EXPECT_TRUE(Orb00100::Suprimento("", "001", 1234.567));
    EXPECT_EQ(Sent("Bematech_FI_Suprimento"), (std::vector<json>{{"1234,57", "Dinheiro"}}));
    EXPECT_EQ(NewLogTexts(), (std::vector<std::string>{"Bematech_FI_Suprimento : 1234,57 - Dinheiro"}));
    EXPECT_EQ(Day()["supply"], 123457);
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(CashMovements, SupplyWithoutAmountSendsNothing) {
    Start();
    for (double amount : {0.0, -5.0}) EXPECT_TRUE(Orb00100::Suprimento("", "001", amount)) << amount;
    EXPECT_TRUE(Journal().empty());
    EXPECT_TRUE(NewLogTexts().empty());
}

TEST_F(CashMovements, WithdrawalOfNothingIsOneCent) {
    Start();
    EXPECT_TRUE(Orb00100::Sangria("", "001", 0));
    EXPECT_TRUE(Orb00100::Sangria("", "001", 12.5));
    EXPECT_EQ(Sent("Bematech_FI_Sangria"), (std::vector<json>{{"0,01"}, {"12,50"}}));
    EXPECT_EQ(NewLogTexts(), (std::vector<std::string>{"Bematech_FI_Sangria : 0,01", "Bematech_FI_Sangria : 12,50"}));
    EXPECT_EQ(Day()["withdrawal"], 1251);
}

TEST_F(CashMovements, RefusalShowsTheStatusMessageThenErroComando) {
    Start();
    // A negative withdrawal goes out as formatted; the printer refuses it.
    EXPECT_FALSE(Orb00100::Sangria("", "007", -3));
    EXPECT_EQ(Sent("Bematech_FI_Sangria"), (std::vector<json>{{"-3,00"}}));
    ASSERT_GE(Dialogs().size(), 2u);
    EXPECT_EQ(Dialogs().back().text, kErroComando);
    EXPECT_EQ(Dialogs().back().scheme, "007");
    EXPECT_EQ(Day()["withdrawal"], 0);

    // Shown even on a self-service terminal: the supply always asks for its messages.
    Orb00100::boNUtilTaa = false;
    FailNext("Bematech_FI_Suprimento", 0);
    const std::size_t before = Dialogs().size();
    EXPECT_FALSE(Orb00100::Suprimento("", "007", 50));
    ASSERT_EQ(Dialogs().size(), before + 2);
    EXPECT_EQ(Dialogs().back().text, kErroComando);
    EXPECT_EQ(Day()["supply"], 0);
}

TEST_F(CashMovements, ReceiptPassesItsTextsThroughUnderTheLoadedSlot) {
    Start();
    std::string cv, venda, compra, canc, relatorio;
    orb::fw::ClientDataSet* unused = nullptr;
    Orb00100::CarregaTotalizador(cv, venda, compra, canc, relatorio, "001", 34, unused);
    ASSERT_EQ(venda, "04");
    ClearJournal();
    NewLogTexts();

    EXPECT_TRUE(Orb00100::Cupom_NFiscNVinc("001", venda, "25,90", "Dinheiro"));
    EXPECT_EQ(Sent("Bematech_FI_RecebimentoNaoFiscal"), (std::vector<json>{{"04", "25,90", "Dinheiro"}}));
    EXPECT_EQ(NewLogTexts(), (std::vector<std::string>{"Bematech_FI_RecebimentoNaoFiscal : 04 - 25,90 - Dinheiro"}));
    EXPECT_EQ(Sim({{"sim", "state"}})["totalizers"][3]["day"], 2590);
}

TEST_F(CashMovements, RefusedReceiptIsShownOnlyOnAStaffedTerminal) {
    Start();
    EXPECT_FALSE(Orb00100::Cupom_NFiscNVinc("001", "09", "10,00", "Dinheiro"));  // no such slot
    EXPECT_FALSE(Dialogs().empty());
    EXPECT_NE(Dialogs().back().text, kErroComando);

    Orb00100::boNUtilTaa = false;
    Orb00100::stMensagemTaa.clear();
    const std::size_t before = Dialogs().size();
    EXPECT_FALSE(Orb00100::Cupom_NFiscNVinc("001", "09", "10,00", "Dinheiro"));
    EXPECT_EQ(Dialogs().size(), before);
    EXPECT_FALSE(Orb00100::stMensagemTaa.empty());
}

}  // namespace
