// The clock check, the national model code and the non-fiscal printer layouts: the parts of the
// printer data that need no printer.
#include <gtest/gtest.h>

#include <cstdio>

#include "driver/Globals.h"
#include "connection/PrinterData.h"
#include "driver/TestSupport.h"
#include "framework/DateTime.h"

namespace {

using namespace Orb00100;
using orb::fw::EncodeDate;
using orb::fw::EncodeDateTime;
using orb::fw::TDateTime;

class ClockCheck : public orb::test::DriverTest {
protected:
    bool UsesPrinter() const override { return false; }
    void SetUp() override {
        DriverTest::SetUp();
        PinClock(EncodeDateTime(2026, 12, 5, 14, 30, 0));
        boClieUtil = true;
    }
    // The printer's DDMMYYHHMMSS for a moment.
    static std::string PrinterText(int day, int hour, int minute, int second) {
        char text[13];
        std::snprintf(text, sizeof text, "%02d1226%02d%02d%02d", day, hour, minute, second);
        return text;
    }
};

TEST_F(ClockCheck, AllowsFifteenMinutesEitherWayAndRefusesMore) {
    struct Case {
        std::string printer;
        bool passes;
    };
    const Case cases[] = {
        {PrinterText(5, 14, 44, 0), true},                // 14 minutes ahead
        {PrinterText(5, 14, 16, 0), true},                // 14 minutes behind
        {PrinterText(5, 14, 45, 59), true},               // 15 minutes 59 seconds ahead
        {PrinterText(5, 14, 46, 0), false},               // 16 minutes ahead
        {PrinterText(5, 14, 14, 0), false},               // 16 minutes behind
        {PrinterText(5, 15, 30, 0), false},               // one hour
        {PrinterText(7, 14, 30, 0), false},               // the same time two days later
        {PrinterText(5, 14, 30, 0).substr(0, 10), true},  // no seconds given
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.printer);
        boClieUtil = true;
        Recorded().dialogs.clear();
        TDateTime fiscal;
        EXPECT_EQ(VerificaData("007", fiscal, c.printer, "", false), c.passes);
        EXPECT_EQ(boClieUtil, c.passes);
        if (c.passes) {
            EXPECT_TRUE(Dialogs().empty());
        } else {
            ASSERT_EQ(Dialogs().size(), 1u);
            EXPECT_TRUE(IsDialog(Dialogs()[0], CatalogText("DataDif"), 3, "007"));
        }
    }
}

TEST_F(ClockCheck, SelfServiceTerminalStaysQuietWhileItsCustomerIsServed) {
    boNUtilTaa = false;
    boClieUtil = true;
    TDateTime fiscal;
    EXPECT_FALSE(VerificaData("007", fiscal, PrinterText(5, 15, 0, 0), "", false));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_FALSE(boClieUtil);

    // Once the customer flag is down the message is shown there too.
    EXPECT_FALSE(VerificaData("007", fiscal, PrinterText(5, 15, 0, 0), "", false));
    EXPECT_EQ(Dialogs().size(), 1u);
}

TEST_F(ClockCheck, FiscalDateComesFromTheMovementDateOrToday) {
    TDateTime fiscal;
    EXPECT_TRUE(VerificaData("", fiscal, "", "031226", false));
    EXPECT_EQ(fiscal, EncodeDate(2026, 12, 3));

    // The century is the current one, whatever the two digits say.
    EXPECT_TRUE(VerificaData("", fiscal, "", "150699", false));
    EXPECT_EQ(fiscal, EncodeDate(2099, 6, 15));

    EXPECT_TRUE(VerificaData("", fiscal, "", "", false));
    EXPECT_EQ(fiscal, EncodeDate(2026, 12, 5));

    fiscal = EncodeDate(2000, 1, 1);
    EXPECT_TRUE(VerificaData("", fiscal, "", "311326", false));
    EXPECT_EQ(fiscal, EncodeDate(2026, 12, 5));
}

TEST_F(ClockCheck, UnreadablePrinterClockGivesTodayAndKeepsTheVerdict) {
    TDateTime fiscal = EncodeDate(2000, 1, 1);
    EXPECT_TRUE(VerificaData("", fiscal, "ABCDEFGHIJKL", "031226", false));
    EXPECT_EQ(fiscal, EncodeDate(2026, 12, 5));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_TRUE(boClieUtil);
}

TEST(NationalCode, UnlistedVersionsTakeTheModelsLatestCode) {
    EXPECT_EQ(Codigo_Nacional_ECF(18, "010303"), "030806");
    EXPECT_EQ(Codigo_Nacional_ECF(18, "010001"), "030802");
    EXPECT_EQ(Codigo_Nacional_ECF(18, "020000"), "030806");
    EXPECT_EQ(Codigo_Nacional_ECF(14, ""), "031004");
    EXPECT_EQ(Codigo_Nacional_ECF(19, "010000"), "030901");
    EXPECT_EQ(Codigo_Nacional_ECF(20, "010000"), "000000");
}

TEST(NonFiscalPrinterLayout, EachModelHasItsWidthLineEndAndControlAndUnknownOnesTheWidePrinter) {
    struct Case {
        const char* model;
        unsigned char columns;
        const char* lineEnd;
        const char* control;
    };
    const Case cases[] = {{"1", 36, "\r\n", "\x1bw"}, {"2", 42, "\n", "\x1bw"}, {"5", 42, "\n", "\x1bm"},
                          {"6", 42, "\n", "\x1bm"},   {"7", 40, "\n", "\x1bw"}, {"10", 48, "\r\n", "\x1bw"},
                          {"", 48, "\r\n", "\x1bw"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        unsigned char columns = 0;
        std::string lineEnd, control;
        DefineParametrosImpressora(columns, lineEnd, control, c.model);
        EXPECT_EQ(columns, c.columns);
        EXPECT_EQ(lineEnd, c.lineEnd);
        EXPECT_EQ(control, c.control);
    }
}

}  // namespace
