// Loading the printer's identity and dates against the virtual printer, the repair of the
// maker's configuration file, and the clock check and model code that ask the printer.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "driver/Globals.h"
#include "connection/PrinterData.h"
#include "framework/DateFormat.h"
#include "framework/DateTime.h"

namespace {

using namespace Orb00100;
using orb::fw::Variant;

class PrinterData : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ASSERT_TRUE(StartModule());
        ForgetSoFar();
    }
    Variant Inputs() {
        return orb::test::NamedParams{{"ESQUEMA", "003"}, {"DATAATUIMP", "X"}, {"ECFIMP", "A123"},
                                      {"REDIMP", "0042"}, {"SERIEIMP", "OLD"}, {"DATAIMP", "Y"}};
    }
    static std::vector<std::string> Names(const Variant& params) {
        std::vector<std::string> names;
        for (const Variant& pair : params.AsArray()) names.push_back(pair[0].ToString());
        return names;
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
    EXPECT_EQ(Names(params), (std::vector<std::string>{"DATAATUIMP", "ECFIMP", "REDIMP", "SERIEIMP", "DATAIMP"}));
    EXPECT_EQ(Out(params, "DATAATUIMP"), "051226143005");
    EXPECT_EQ(Out(params, "ECFIMP"), "007");
    EXPECT_EQ(Out(params, "REDIMP"), "0042");
    EXPECT_EQ(Out(params, "SERIEIMP"), "BE091010100011223344");
    EXPECT_EQ(Out(params, "DATAIMP"), "041226");

    for (const std::string& line : {AnswerLogText("Bematech_FI_DataMovimento") + "041226",
                                    AnswerLogText("Bematech_FI_DataHoraImpressora") + "051226143005",
                                    AnswerLogText("Bematech_FI_NumeroCaixa") + "0007",
                                    AnswerLogText("Bematech_FI_NumeroSerieMFD : ") + "BE091010100011223344"})
        EXPECT_TRUE(WasLogged(line)) << line;
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(PrinterData, NoMovementYetGivesToday) {
    SimAnswer("Bematech_FI_DataMovimento", {"000000"});
    Variant params = Inputs();
    EXPECT_TRUE(Carrega_Dados_Impressora(params));
    EXPECT_EQ(Out(params, "DATAIMP"), orb::fw::FormatDateTime("ddmmyy", orb::fw::Date()));
}

TEST_F(PrinterData, BlankAnswerStopsTheLaterQueries) {
    SimAnswer("Bematech_FI_DataMovimento", {"      "});
    Variant params = Inputs();
    EXPECT_FALSE(Carrega_Dados_Impressora(params));
    EXPECT_EQ(JournalEntries(),
              (std::vector<std::string>{"Bematech_FI_DataMovimento", "Bematech_FI_RetornoImpressora"}));
    EXPECT_EQ(Out(params, "DATAATUIMP"), "X");
    EXPECT_EQ(Out(params, "ECFIMP"), "123");  // characters 2 to 4 of what was passed
    EXPECT_EQ(Out(params, "SERIEIMP"), "OLD");

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

TEST_F(PrinterData, WrongPrinterSettingInBemafiIniIsRepairedAndTheHostAskedToClose) {
    std::vector<std::string> ini = DefaultBemafiIni();
    std::replace(ini.begin(), ini.end(), std::string("Impressora=1"), std::string("Impressora=0"));
    WriteBemafiIni(ini);
    Variant params = Inputs();
    EXPECT_TRUE(Carrega_Dados_Impressora(params));
    EXPECT_EQ(orb::test::ReadLines(SystemPath("Bemafi32.ini")), DefaultBemafiIni());
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_TRUE(IsDialog(Dialogs()[0], CatalogText("Bemafi_Imp"), 0, "003"));
    EXPECT_EQ(Recorded().terminateRequests, 1);

    // Right already: nothing shown, nothing asked.
    orb::hostlib::ClearRecorded();
    params = Inputs();
    EXPECT_TRUE(Carrega_Dados_Impressora(params));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_EQ(Recorded().terminateRequests, 0);
}

TEST_F(PrinterData, ParameterThatCannotBeReadIsReportedAndTheLoadGoesOn) {
    Variant params = orb::test::NamedParams{{"ESQUEMA", "003"}, {"DATAATUIMP", Variant::Null()}, {"REDIMP", "0042"}};
    EXPECT_TRUE(Carrega_Dados_Impressora(params));
    ASSERT_EQ(Dialogs().size(), 1u);
    const std::string tail = ParamErrorTail("Carrega_Dados_Impressora");
    EXPECT_TRUE(Dialogs()[0].text.ends_with(tail)) << Dialogs()[0].text;
    EXPECT_GT(Dialogs()[0].text.size(), tail.size());
    EXPECT_EQ(Dialogs()[0].kind, 3);
    EXPECT_EQ(Dialogs()[0].scheme, "001");
    EXPECT_EQ(Out(params, "REDIMP"), "");  // read after the failure: never reached
}

TEST_F(PrinterData, ClockCheckAsksThePrinter) {
    orb::fw::TDateTime fiscal;
    const std::pair<int, bool> offsets[] = {
        {-16 * 60, false}, {16 * 60 + 30, false}, {14 * 60, true}, {-14 * 60, true}};
    for (const auto& [offset, passes] : offsets) {
        Sim({{"sim", "clock"}, {"offset_seconds", offset}});
        EXPECT_EQ(VerificaData("003", fiscal, "", "", true), passes) << offset;
    }

    boClieUtil = true;
    FailNext("Bematech_FI_DataHoraImpressora", 0);
    EXPECT_FALSE(VerificaData("003", fiscal, "", "", true));
    EXPECT_FALSE(boClieUtil);
}

TEST_F(PrinterData, NewerModelsReportTheirVersionThemselves) {
    SimAnswer("Bematech_FI_VersaoFirmwareMFD", {"010002"});
    EXPECT_EQ(Codigo_Nacional_ECF(34, "999999"), "032102");
    SimAnswer("Bematech_FI_VersaoFirmwareMFD", {"010100"});
    EXPECT_EQ(Codigo_Nacional_ECF(27, "010002"), "032101");
    FailNext("Bematech_FI_VersaoFirmwareMFD", -1);
    EXPECT_EQ(Codigo_Nacional_ECF(34, ""), "032102");
}

}  // namespace
