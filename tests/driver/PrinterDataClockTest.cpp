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

TEST(NationalCode, KnownAndUnknownVersionsOfEachModel) {
    struct Case { int model; const char* version; const char* code; };
    const Case cases[] = {
        {14, "010000", "031001"}, {14, "010101", "031002"}, {14, "010202", "031003"},
        {14, "010302", "031004"}, {14, "999999", "031004"},
        {18, "010000", "030801"}, {18, "010001", "030802"}, {18, "010101", "030803"},
        {18, "010202", "030804"}, {18, "010302", "030805"}, {18, "010303", "030806"},
        {18, "020000", "030806"},
        {19, "010000", "030901"}, {19, "010100", "030902"}, {19, "", "030902"},
        {20, "010000", "000000"}, {0, "", "000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.model) + " " + c.version);
        EXPECT_EQ(Codigo_Nacional_ECF(c.model, c.version), c.code);
    }
}

TEST(NonFiscalPrinterLayout, EachModelHasItsWidthLineEndAndControl) {
    struct Case { const char* model; int columns; const char* lineEnd; const char* control; };
    const Case cases[] = {
        {"1", 36, "\r\n", "\x1bw"}, {"2", 42, "\n", "\x1bw"}, {"5", 42, "\n", "\x1bm"},
        {"6", 42, "\n", "\x1bm"},   {"7", 40, "\n", "\x1bw"}, {"3", 48, "\r\n", "\x1bw"},
        {"", 48, "\r\n", "\x1bw"},  {"10", 48, "\r\n", "\x1bw"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        unsigned char columns = 0;
        std::string lineEnd = "x", control = "x";
        DefineParametrosImpressora(columns, lineEnd, control, c.model);
        EXPECT_EQ(columns, c.columns);
        EXPECT_EQ(lineEnd, c.lineEnd);
        EXPECT_EQ(control, c.control);
    }
}

}  // namespace
