// Port opening against the virtual printer: the order of its calls, each refusal with its log
// line and message, the pending receipt, and when an interrupted sale is recognised.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "connection/PortOpening.h"
#include "connection/Recovery.h"
#include "platform/Platform.h"

namespace {

using namespace Orb00100;

class PortOpening : public orb::test::DriverTest {};

TEST_F(PortOpening, CleanPrinterOpensAndClosesLeftoversWithoutCancelling) {
    ASSERT_TRUE(StartModule());
    const std::vector<std::string> expected = {
        "Bematech_FI_AbrePortaSerial",          "Bematech_FI_RetornoImpressora",
        "Bematech_FI_DataHoraImpressora",       "Bematech_FI_RetornoImpressora",
        "Bematech_FI_VerificaImpressoraLigada", "Bematech_FI_FechaComprovanteNaoFiscalVinculado",
        "Bematech_FI_FechaRelatorioGerencial",  "Bematech_FI_StatusEstendidoMFD",
        "Bematech_FI_RetornoImpressora"};
    EXPECT_EQ(JournalEntries(), expected);
    EXPECT_EQ(LogTexts().at(0), "Bematech_FI_AbrePortaSerial: 1");
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(PortOpening, PortThatDoesNotOpenIsReportedWithItsName) {
    for (int code : {0, -5}) {
        SCOPED_TRACE(code);
        ResetPrinter();
        orb::hostlib::ClearRecorded();
        FailNext("Bematech_FI_AbrePortaSerial", code);
        EXPECT_FALSE(StartModule());
        EXPECT_TRUE(WasLogged("Bematech_FI_AbrePortaSerial: " + std::to_string(code)));
        EXPECT_TRUE(WasLogged("ERRO!!! Abrindo porta COM1"));
        ASSERT_FALSE(Dialogs().empty());
        EXPECT_TRUE(IsDialog(Dialogs().back(), CatalogText("ErroPorta"), 3, "001"));
        EXPECT_EQ(CallCount("Bematech_FI_DataHoraImpressora"), 0);
    }
}

TEST_F(PortOpening, PrinterSwitchedOffIsReported) {
    FailNext("Bematech_FI_VerificaImpressoraLigada", -6);
    EXPECT_FALSE(StartModule());
    EXPECT_TRUE(WasLogged(ErrorLogText("ImpDeslig")));
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_TRUE(IsDialog(Dialogs()[0], CatalogText("ImpDeslig"), 3, "001"));
    EXPECT_EQ(CallCount("Bematech_FI_FechaRelatorioGerencial"), 0);
}

TEST_F(PortOpening, ClockOffByMoreThanFifteenMinutesRefusesTheStart) {
    Sim({{"sim", "clock"}, {"offset_seconds", -16 * 60}});
    EXPECT_FALSE(StartModule());
    EXPECT_EQ(Dialogs().back().text, CatalogText("DataDif"));
    EXPECT_EQ(CallCount("Bematech_FI_VerificaImpressoraLigada"), 0);

    Sim({{"sim", "clock"}, {"offset_seconds", 14 * 60}});
    orb::hostlib::ClearRecorded();
    EXPECT_TRUE(StartModule());
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(PortOpening, PendingNonFiscalReceiptIsCancelled) {
    Sim({{"sim", "extended"}, {"value", 33}});
    EXPECT_TRUE(StartModule());
    EXPECT_EQ(CallCount("Bematech_FI_CancelaRecebimentoNaoFiscalMFD"), 1);
    EXPECT_EQ(CallCount("Bematech_FI_CancelaCupom"), 0);
}

TEST_F(PortOpening, OnlyACouponOpenAndNothingElseOrTheHostFilesMeanAnInterruptedSale) {
    // Paper out as well as the coupon open: not taken for an interrupted sale.
    ForceStatus(6, 130, 0, 10);
    EXPECT_TRUE(StartModule());
    EXPECT_EQ(CallCount("Bematech_FI_CancelaCupom"), 0);

    ResetPrinter();
    ForceStatus(6, 2, 0, 10);
    EXPECT_TRUE(StartModule());
    EXPECT_EQ(CallCount("Bematech_FI_CancelaCupom"), 1);

    for (const std::string& file : {SaleRecoveryPath(), CancelledItemsRecoveryPath()}) {
        SCOPED_TRACE(file);
        ResetPrinter();
        ASSERT_TRUE(orb::platform::WriteFile(file, "x"));
        EXPECT_TRUE(StartModule());
        EXPECT_EQ(CallCount("Bematech_FI_CancelaCupom"), 1);
        // The host removes its files itself.
        EXPECT_TRUE(orb::platform::FileExists(file));
        orb::platform::DeleteFile(file);
    }
}

}  // namespace
