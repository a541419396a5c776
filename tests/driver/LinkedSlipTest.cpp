// The linked-slip primitives against the virtual printer: a card payment's slip opened, printed
// into and closed, and who is told of a refusal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/Globals.h"
#include "driver/TestSupport.h"
#include "external/vendor/EntryPoints.h"
#include "nonfiscal/LinkedSlips.h"
#include "nonfiscal/ManagementReports.h"

namespace {

using namespace Orb00100;
using nlohmann::json;

class LinkedSlips : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ResetPrinter({{"payments", {"Dinheiro", {{"name", "Cartao Credito"}, {"linkable", true}}}}});
        ASSERT_TRUE(StartModule());
    }
    // A coupon of 10,00 paid by card, straight through the maker's entry points.
    void CardSale() {
        CardSaleThroughEntryPoints("Cartao Credito");
        ForgetSoFar();
    }
    std::string Roll() { return Sim({{"sim", "roll"}})["roll"].get<std::string>(); }
    json Docs() { return Sim({{"sim", "state"}})["docs"]; }
};

TEST_F(LinkedSlips, CardSlipIsOpenedPrintedAndClosed) {
    CardSale();
    EXPECT_TRUE(Abre_Comp_NFiscalVinc("001", "Cartao Credito", "10,00", ""));
    EXPECT_EQ(Docs()["open"], "slip");
    EXPECT_TRUE(Usa_CompNFis("001", "VIA DO CLIENTE\nAUT 123456\n"));
    EXPECT_TRUE(FechRelatGerenc("001", true, false));
    EXPECT_EQ(Docs()["open"], "");

    // A logged text's line feeds read back as CR LF.
    EXPECT_EQ(NewLogTexts(), (std::vector<std::string>{
                                 "Bematech_FI_AbreComprovanteNaoFiscalVinculado : Cartao Credito - 10,00 - ",
                                 "Bematech_FI_UsaComprovanteNaoFiscalVinculado: VIA DO CLIENTE\r\nAUT 123456\r\n",
                                 "Bematech_FI_FechaRelatorioGerencial"}));
    const json opening = Journal()[0];
    EXPECT_EQ(opening["entry"], "Bematech_FI_AbreComprovanteNaoFiscalVinculado");
    EXPECT_EQ(opening["args"], (json{"Cartao Credito", "10,00", ""}));
    const std::string roll = Roll();
    EXPECT_NE(roll.find("AUT 123456"), std::string::npos);
    EXPECT_LT(roll.find("VIA DO CLIENTE"), roll.find("AUT 123456"));
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(LinkedSlips, ARefusedOpeningIsShownEvenOnASelfServiceTill) {
    CardSale();
    boNUtilTaa = false;
    // Paid by card, not in cash.
    EXPECT_FALSE(Abre_Comp_NFiscalVinc("001", "Dinheiro", "", ""));
    EXPECT_FALSE(Dialogs().empty());
    EXPECT_EQ(Docs()["open"], "");
}

TEST_F(LinkedSlips, ARefusedTextIsShownOnlyOnAStaffedTill) {
    CardSale();
    // Nothing is open to print into.
    EXPECT_FALSE(Usa_CompNFis("004", "perdido\n"));
    ASSERT_FALSE(Dialogs().empty());
    EXPECT_EQ(Dialogs().back().scheme, "004");

    orb::hostlib::ClearRecorded();
    stMensagemTaa.clear();
    boNUtilTaa = false;
    EXPECT_FALSE(Usa_CompNFis("004", "perdido\n"));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_FALSE(stMensagemTaa.empty());
    EXPECT_EQ(Roll().find("perdido"), std::string::npos);
}

}  // namespace
