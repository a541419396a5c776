// A till killed at every point of a sale, as kill -9 does it (the virtual printer ends the process
// the moment it has done its N-th call, before the answer reaches the module), then started
// again. The host keeps its sale marker from the opening until the closing answers true, and
// redoes the sale only when the printer does not hold it as a finished coupon. Whatever the point,
// the printer ends with the one sale, once, and a grand total that agrees.
#include "CliTestSupport.h"
#include "ClosingValues.h"

namespace orb::cli::testing {
namespace {

class KilledSale : public OrbProcessTest {
protected:
    // The sale, step by step, with the host's marker around it; false when the till died.
    bool Sell(ServeProcess& orb) {
        const std::string marker =
            R"({"file": "cdsVenda.cds", "dataset": {"fields": [{"name": "NRSEQ", "type": "integer"}],
            "rows": [[1]]}})";
        ClosingValues closing{.scheme = "001", .changeReceipt = true, .change = 5.0};
        closing.movements = ClosingMovements({{"001", 35.0, fw::Now()}});
        closing.paymentTypes = ClosingPaymentTypes({{"001", "Dinheiro", "1"}});
        for (const Json& step :
             {Json::parse(marker), OpeningRequest(), ItemRequest("Moqueca", 30.0), FechaCupomRequest(closing)}) {
            const Json reply = orb.Ask(step);
            if (reply.is_null()) return false;
            EXPECT_TRUE(!reply.contains("call") || reply["result"] == true) << reply;
        }
        std::filesystem::remove(Home() + "/cdsVenda.cds");
        return true;
    }
    Json State(ServeProcess& orb) { return orb.Ask(Json{{"sim", "state"}}); }
};

TEST_F(KilledSale, NoPointOfACashSaleWithChangeLosesOrDoublesIt) {
    // How many printer calls an undisturbed sale makes.
    int calls = 0;
    {
        ServeProcess orb({"--home", Home(), "serve"}, root_.string());
        orb.Ask(ResetRequest());
        orb.Ask(StartRequest());
        orb.Ask(Json{{"sim", "journal"}, {"clear", true}});
        ASSERT_TRUE(Sell(orb));
        calls = static_cast<int>(orb.Ask(Json{{"sim", "journal"}})["journal"].size());
    }
    ASSERT_GT(calls, 5);
    int stood = 0, redone = 0;  // both must happen: a kill before the coupon ends, and after

    for (int n = 1; n <= calls; ++n) {
        SCOPED_TRACE("killed at call " + std::to_string(n) + " of " + std::to_string(calls));
        {
            ServeProcess orb({"--home", Home(), "serve"}, root_.string());
            orb.Ask(ResetRequest());
            orb.Ask(StartRequest());
            orb.Ask(Json{{"sim", "crash"}, {"after_calls", n}});
            EXPECT_FALSE(Sell(orb));
            EXPECT_EQ(orb.Finish(), 137);
        }
        ServeProcess orb({"--home", Home(), "serve"}, root_.string());
        Json state = State(orb);
        const bool finishedAtKill = state["counters"]["ccf"] == 1 && !state["docs"]["couponOpen"].get<bool>();
        ASSERT_EQ(orb.Ask(StartRequest())["result"], true);
        state = State(orb);
        EXPECT_FALSE(state["docs"]["couponOpen"].get<bool>());
        // A coupon the printer had finished is a sale made: the recovery never cancels it.
        EXPECT_TRUE(!finishedAtKill || state["day"]["cancelledCoupons"] == 0);
        // The host's check: a coupon the printer finished and kept is the sale; else it is redone.
        const int kept = state["counters"]["ccf"].get<int>() - state["day"]["cancelledCoupons"].get<int>();
        if (kept == 0) {
            EXPECT_TRUE(Sell(orb));
            ++redone;
        } else {
            ++stood;
        }
        state = State(orb);
        EXPECT_EQ(state["counters"]["ccf"].get<int>() - state["day"]["cancelledCoupons"].get<int>(), 1);
        EXPECT_EQ(state["counters"]["grandTotal"], state["day"]["gross"]);
        EXPECT_EQ(state["day"]["gross"].get<int>() - state["day"]["cancellations"].get<int>(), 3000);
        std::filesystem::remove(Home() + "/cdsVenda.cds");
    }
    EXPECT_GT(stood, 0);
    EXPECT_GT(redone, 0);
}

}  // namespace
}  // namespace orb::cli::testing
