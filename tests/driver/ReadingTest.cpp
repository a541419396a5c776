// The X reading and the Z reduction against the virtual printer: what is printed, the ledger
// records, the movement date kept for the CAT52 file and the debug-log lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "TestSupport.h"
#include "driver/Globals.h"
#include "external/vendor/EntryPoints.h"
#include "readings/Readings.h"

namespace {

using namespace Orb00100;

class Reading : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ASSERT_TRUE(StartModule());
        Prepare();
    }
    void Prepare() {
        ClearJournal();
        Sim({{"sim", "roll"}, {"clear", true}});
        orb::hostlib::ClearRecorded();
        NewLogTexts();
    }
    // A cash supply opens the day's movement without a coupon.
    void OpenMovement() {
        std::string amount = "5,00", method = "Dinheiro";
        ASSERT_EQ(Bematech_FI_Suprimento(amount.data(), method.data()), 1);
        Prepare();
    }
    std::string MovementDate() {
        std::string area(6, ' ');
        Bematech_FI_DataMovimento(area.data());
        return area;
    }
    std::string Roll() { return Sim({{"sim", "roll"}})["roll"]; }
};

TEST_F(Reading, RefusedXReadingIsShownAndNotRecorded) {
    std::string none;
    ASSERT_EQ(Bematech_FI_AbreCupomMFD(none.data(), none.data(), none.data()), 1);  // a coupon in the way
    Prepare();
    EXPECT_FALSE(Leitura_X_Imp("BE0001", "", "003", ""));
    EXPECT_TRUE(Recorded().ledger.empty());
    ASSERT_FALSE(Dialogs().empty());
    EXPECT_EQ(Dialogs()[0].scheme, "003");
}

TEST_F(Reading, ReductionKeepsTheMovementDateItClosesAndIsRecorded) {
    OpenMovement();
    const std::string movement = MovementDate();
    ASSERT_NE(movement, "000000");
    ClearJournal();

    EXPECT_TRUE(Reducao_Z_Imp("BE0001", "", "001", ""));
    EXPECT_EQ(stDataCat, movement);
    EXPECT_NE(MovementDate(), movement);  // the day is closed

    const auto journal = Journal();
    ASSERT_GE(journal.size(), 2u);
    EXPECT_EQ(journal[0]["entry"], "Bematech_FI_DataMovimento");
    EXPECT_EQ(journal[1]["entry"], "Bematech_FI_ReducaoZ");
    EXPECT_EQ(journal[1]["args"], nlohmann::json({nullptr, nullptr}));  // the printer's own clock

    // The movement-date query writes no line of its own.
    const auto log = NewLogTexts();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "Bematech_FI_ReducaoZ;");

    ASSERT_EQ(Recorded().ledger.size(), 1u);
    EXPECT_EQ(Recorded().ledger[0].f6, "RZ");
    EXPECT_EQ(Recorded().ledger[0].f1, "BE0001");
    EXPECT_EQ(Recorded().ledger[0].f3, "000001");  // the supply was the day's non-fiscal operation
    EXPECT_NE(Roll().find("REDU"), std::string::npos);
}

TEST_F(Reading, SecondReductionOfTheDayIsRefusedAndNotRecorded) {
    OpenMovement();
    ASSERT_TRUE(Reducao_Z_Imp("BE0001", "", "001", ""));
    Prepare();
    EXPECT_FALSE(Reducao_Z_Imp("BE0001", "", "001", ""));
    EXPECT_TRUE(Recorded().ledger.empty());
    EXPECT_FALSE(Dialogs().empty());
}

TEST_F(Reading, PrinterThatGivesNoMovementDateLeavesSixBlanks) {
    OpenMovement();
    stDataCat = "010126";
    FailNext("Bematech_FI_DataMovimento", 0);
    EXPECT_TRUE(Reducao_Z_Imp("BE0001", "", "001", ""));  // the date's answer is not judged
    EXPECT_EQ(stDataCat, "      ");
}

}  // namespace
