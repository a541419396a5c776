// Every printer call of a cash sale with change refused in turn, as a printer without answer and
// as a printer that rejects the command: each operation's answer must say what the printer did
// (an item answered true is on the coupon, one answered false is not), and the host's way back
// (start again, which cancels a coupon left open, then redo the sale if the printer kept none)
// ends with the sale exactly once.
#include <set>

#include "ClosingValues.h"
#include "coupon/Closing.h"
#include "coupon/CouponOpening.h"
#include "coupon/Items.h"
#include "driver/TestSupport.h"

namespace {

using nlohmann::json;
using orb::fw::Variant;

class FaultMatrix : public orb::test::DriverTest {
protected:
    // Runs step i of the sale: the opening, two items, the closing; its answer.
    bool Step(int i) {
        if (i == 0) {
            Variant opening = orb::test::NamedParams{{"ESQUEMACOR", "001"}, {"IDUTILTEF", "N"}, {"UTILTEF", false}};
            return Orb00100::AbreCupom(opening);
        }
        if (i <= 2) {
            Variant item = orb::test::NamedParams{{"ESQUEMACOR", "001"}, {"CDARVPROD", "7891"}, {"NMPROD", "Prato"},
                                                  {"CDALIQ", "01"},      {"QTDE", 1.0},         {"VALOR", 15.0},
                                                  {"DESCONT", 0.0},      {"UNIDADE", "UN"},     {"VRPERCALIQ", "18"},
                                                  {"IDUTILTEF", "N"},    {"UTILTEF", false},    {"ACRESCIMO", 0.0}};
            return Orb00100::VendaItem(item);
        }
        orb::cli::ClosingValues closing{.scheme = "001", .changeReceipt = true, .change = 5.0};
        closing.movements = orb::cli::ClosingMovements({{"001", 35.0, orb::fw::Now()}});
        closing.paymentTypes = orb::cli::ClosingPaymentTypes({{"001", "Dinheiro", "1"}});
        Variant result = Variant::MakeArray(4);
        return Orb00100::FechaCupom(closing.Values(), nullptr, result);
    }
    static constexpr int kSteps = 4;
    int Items() { return static_cast<int>(Docs()["coupon"]["items"].size()); }
    int Kept() { return State()["counters"]["ccf"].get<int>() - State()["day"]["cancelledCoupons"].get<int>(); }
};

TEST_F(FaultMatrix, EveryRefusedCallOfASaleIsToldAsItHappenedAndTheSaleEndsOnce) {
    // The entry points each step calls, from an undisturbed sale. A failed status read is left
    // out: the verdict rests on it, so the printer's own step can never be told from it.
    std::vector<std::set<std::string>> entries(kSteps);
    Start();
    for (int i = 0; i < kSteps; ++i) {
        ClearJournal();
        ASSERT_TRUE(Step(i));
        for (const std::string& entry : JournalEntries())
            if (entry != "Bematech_FI_RetornoImpressora") entries[i].insert(entry);
    }

    int cases = 0;
    for (int i = 0; i < kSteps; ++i)
        for (const std::string& entry : entries[i])
            for (const bool silent : {true, false}) {
                SCOPED_TRACE("step " + std::to_string(i) + ", " + entry + (silent ? " silent" : " refusing"));
                ++cases;
                Start();
                for (int before = 0; before < i; ++before) ASSERT_TRUE(Step(before));
                const int items = i == 0 ? 0 : Items();
                if (silent)
                    FailNext(entry, 0);
                else
                    Sim({{"sim", "fail"}, {"entry", entry}, {"return", -27}, {"st1", 8}});
                const bool answered = Step(i);
                EXPECT_TRUE(i != 0 || answered == CouponOpen());
                EXPECT_TRUE((i != 1 && i != 2) || answered == (Items() == items + 1));
                EXPECT_TRUE(i != 3 || !answered || !CouponOpen());

                // The host's way back.
                ASSERT_TRUE(StartModule());
                EXPECT_FALSE(CouponOpen());
                const bool redo = Kept() == 0;
                for (int again = 0; redo && again < kSteps; ++again) ASSERT_TRUE(Step(again));
                EXPECT_EQ(Kept(), 1);
                const json day = State()["day"];
                EXPECT_EQ(day["gross"].get<int>() - day["cancellations"].get<int>(), 3000);
            }
    EXPECT_GE(cases, 18);
}

}  // namespace
