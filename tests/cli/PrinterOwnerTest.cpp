// One printer, one owner: a second orb on the same host folder is refused, and a module in
// another host folder that shares the printer finds its port busy, while the first one's sale
// goes on untouched. Real processes, as an integrator would run them.
#include "CliTestSupport.h"
#include "ClosingValues.h"

namespace orb::cli::testing {
namespace {

TEST_F(OrbProcessTest, OnePrinterHasOneOwnerAndAHostFolderOneOrbProcess) {
    ServeProcess first({"--home", Home(), "serve"}, root_.string());
    ASSERT_EQ(first.Ask(ResetRequest())["ok"], true);
    ASSERT_EQ(first.Ask(StartRequest())["result"], true);
    ASSERT_EQ(first.Ask(OpeningRequest())["result"], true);
    ASSERT_EQ(first.Ask(ItemRequest("Moqueca", 30.0))["result"], true);

    // The same host folder: refused before anything reaches the module or the printer.
    const OrbRun sameHome = Orb({"--home", Home(), "serve"}, JsonLines({StartRequest()}));
    EXPECT_EQ(std::tuple(sameHome.status, sameHome.out), std::tuple(2, ""));
    EXPECT_NE(sameHome.err.find("another orb process is using the home folder"), std::string::npos) << sameHome.err;

    // Another host folder on the same printer: the port is busy, and nothing else gets through.
    const OrbRun other = Orb({"--home", (root_ / "other").string(), "--system", Home() + "/system", "run", "-"},
                             JsonLines({StartRequest(), OpeningRequest(), ItemRequest("Intruso", 1.0)}));
    ASSERT_EQ(other.replies.size(), 3u) << other.out << other.err;
    EXPECT_EQ(Json::array({other.replies[0]["result"], other.replies[1]["result"], other.replies[2]["result"]}),
              Json::array({false, false, false}));
    EXPECT_NE(other.replies[0]["log"].dump().find("Bematech_FI_AbrePortaSerial: -5"), std::string::npos)
        << other.replies[0];

    // The first sale completes as it was: 30,00 paid with 35,00 gives 5,00 of change.
    ClosingValues closing{.scheme = "001", .change = 5.0};
    closing.movements = ClosingMovements({{"001", 35.0, fw::Now()}});
    closing.paymentTypes = ClosingPaymentTypes({{"001", "Dinheiro", "1"}});
    EXPECT_EQ(first.Ask(FechaCupomRequest(closing))["result"], true);
    const std::string roll = first.Ask(Json{{"sim", "roll"}})["roll"];
    EXPECT_NE(roll.find("TROCO R$                                    5,00"), std::string::npos) << roll;
    EXPECT_EQ(roll.find("Intruso"), std::string::npos) << roll;
    EXPECT_EQ(first.Finish(), 0);

    // Once the first has ended, the printer and the folder are free again.
    const OrbRun after = Orb({"--home", Home(), "run", "-"}, JsonLines({StartRequest()}));
    ASSERT_EQ(after.replies.size(), 1u) << after.err;
    EXPECT_EQ(after.replies[0]["result"], true);
}

}  // namespace
}  // namespace orb::cli::testing
