// A card sale cancelled through the orb program after its slip (scenarios/cancelled-coupon.jsonl):
// the host's grand-total copy follows the printer. What the printer was told and printed, the
// ledger and the debug log are held by the scenario's checks file.
#include "ScenarioSupport.h"
#include "external/hostlib/HostLib.h"
#include "framework/ClientDataSet.h"

namespace orb::cli::testing {
namespace {

class NonFiscalScenario : public ScenarioTest {};

TEST_F(NonFiscalScenario, CancelledCouponLeavesThePrintersTotalInTheHostsCopy) {
    RunScenario("cancelled-coupon.jsonl");
    fw::ClientDataSet copy;
    copy.LoadFromFile((std::filesystem::path(Home()) / "Tambora.cds").string());
    ASSERT_EQ(copy.RecordCount(), 1);
    EXPECT_EQ(hostlib::Uncripto(copy.FieldByName("CAMPO02").AsString(), 1), "45,9");
}

}  // namespace
}  // namespace orb::cli::testing
