// The repair of the maker's configuration file when the printer's data are loaded, and the clock
// check against the module's clock.

#include "TestSupport.h"
#include "connection/PrinterData.h"
#include "driver/Globals.h"
#include "framework/DateFormat.h"

namespace {

using namespace Orb00100;
using orb::fw::EncodeDate;
using orb::fw::TDateTime;
using orb::fw::Variant;
using orb::test::Texts;

using PrinterData = orb::test::DriverTest;

// The rest of the load, the national model code and the non-fiscal layouts: printer-data.jsonl.
TEST_F(PrinterData, WrongPrinterSettingIsRepairedKeepingTheOtherLines) {
    Start();
    Texts ini = DefaultBemafiIni();
    std::replace(ini.begin(), ini.end(), std::string("Impressora=1"), std::string("Impressora=0"));
    WriteBemafiIni(ini);
    Variant params = orb::test::NamedParams{{"ESQUEMA", "003"}, {"DATAATUIMP", "X"}, {"ECFIMP", "A123"},
                                            {"REDIMP", "0042"}, {"SERIEIMP", "OLD"}, {"DATAIMP", "Y"}};
    EXPECT_TRUE(Carrega_Dados_Impressora(params));
    EXPECT_EQ(orb::test::ReadLines(SystemPath("Bemafi32.ini")), DefaultBemafiIni());
    EXPECT_EQ(Recorded().terminateRequests, 1);
    // No movement yet: today.
    EXPECT_EQ(orb::test::NamedValue(params, "DATAIMP").ToString(), orb::fw::FormatDateTime("ddmmyy", orb::fw::Date()));
}

class ClockCheck : public orb::test::DriverTest {
protected:
    bool UsesPrinter() const override { return false; }
    void SetUp() override {
        DriverTest::SetUp();
        PinClock(orb::fw::EncodeDateTime(2026, 12, 5, 14, 30, 0));
        boClieUtil = true;
    }
};

TEST_F(ClockCheck, AllowsFifteenMinutesEitherWayAndRefusesMore) {
    // The printer's DDMMYYHHMMSS against 05/12/2026 14:30:00.
    const std::pair<const char*, bool> cases[] = {
        {"051226144400", true},  {"051226141600", true},  {"051226144559", true},
        {"051226144600", false}, {"051226141400", false}, {"051226153000", false},
        {"071226143000", false}, {"0512261430", true},  // no seconds given
    };
    for (const auto& [printer, passes] : cases) {
        SCOPED_TRACE(printer);
        boClieUtil = true;
        Recorded().dialogs.clear();
        TDateTime fiscal;
        EXPECT_EQ(VerificaData("007", fiscal, printer, "", false), passes);
        EXPECT_EQ(boClieUtil, passes);
        EXPECT_TRUE(passes ? Dialogs().empty()
                           : Dialogs().size() == 1 && LastDialogIs(CatalogText("DataDif"), 3, "007"));
    }

    // A self-service terminal stays quiet while its customer is served, then shows it too.
    boNUtilTaa = false;
    boClieUtil = true;
    Recorded().dialogs.clear();
    TDateTime fiscal;
    EXPECT_FALSE(VerificaData("007", fiscal, "051226150000", "", false));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_FALSE(boClieUtil);
    EXPECT_FALSE(VerificaData("007", fiscal, "051226150000", "", false));
    EXPECT_EQ(Dialogs().size(), 1u);
}

TEST_F(ClockCheck, FiscalDateComesFromTheMovementDateOrToday) {
    const TDateTime today = EncodeDate(2026, 12, 5);
    struct Case {
        const char *clock, *movement;
        TDateTime fiscal;
    };
    const Case cases[] = {
        {"", "031226", EncodeDate(2026, 12, 3)},
        {"", "150699", EncodeDate(2099, 6, 15)},  // the century is the current one
        {"", "", today},
        {"", "311326", today},
        {"ABCDEFGHIJKL", "031226", today},  // an unreadable clock: today, and the verdict kept
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.clock) + "/" + c.movement);
        TDateTime fiscal = EncodeDate(2000, 1, 1);
        EXPECT_TRUE(VerificaData("", fiscal, c.clock, c.movement, false));
        EXPECT_EQ(fiscal, c.fiscal);
    }
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_TRUE(boClieUtil);
}

}  // namespace
