// A till's day of cash through the orb program: a supply into the drawer, a withdrawal, the X
// reading and the Z reduction that closes the day, each on the roll with what the printer counts.
#include "ScenarioSupport.h"

namespace orb::cli::testing {
namespace {

class CashDayScenario : public ScenarioTest {};

TEST_F(CashDayScenario, SupplyWithdrawalReadingAndReductionAgreeWithThePrinter) {
    RunScenario("cash-day.jsonl");
    for (const char* call : {"StartImpFiscal", "Suprimento", "Sangria", "Leitura_X_Imp", "Reducao_Z_Imp"})
        EXPECT_EQ(Reply(call)["result"], true) << Reply(call);
    EXPECT_EQ(Reply("Suprimento")["log"].back().get<std::string>().substr(22),
              "Bematech_FI_Suprimento : 150,00 - Dinheiro");
    EXPECT_EQ(Reply("Sangria")["log"].back().get<std::string>().substr(22), "Bematech_FI_Sangria : 80,50");

    // Each movement is a non-fiscal receipt in cash; both readings carry the two totalizers and
    // what is left in the drawer (150,00 - 80,50).
    const std::string roll = LastSim("roll");
    const Texts totals = {Columns("Dinheiro", "69,50"), "           TOTALIZADORES NÃO FISCAIS            ",
                          Columns("Sangria:", "80,50"), Columns("Suprimento:", "150,00")};
    const auto receipts = Documents(roll, "COMPROVANTE NÃO-FISCAL");
    ASSERT_EQ(receipts.size(), 2u) << roll;
    EXPECT_EQ(receipts[0].body, (Texts{Columns("SUPRIMENTO", "150,00"), Columns("Dinheiro", "150,00")}));
    EXPECT_EQ(receipts[1].body, (Texts{Columns("SANGRIA", "80,50"), Columns("Dinheiro", "80,50")}));
    for (const char* title : {"LEITURA X", "REDUÇÃO Z"}) {
        const auto reading = Documents(roll, title);
        ASSERT_EQ(reading.size(), 1u) << title;
        const Texts& body = reading[0].body;
        ASSERT_GE(body.size(), totals.size()) << title;
        EXPECT_EQ(Texts(body.end() - static_cast<std::ptrdiff_t>(totals.size()), body.end()), totals) << title;
    }

    // The host is handed both readings for its ledger; the reduction closed the day.
    EXPECT_EQ(Json::array({Reply("Leitura_X_Imp")["ledger"][0][5], Reply("Reducao_Z_Imp")["ledger"][0][5]}),
              Json::array({"LX", "RZ"}));
    const Json state = run_.replies.at(run_.replies.size() - 2);
    EXPECT_EQ(Json::array({state["counters"]["crz"], state["counters"]["gnf"], state["day"]["supply"],
                           state["day"]["withdrawal"]}),
              Json::array({1, 3, 0, 0}));
}

}  // namespace
}  // namespace orb::cli::testing
