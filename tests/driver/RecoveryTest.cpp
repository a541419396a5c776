// A till that stopped in the middle of a sale, against the virtual printer: the coupon it left
// open, the last card transfer and the grand-total copy when the module starts again.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "connection/Binding.h"
#include "driver/Globals.h"
#include "connection/GrandTotalGuard.h"
#include "connection/PortOpening.h"
#include "connection/Recovery.h"
#include "external/vendor/EntryPoints.h"
#include "framework/ClientDataSet.h"
#include "framework/Exceptions.h"
#include "platform/Platform.h"

namespace {

using namespace Orb00100;
using orb::fw::FieldType;

class Recovery : public orb::test::DriverTest {
protected:
    orb::test::NamedParams Params() { return StartParams().Set("NRSERIEIMP", "BE0001"); }

    // A started module with a sale left half done on the printer and a stale grand-total copy.
    void SaleLeftOpen() {
        ASSERT_TRUE(StartModule(Params()));
        char empty[1] = "";
        ASSERT_EQ(Bematech_FI_AbreCupomMFD(empty, empty, empty), 1);
        ASSERT_TRUE(CouponOpen());

        WriteGrandTotalCopy("5,00");
        SimAnswer("Bematech_FI_GrandeTotal", {"000000000000012345"});
        ClearJournal();
        orb::hostlib::ClearRecorded();
    }
    void WriteLastTef(const std::string& situation) {
        orb::fw::ClientDataSet table;
        const std::pair<const char*, int> fields[] = {{"NrCupomTef", 10},  {"dataTef", 8},  {"hrTef", 6},
                                                      {"IdSituVenda", 1},  {"NsuHost", 15}, {"CDTIPORECE", 3},
                                                      {"NRCONTROLTEF", 50}};
        for (const auto& [name, size] : fields) table.AddFieldDef(name, FieldType::String, size);
        table.CreateDataSet();
        table.Append();
        table.FieldByName("NrCupomTef").SetAsString("000001");
        table.FieldByName("IdSituVenda").SetAsString(situation);
        table.Post();
        table.SaveToFile(LastTefRecoveryPath());
    }
    bool CouponOpen() {
        int ack = 0, st1 = 0, st2 = 0;
        Bematech_FI_RetornoImpressora(&ack, &st1, &st2);
        return (st1 & 2) != 0;
    }
    std::string GrandTotalCopy() {
        orb::fw::ClientDataSet table;
        table.LoadFromFile(TamboraPath());
        return orb::hostlib::Uncripto(table.FieldByName("CAMPO02").AsString(), kSeletorCripto);
    }
    std::vector<std::string> RecoveryCalls() {
        std::vector<std::string> calls;
        for (const std::string& e : JournalEntries())
            if (e == "Bematech_FI_NumeroCupom" || e == "Bematech_FI_EstornoNaoFiscalVinculadoMFD" ||
                e == "Bematech_FI_CancelaCupom" || e == "Bematech_FI_GrandeTotal")
                calls.push_back(e);
        return calls;
    }
};

TEST_F(Recovery, CrashedTillComesBackWithTheCouponCancelledAndTheCopyRewritten) {
    SaleLeftOpen();
    ASSERT_TRUE(orb::platform::WriteFile(SaleRecoveryPath(), "x"));
    StopImpFiscal();  // the host went down; the printer kept its coupon

    EXPECT_TRUE(StartModule(Params()));
    EXPECT_FALSE(CouponOpen());
    EXPECT_EQ(RecoveryCalls(), (std::vector<std::string>{"Bematech_FI_CancelaCupom", "Bematech_FI_GrandeTotal"}));
    EXPECT_EQ(GrandTotalCopy(), "123,45");
    EXPECT_TRUE(orb::platform::FileExists(SaleRecoveryPath()));
}

TEST_F(Recovery, TheLastTransferDecidesHowTheCouponGoes) {
    struct Case {
        const char* situation;
        int extended;
        std::vector<std::string> calls;
        bool couponStaysOpen;
        bool reversalRecorded;
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
        ResetPrinter();
        SaleLeftOpen();
        WriteLastTef(c.situation);
        Sim({{"sim", "extended"}, {"value", c.extended}});
        NewLogTexts();
        EXPECT_TRUE(AbrePorta(Params()));
        const auto logged = NewLogTexts();
        EXPECT_EQ(RecoveryCalls(), c.calls);
        EXPECT_EQ(CouponOpen(), c.couponStaysOpen);
        EXPECT_EQ(GrandTotalCopy(), "123,45");
        EXPECT_EQ(std::count(logged.begin(), logged.end(), "Bematech_FI_EstornoNaoFiscalVinculadoMFD"),
                  c.reversalRecorded ? 1 : 0);
        ASSERT_EQ(Recorded().ledger.size(), c.reversalRecorded ? 1u : 0u);
        if (c.reversalRecorded) {
            EXPECT_EQ(Recorded().ledger[0].f1, "BE0001");
            EXPECT_EQ(Recorded().ledger[0].f6, "NC");
        }
        StopImpFiscal();
    }
}

TEST_F(Recovery, CouponNumberThatIsNoNumberStopsTheRecovery) {
    SaleLeftOpen();
    WriteLastTef("F");
    Sim({{"sim", "extended"}, {"value", 64}});
    SimAnswer("Bematech_FI_NumeroCupom", {"      "});
    EXPECT_THROW(AbrePorta(Params()), orb::fw::EConvertError);
    EXPECT_TRUE(CouponOpen());
}

}  // namespace
