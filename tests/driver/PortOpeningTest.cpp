// Port opening against the virtual printer: the order of its calls, each refusal with its log
// line and message, the pending receipt, and the recovery of a sale a till left interrupted (the
// coupon left open, the last card transfer and the grand-total copy).

#include "TestSupport.h"
#include "connection/Binding.h"
#include "connection/PortOpening.h"
#include "connection/Recovery.h"
#include "external/vendor/EntryPoints.h"
#include "framework/Cp1252.h"
#include "framework/Exceptions.h"
#include "platform/Platform.h"

namespace {

using namespace Orb00100;
using orb::test::Texts;

class PortOpening : public orb::test::DriverTest {
protected:
    orb::test::NamedParams Params() { return StartParams().Set("NRSERIEIMP", "BE0001"); }
    // A started module with a coupon left open on the printer and a stale grand-total copy.
    void SaleLeftOpen() {
        ResetPrinter();
        ASSERT_TRUE(StartModule(Params()));
        char empty[1] = "";
        ASSERT_EQ(Bematech_FI_AbreCupomMFD(empty, empty, empty), 1);
        WriteGrandTotalCopy("5,00");
        SimAnswer("Bematech_FI_GrandeTotal", {"000000000000012345"});
        ForgetSoFar();
    }
    void WriteLastTef(const std::string& situation) {
        orb::fw::ClientDataSet table;
        for (const char* name : {"NrCupomTef", "dataTef", "hrTef", "IdSituVenda", "NsuHost", "CDTIPORECE"})
            table.AddFieldDef(name, orb::fw::FieldType::String, 15);
        table.CreateDataSet();
        table.Append();
        table.FieldByName("NrCupomTef").SetAsString("000001");
        table.FieldByName("IdSituVenda").SetAsString(situation);
        table.Post();
        table.SaveToFile(LastTefRecoveryPath());
    }
    Texts RecoveryCalls() {
        return JournalEntries({"Bematech_FI_NumeroCupom", "Bematech_FI_EstornoNaoFiscalVinculadoMFD",
                               "Bematech_FI_CancelaCupom", "Bematech_FI_GrandeTotal"});
    }
};

TEST_F(PortOpening, CleanPrinterOpensAndClosesLeftoversWithoutCancelling) {
    ASSERT_TRUE(StartModule());
    EXPECT_EQ(JournalEntries(),
              (Texts{"Bematech_FI_AbrePortaSerial", "Bematech_FI_RetornoImpressora", "Bematech_FI_DataHoraImpressora",
                     "Bematech_FI_RetornoImpressora", "Bematech_FI_VerificaImpressoraLigada",
                     "Bematech_FI_FechaComprovanteNaoFiscalVinculado", "Bematech_FI_FechaRelatorioGerencial",
                     "Bematech_FI_StatusEstendidoMFD", "Bematech_FI_RetornoImpressora"}));
    EXPECT_EQ(LogTexts().at(0), "Bematech_FI_AbrePortaSerial: 1");
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(PortOpening, EachRefusalStopsTheOpeningWithItsMessage) {
    struct Case {
        const char* entry;  // refused with ret; without one the printer's clock is set off by clock minutes
        int ret = 0, clock = 0;
        Texts logged = {};
        const char *key = "", *notCalled = "";  // the message shown, the step the refusal keeps from running
    };
    const std::string port = "Bematech_FI_AbrePortaSerial";
    // clang-format off
    const Case cases[] = {
        {.entry = port.c_str(), .ret = 0, .logged = {port + ": 0", "ERRO!!! Abrindo porta COM1"}, .key = "ErroPorta",
         .notCalled = "Bematech_FI_DataHoraImpressora"},
        {.entry = port.c_str(), .ret = -5, .logged = {port + ": -5", "ERRO!!! Abrindo porta COM1"},
         .key = "ErroPorta", .notCalled = "Bematech_FI_DataHoraImpressora"},
        {.entry = "Bematech_FI_VerificaImpressoraLigada", .ret = -6, .logged = {ErrorLogText("ImpDeslig")},
         .key = "ImpDeslig", .notCalled = "Bematech_FI_FechaRelatorioGerencial"},
        {.entry = nullptr, .clock = -16, .key = "DataDif", .notCalled = "Bematech_FI_VerificaImpressoraLigada"},
        {.entry = nullptr, .clock = 16, .key = "DataDif", .notCalled = "Bematech_FI_VerificaImpressoraLigada"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry ? c.entry + std::to_string(c.ret) : "clock " + std::to_string(c.clock));
        ResetPrinter();
        orb::hostlib::ClearRecorded();
        if (c.entry) FailNext(c.entry, c.ret);
        Sim({{"sim", "clock"}, {"offset_seconds", c.clock * 60 + (c.clock > 0 ? 30 : 0)}});
        EXPECT_FALSE(StartModule());
        for (const std::string& line : c.logged) EXPECT_TRUE(WasLogged(line)) << line;
        EXPECT_TRUE(LastDialogIs(CatalogText(c.key), 3, "001"));
        EXPECT_EQ(CallCount(c.notCalled), 0);
    }
    ResetPrinter();
    Sim({{"sim", "clock"}, {"offset_seconds", 14 * 60}});
    orb::hostlib::ClearRecorded();
    EXPECT_TRUE(StartModule());
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(PortOpening, PendingReceiptIsCancelledAndOnlyACouponOpenOrTheHostFilesMeanAnInterruptedSale) {
    ForceExtended(33);
    EXPECT_TRUE(StartModule());
    EXPECT_EQ(CallCount("Bematech_FI_CancelaRecebimentoNaoFiscalMFD"), 1);
    EXPECT_EQ(CallCount("Bematech_FI_CancelaCupom"), 0);

    // Paper out as well as the coupon open: not taken for an interrupted sale.
    ResetPrinter();
    ForceStatus(6, 130, 0, 10);
    EXPECT_TRUE(StartModule());
    EXPECT_EQ(CallCount("Bematech_FI_CancelaCupom"), 0);

    ResetPrinter();
    ForceStatus(6, 2, 0, 10);
    EXPECT_TRUE(StartModule());
    EXPECT_EQ(CallCount("Bematech_FI_CancelaCupom"), 1);

    // The host's files with no coupon open: the sale was finished on the printer, and cancelling
    // would take its last coupon. It stands, and the operator is told not to redo it.
    for (const std::string& file : {SaleRecoveryPath(), CancelledItemsRecoveryPath()}) {
        SCOPED_TRACE(file);
        ResetPrinter();
        ASSERT_TRUE(StartModule());
        CardSaleThroughEntryPoints("Dinheiro");
        ASSERT_TRUE(orb::platform::WriteFile(file, "x"));
        StopImpFiscal();
        ForgetSoFar();
        EXPECT_TRUE(StartModule());
        EXPECT_EQ(CallCount("Bematech_FI_CancelaCupom"), 0);
        EXPECT_EQ(State()["day"]["cancelledCoupons"], 0);
        ASSERT_FALSE(Dialogs().empty());
        EXPECT_TRUE(IsDialog(Dialogs()[0],
                             CP("Venda interrompida não cancelada: não há cupom aberto na impressora (último COO "
                                "000001). Confira o cupom antes de registrar a venda novamente."),
                             3, "001"));
        EXPECT_TRUE(orb::platform::FileExists(file));  // the host removes its files itself
        orb::platform::DeleteFile(file);
    }
}

TEST_F(PortOpening, CrashedTillComesBackWithTheCouponCancelledAndTheCopyRewritten) {
    SaleLeftOpen();
    ASSERT_TRUE(orb::platform::WriteFile(SaleRecoveryPath(), "x"));
    StopImpFiscal();  // the host went down; the printer kept its coupon
    EXPECT_TRUE(StartModule(Params()));
    EXPECT_FALSE(CouponOpen());
    EXPECT_EQ(RecoveryCalls(), (Texts{"Bematech_FI_CancelaCupom", "Bematech_FI_GrandeTotal"}));
    EXPECT_EQ(GrandTotalCopy(), "123,45");
}

TEST_F(PortOpening, TheLastTransferDecidesHowTheInterruptedCouponGoes) {
    struct Case {
        const char* situation;
        int extended;
        Texts calls;
        bool couponStaysOpen, reversalRecorded;
    };
    const Case cases[] = {
        // Still open: the coupon stays, the total is still checked.
        {"O", 64, {"Bematech_FI_GrandeTotal"}, true, false},
        // A linked receipt pending: reversed and recorded before the coupon goes.
        {"F",
         64,
         {"Bematech_FI_NumeroCupom", "Bematech_FI_EstornoNaoFiscalVinculadoMFD", "Bematech_FI_NumeroCupom",
          "Bematech_FI_CancelaCupom", "Bematech_FI_GrandeTotal"},
         false,
         true},
        {"F", 0, {"Bematech_FI_NumeroCupom", "Bematech_FI_CancelaCupom", "Bematech_FI_GrandeTotal"}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.situation) + " " + std::to_string(c.extended));
        SaleLeftOpen();
        WriteLastTef(c.situation);
        ForceExtended(c.extended);
        EXPECT_TRUE(AbrePorta(Params()));
        EXPECT_EQ(RecoveryCalls(), c.calls);
        EXPECT_EQ(CouponOpen(), c.couponStaysOpen);
        EXPECT_EQ(GrandTotalCopy(), "123,45");
        EXPECT_EQ(LedgerTypes(), c.reversalRecorded ? Texts{"NC"} : Texts{});
        if (c.reversalRecorded) {
            EXPECT_EQ(Recorded().ledger[0].f1, "BE0001");
        }
        StopImpFiscal();
    }

    // A coupon number that is no number stops the recovery.
    SaleLeftOpen();
    WriteLastTef("F");
    ForceExtended(64);
    SimAnswer("Bematech_FI_NumeroCupom", {"      "});
    EXPECT_THROW(AbrePorta(Params()), orb::fw::EConvertError);
    EXPECT_TRUE(CouponOpen());
}

}  // namespace
