// The clock check, the national model code and the non-fiscal printer layouts: the parts of the
// printer data that need no printer.
#include <gtest/gtest.h>

#include <cstdio>

#include "driver/DataModule.h"
#include "driver/Globals.h"
#include "driver/PrinterData.h"
#include "external/hostlib/HostLib.h"
#include "framework/DateTime.h"
#include "framework/FormatSettings.h"

namespace {

using namespace Orb00100;
using orb::fw::EncodeDate;
using orb::fw::EncodeDateTime;
using orb::fw::TDateTime;

class ClockCheck : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureDataModule();
        orb::hostlib::ResetHooks();
        orb::hostlib::ClearRecorded();
        orb::fw::ResetSettings();
        orb::fw::SetFixedNow(EncodeDateTime(2026, 12, 5, 14, 30, 0));
        boNUtilTaa = true;
        boClieUtil = true;
    }
    void TearDown() override {
        orb::fw::SetClock({});
        boNUtilTaa = true;
        boClieUtil = false;
    }
    // The printer's DDMMYYHHMMSS for a moment.
    static std::string PrinterText(int day, int hour, int minute, int second) {
        char text[13];
        std::snprintf(text, sizeof text, "%02d1226%02d%02d%02d", day, hour, minute, second);
        return text;
    }
    const std::vector<orb::hostlib::Dialog>& Dialogs() { return orb::hostlib::Recorded().dialogs; }
};

TEST_F(ClockCheck, AllowsFifteenMinutesEitherWayAndRefusesMore) {
    struct Case { std::string printer; bool passes; };
    const Case cases[] = {
        {PrinterText(5, 14, 44, 0), true},    // 14 minutes ahead
        {PrinterText(5, 14, 16, 0), true},    // 14 minutes behind
        {PrinterText(5, 14, 45, 59), true},   // 15 minutes 59 seconds ahead
        {PrinterText(5, 14, 46, 0), false},   // 16 minutes ahead
        {PrinterText(5, 14, 14, 0), false},   // 16 minutes behind
        {PrinterText(5, 15, 30, 0), false},   // one hour
        {PrinterText(7, 14, 30, 0), false},   // the same time two days later
        {PrinterText(5, 14, 30, 0).substr(0, 10), true},  // no seconds given
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.printer);
        boClieUtil = true;
        orb::hostlib::ClearRecorded();
        TDateTime fiscal;
        EXPECT_EQ(VerificaData("007", fiscal, c.printer, "", false), c.passes);
        EXPECT_EQ(boClieUtil, c.passes);
        if (c.passes) {
            EXPECT_TRUE(Dialogs().empty());
        } else {
            ASSERT_EQ(Dialogs().size(), 1u);
            EXPECT_EQ(Dialogs()[0].text, DataModule().msgPadrao.Msg("DataDif"));
            EXPECT_EQ(Dialogs()[0].kind, 3);
            EXPECT_EQ(Dialogs()[0].scheme, "007");
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

TEST(NonFiscalPrinterLayout, UnknownModelsGetTheWidePrinter) {
    unsigned char columns = 0;
    std::string lineEnd, control;
    DefineParametrosImpressora(columns, lineEnd, control, "6");
    EXPECT_EQ(columns, 42);
    EXPECT_EQ(lineEnd, "\n");
    EXPECT_EQ(control, "\x1bm");
    DefineParametrosImpressora(columns, lineEnd, control, "10");
    EXPECT_EQ(columns, 48);
    EXPECT_EQ(lineEnd, "\r\n");
    EXPECT_EQ(control, "\x1bw");
}

}  // namespace
