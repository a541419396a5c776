// The cash drawer and the paper cutter against the virtual printer.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "nonfiscal/Hardware.h"

namespace {

using namespace Orb00100;

class DrawerAndCutter : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ASSERT_TRUE(StartModule());
        ForgetSoFar();
    }
};

TEST_F(DrawerAndCutter, DrawerOpensAndTellsItsState) {
    EXPECT_EQ(Estado_Gaveta_Imp("001"), "00");
    EXPECT_EQ(NewLogTexts().front(), "Bematech_FI_VerificaEstadoGaveta: 0");

    EXPECT_TRUE(Abre_Gaveta_Imp("001", false));
    EXPECT_EQ(NewLogTexts().front(), "Bematech_FI_AcionaGaveta");
    EXPECT_EQ(Estado_Gaveta_Imp("001"), "01");
    EXPECT_EQ(NewLogTexts().front(), "Bematech_FI_VerificaEstadoGaveta: 1");

    Sim({{"sim", "drawer"}, {"open", false}});
    EXPECT_EQ(Estado_Gaveta_Imp("001"), "00");
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(DrawerAndCutter, PrinterThatDoesNotAnswerLeavesTheDrawerStateUnknown) {
    // The library leaves the preset value alone: without the verdict it would read as open.
    FailNext("Bematech_FI_VerificaEstadoGaveta", 0);
    EXPECT_EQ(Estado_Gaveta_Imp("001"), "");
    EXPECT_EQ(NewLogTexts().front(), "Bematech_FI_VerificaEstadoGaveta: 1");
    EXPECT_FALSE(Dialogs().empty());

    orb::hostlib::ClearRecorded();
    FailNext("Bematech_FI_AcionaGaveta", 0);
    EXPECT_FALSE(Abre_Gaveta_Imp("001", true));
    ASSERT_FALSE(Dialogs().empty());
    EXPECT_EQ(Dialogs()[0].scheme, "001");
}

TEST_F(DrawerAndCutter, CutterFeedsFiveLinesAndCutsWithoutShowingFailures) {
    EXPECT_TRUE(Guilhotina("001", 0));
    const auto journal = Journal();
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ(journal[0]["entry"], "Bematech_FI_AvancaPapelAcionaGuilhotinaMFD");
    EXPECT_EQ(journal[0]["args"], nlohmann::json({5, 1}));
    EXPECT_NE(Sim({{"sim", "roll"}})["roll"].get<std::string>().find("corte"), std::string::npos);
    EXPECT_EQ(NewLogTexts().front(), "Bematech_FI_AcionaGuilhotinaMFD");

    Sim({{"sim", "paper"}, {"state", "out"}});
    EXPECT_FALSE(Guilhotina("001", 0));
    EXPECT_TRUE(Dialogs().empty());
}

}  // namespace
