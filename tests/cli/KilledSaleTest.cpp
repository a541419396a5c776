// A till killed at every point of a sale, as kill -9 does it (the virtual printer ends the process
// the moment it has done its N-th call, before the answer reaches the module), then started
// again. The host keeps its sale marker (and, for a card, its last-transfer record) from the
// opening until the sale is done, and redoes the sale only when the printer does not hold it as a
// kept coupon. Whatever the point, the printer ends with the one sale, once, and a grand total
// that agrees.
#include "CliTestSupport.h"
#include "ClosingValues.h"

namespace orb::cli::testing {
namespace {

Json HostFile(const char* name, const Json& fields, const Json& row) {
    return Json{{"file", name}, {"dataset", {{"fields", fields}, {"rows", Json::array({row})}}}};
}
Json Marker() { return HostFile("cdsVenda.cds", Json::parse(R"([{"name": "NRSEQ", "type": "integer"}])"), {1}); }
// The last card transfer: "O" once the host has confirmed it, after its slip printed.
Json LastTransfer(const char* situation) {
    return HostFile("ultTef.cds", Json::parse(R"([{"name": "NrCupomTef", "size": 10}, {"name": "IdSituVenda",
        "size": 1}])"),
                    {"000001", situation});
}
Json Named(Json request, const char* key, const Json& value) {
    for (Json& pair : request["args"][0])
        if (pair[0] == key) pair[1] = value;
    return request;
}

struct Sale {
    std::vector<Json> steps;
    int net;  // cents
};

Sale CashSale() {
    ClosingValues closing{.scheme = "001", .changeReceipt = true, .change = 5.0};
    closing.movements = ClosingMovements({{"001", 35.0, fw::Now()}});
    closing.paymentTypes = ClosingPaymentTypes({{"001", "Dinheiro", "1"}});
    return {{Marker(), OpeningRequest(), ItemRequest("Moqueca", 30.0), FechaCupomRequest(closing)}, 3000};
}

Sale CardSale() {
    ClosingValues closing{.scheme = "001", .tefUse = "S"};
    closing.movements = ClosingMovements({{"002", 45.9, fw::Now()}});
    closing.paymentTypes = ClosingPaymentTypes({{"001", "Dinheiro", "1"}, {"002", "Cartao Credito Visa", "2"}});
    const Json slip = Call("ImprimeTef", Json::parse(R"(["BE091010100011223344", "0001", "001", "001",
        {"strings": ["VIA CLIENTE\nAUT: 123456"]}, {"strings": ["VIA LOJA\nAUT: 123456"]}, null, null, "",
        "Cartao Credito Visa", "", 0.0, 0.0, 1, "N", "PDV"])"));
    return {{Marker(), LastTransfer("P"), Named(Named(OpeningRequest(), "IDUTILTEF", "S"), "UTILTEF", true),
             Named(Named(ItemRequest("Moqueca", 45.9), "IDUTILTEF", "S"), "UTILTEF", true), FechaCupomRequest(closing),
             slip, LastTransfer("O")},
            4590};
}

class KilledSale : public OrbProcessTest {
protected:
    // The sale, step by step; false when the till died on the way.
    bool Sell(ServeProcess& orb, const Sale& sale) {
        for (const Json& step : sale.steps) {
            const Json reply = orb.Ask(step);
            if (reply.is_null()) return false;
            EXPECT_TRUE(!reply.contains("call") || reply["result"] == true) << reply;
        }
        for (const char* file : {"/cdsVenda.cds", "/ultTef.cds"}) std::filesystem::remove(Home() + file);
        return true;
    }
    Json State(ServeProcess& orb) { return orb.Ask(Json{{"sim", "state"}}); }
    static int Kept(const Json& state) {
        return state["counters"]["ccf"].get<int>() - state["day"]["cancelledCoupons"].get<int>();
    }
    // A factory-fresh printer with a card method, and the module started.
    static void Fresh(ServeProcess& orb) {
        Json reset = ResetRequest();
        reset["payments"] = Json::parse(R"(["Dinheiro", {"name": "Cartao Credito V", "linkable": true}])");
        orb.Ask(reset);
        orb.Ask(StartRequest());
    }

    void KillAtEveryCall(const Sale& sale, bool card) {
        // How many printer calls an undisturbed sale makes.
        int calls = 0;
        {
            ServeProcess orb({"--home", Home(), "serve"}, root_.string());
            Fresh(orb);
            orb.Ask(Json{{"sim", "journal"}, {"clear", true}});
            ASSERT_TRUE(Sell(orb, sale));
            calls = static_cast<int>(orb.Ask(Json{{"sim", "journal"}})["journal"].size());
        }
        ASSERT_GT(calls, 5);
        int stood = 0, redone = 0;  // both must happen: a kill before the sale is made, and after
        for (int n = 1; n <= calls; ++n) {
            SCOPED_TRACE("killed at call " + std::to_string(n) + " of " + std::to_string(calls));
            {
                ServeProcess orb({"--home", Home(), "serve"}, root_.string());
                Fresh(orb);
                orb.Ask(Json{{"sim", "crash"}, {"after_calls", n}});
                EXPECT_FALSE(Sell(orb, sale));
                EXPECT_EQ(orb.Finish(), 137);
            }
            ServeProcess orb({"--home", Home(), "serve"}, root_.string());
            Json state = State(orb);
            const bool finishedAtKill = state["counters"]["ccf"] == 1 && !state["docs"]["couponOpen"].get<bool>();
            ASSERT_EQ(orb.Ask(StartRequest())["result"], true);
            state = State(orb);
            EXPECT_FALSE(state["docs"]["couponOpen"].get<bool>());
            // A cash coupon the printer had finished is a sale made: the recovery never cancels it.
            // A card coupon whose slip never printed goes: its payment was never confirmed.
            EXPECT_TRUE(card || !finishedAtKill || state["day"]["cancelledCoupons"] == 0);
            if (Kept(state) == 0) {
                EXPECT_TRUE(Sell(orb, sale));
                ++redone;
            } else {
                ++stood;
            }
            state = State(orb);
            EXPECT_EQ(Kept(state), 1);
            EXPECT_EQ(state["counters"]["grandTotal"], state["day"]["gross"]);
            EXPECT_EQ(state["day"]["gross"].get<int>() - state["day"]["cancellations"].get<int>(), sale.net);
            for (const char* file : {"/cdsVenda.cds", "/ultTef.cds"}) std::filesystem::remove(Home() + file);
        }
        EXPECT_GT(stood, 0);
        EXPECT_GT(redone, 0);
    }
};

TEST_F(KilledSale, NoPointOfACashSaleWithChangeLosesOrDoublesIt) { KillAtEveryCall(CashSale(), false); }

TEST_F(KilledSale, NoPointOfACardSaleWithItsSlipLosesOrDoublesIt) { KillAtEveryCall(CardSale(), true); }

}  // namespace
}  // namespace orb::cli::testing
