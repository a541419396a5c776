// The printer's identity and dates loaded from the virtual printer, the repair of the maker's
// configuration file, the clock check, the national model code and the non-fiscal layouts.

#include <tuple>

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

class PrinterData : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        Start();
    }
    Variant Inputs() {
        return orb::test::NamedParams{{"ESQUEMA", "003"}, {"DATAATUIMP", "X"}, {"ECFIMP", "A123"},
                                      {"REDIMP", "0042"}, {"SERIEIMP", "OLD"}, {"DATAIMP", "Y"}};
    }
    static std::string Out(const Variant& params, const char* name) {
        return orb::test::NamedValue(params, name).ToString();
    }
};

TEST_F(PrinterData, LoadsDatesTillAndSerialFromThePrinter) {
    SimAnswer("Bematech_FI_DataMovimento", {"041226"});
    SimAnswer("Bematech_FI_DataHoraImpressora", {"051226", "143005"});
    SimAnswer("Bematech_FI_NumeroCaixa", {"0007"});
    SimAnswer("Bematech_FI_NumeroSerieMFD", {"BE091010100011223344"});
    Variant params = Inputs();
    EXPECT_TRUE(Carrega_Dados_Impressora(params));
    EXPECT_EQ(params, Variant(orb::test::NamedParams{{"DATAATUIMP", "051226143005"},
                                                     {"ECFIMP", "007"},
                                                     {"REDIMP", "0042"},
                                                     {"SERIEIMP", "BE091010100011223344"},
                                                     {"DATAIMP", "041226"}}));
    EXPECT_EQ(NewLogTexts(), (Texts{AnswerLogText("Bematech_FI_DataMovimento") + "041226",
                                    AnswerLogText("Bematech_FI_DataHoraImpressora") + "051226143005",
                                    AnswerLogText("Bematech_FI_NumeroCaixa") + "0007",
                                    AnswerLogText("Bematech_FI_NumeroSerieMFD : ") + "BE091010100011223344"}));
    EXPECT_TRUE(Dialogs().empty());

    // No movement yet: today.
    SimAnswer("Bematech_FI_DataMovimento", {"000000"});
    params = Inputs();
    EXPECT_TRUE(Carrega_Dados_Impressora(params));
    EXPECT_EQ(Out(params, "DATAIMP"), orb::fw::FormatDateTime("ddmmyy", orb::fw::Date()));
}

TEST_F(PrinterData, BlankAnswersStopTheLaterQueries) {
    SimAnswer("Bematech_FI_DataMovimento", {"      "});
    Variant params = Inputs();
    EXPECT_FALSE(Carrega_Dados_Impressora(params));
    EXPECT_EQ(JournalEntries(), (Texts{"Bematech_FI_DataMovimento", "Bematech_FI_RetornoImpressora"}));
    // The till number is characters 2 to 4 of what was passed.
    EXPECT_EQ((Texts{Out(params, "DATAATUIMP"), Out(params, "ECFIMP"), Out(params, "SERIEIMP")}),
              (Texts{"X", "123", "OLD"}));

    // A blank till number: no serial asked, the verdict fails.
    ClearJournal();
    SimAnswer("Bematech_FI_NumeroCaixa", {"    "});
    params = Inputs();
    EXPECT_FALSE(Carrega_Dados_Impressora(params));
    EXPECT_EQ(CallCount("Bematech_FI_NumeroSerieMFD"), 0);

    // A refused serial query is logged but does not fail the load.
    FailNext("Bematech_FI_NumeroSerieMFD", -1);
    params = Inputs();
    EXPECT_TRUE(Carrega_Dados_Impressora(params));
    EXPECT_EQ(Out(params, "SERIEIMP"), std::string(20, ' '));
}

TEST_F(PrinterData, WrongPrinterSettingIsRepairedKeepingTheOtherLines) {
    Texts ini = DefaultBemafiIni();
    std::replace(ini.begin(), ini.end(), std::string("Impressora=1"), std::string("Impressora=0"));
    WriteBemafiIni(ini);
    Variant params = Inputs();
    EXPECT_TRUE(Carrega_Dados_Impressora(params));
    EXPECT_EQ(orb::test::ReadLines(SystemPath("Bemafi32.ini")), DefaultBemafiIni());
    EXPECT_EQ(Recorded().terminateRequests, 1);
}

TEST_F(PrinterData, ParameterThatCannotBeReadIsReportedAndTheLoadGoesOn) {
    Variant params = orb::test::NamedParams{{"ESQUEMA", "003"}, {"DATAATUIMP", Variant::Null()}, {"REDIMP", "0042"}};
    EXPECT_TRUE(Carrega_Dados_Impressora(params));
    const std::string tail = ParamErrorTail("Carrega_Dados_Impressora");
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_TRUE(Dialogs()[0].text.ends_with(tail)) << Dialogs()[0].text;
    EXPECT_GT(Dialogs()[0].text.size(), tail.size());
    EXPECT_EQ(std::tie(Dialogs()[0].kind, Dialogs()[0].scheme), std::make_tuple(3, "001"));
    EXPECT_EQ(Out(params, "REDIMP"), "");  // read after the failure: never reached
}

TEST_F(PrinterData, ClockCheckAndVersionAskThePrinterWhenGivenNothing) {
    TDateTime fiscal;
    EXPECT_TRUE(VerificaData("003", fiscal, "", "", true));
    boClieUtil = true;
    FailNext("Bematech_FI_DataHoraImpressora", 0);
    EXPECT_FALSE(VerificaData("003", fiscal, "", "", true));
    EXPECT_FALSE(boClieUtil);

    // Newer models report their version themselves; an older one is taken at its word.
    SimAnswer("Bematech_FI_VersaoFirmwareMFD", {"010002"});
    EXPECT_EQ(Codigo_Nacional_ECF(34, "999999"), "032102");
    SimAnswer("Bematech_FI_VersaoFirmwareMFD", {"010100"});
    EXPECT_EQ(Codigo_Nacional_ECF(27, "010002"), "032101");
    FailNext("Bematech_FI_VersaoFirmwareMFD", -1);
    EXPECT_EQ(Codigo_Nacional_ECF(34, ""), "032102");
    EXPECT_EQ(Codigo_Nacional_ECF(18, "010001"), "030802");
    EXPECT_EQ(Codigo_Nacional_ECF(18, "020000"), "030806");  // unlisted: the model's latest
    EXPECT_EQ(Codigo_Nacional_ECF(20, "010000"), "000000");
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

TEST(NonFiscalPrinterLayout, EachModelHasItsWidthLineEndAndControlAndUnknownOnesTheWidePrinter) {
    struct Case {
        const char* model;
        unsigned char columns;
        const char *lineEnd, *control;
    };
    const Case cases[] = {
        {"1", 36, "\r\n", "\x1bw"}, {"2", 42, "\n", "\x1bw"}, {"5", 42, "\n", "\x1bm"}, {"", 48, "\r\n", "\x1bw"}};
    for (const Case& c : cases) {
        unsigned char columns = 0;
        std::string lineEnd, control;
        DefineParametrosImpressora(columns, lineEnd, control, c.model);
        EXPECT_EQ(std::tie(columns, lineEnd, control), std::tie(c.columns, c.lineEnd, c.control)) << c.model;
    }
}

}  // namespace
