// The Z reduction and the ledger records that cannot be made, against the virtual printer (cash
// supply and withdrawal are in the cash-movements scenario; totalizer receipts, a refused X reading
// and the record of each document type in non-fiscal-records).

#include <stdexcept>

#include "TestSupport.h"
#include "driver/Globals.h"
#include "external/vendor/EntryPoints.h"
#include "nonfiscal/CashMovements.h"
#include "nonfiscal/Ledger.h"
#include "readings/Readings.h"

namespace {

using namespace Orb00100;
using nlohmann::json;
using orb::test::Texts;

class CashReadingsLedger : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        Start();
    }
    std::string MovementDate() {
        std::string area(6, ' ');
        Bematech_FI_DataMovimento(area.data());
        return area;
    }
};

TEST_F(CashReadingsLedger, ReductionKeepsTheMovementDateItClosesAndIsRecordedOncePerDay) {
    ASSERT_TRUE(Suprimento("", "001", 5));  // opens the day's movement without a coupon
    const std::string movement = MovementDate();
    ForgetSoFar();
    EXPECT_TRUE(Reducao_Z_Imp("BE0001", "", "001", ""));
    EXPECT_EQ(stDataCat, movement);
    EXPECT_NE(MovementDate(), movement);  // the day is closed
    EXPECT_EQ(JournalEntries().at(0), "Bematech_FI_DataMovimento");
    EXPECT_EQ(Sent("Bematech_FI_ReducaoZ"), (std::vector<json>{{nullptr, nullptr}}));  // the printer's own clock
    EXPECT_EQ(NewLogTexts().front(), "Bematech_FI_ReducaoZ;");                         // the date query writes no line
    ASSERT_EQ(LedgerTypes(), Texts{"RZ"});
    EXPECT_EQ(Recorded().ledger[0].f1, "BE0001");
    EXPECT_EQ(Recorded().ledger[0].f3, "000001");  // the supply was the day's non-fiscal operation
    EXPECT_NE(Roll().find("REDU"), std::string::npos);

    // A second reduction of the day is refused and not recorded.
    orb::hostlib::ClearRecorded();
    EXPECT_FALSE(Reducao_Z_Imp("BE0001", "", "001", ""));
    EXPECT_TRUE(Recorded().ledger.empty());
    EXPECT_FALSE(Dialogs().empty());

    // A printer that gives no movement date leaves six blanks; the date's answer is not judged.
    Start();
    ASSERT_TRUE(Suprimento("", "001", 5));
    stDataCat = "010126";
    FailNext("Bematech_FI_DataMovimento", 0);
    EXPECT_TRUE(Reducao_Z_Imp("BE0001", "", "001", ""));
    EXPECT_EQ(stDataCat, "      ");
}

TEST_F(CashReadingsLedger, RecordThatCannotBeMadeIsShownAndNotWritten) {
    SimAnswer("Bematech_FI_DataHoraImpressora", {"xx0126", "143005"});
    EXPECT_NO_THROW(GravaDocumentosNaoFiscais("BE0001", "005", "LX", "", ""));
    EXPECT_TRUE(Recorded().ledger.empty());
    EXPECT_EQ(Dialogs().size(), 1u);
    EXPECT_TRUE(LastDialogIs("'xx/01/26 14:30:05' is not a valid date and time", 3, "005"));
    // The host's own service failing is shown the same way.
    orb::hostlib::ClearRecorded();
    orb::hostlib::Hooks hooks;
    hooks.ledger = [](const orb::hostlib::NonFiscalDocRecord&) { throw std::runtime_error("banco fora do ar"); };
    orb::hostlib::InstallHooks(hooks);
    EXPECT_NO_THROW(GravaDocumentosNaoFiscais("BE0001", "005", "LX", "", ""));
    EXPECT_EQ(DialogTexts(), Texts{"banco fora do ar"});
}

}  // namespace
