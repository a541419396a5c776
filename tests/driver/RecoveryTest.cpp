// A till that stopped in the middle of a sale, against the virtual printer: the coupon it left
// open, the last card transfer and the grand-total copy when the module starts again.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "driver/Binding.h"
#include "driver/Globals.h"
#include "driver/GrandTotalGuard.h"
#include "driver/PortOpening.h"
#include "driver/Recovery.h"
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
        Sim({{"sim", "answer"}, {"entry", "Bematech_FI_GrandeTotal"}, {"values", {"000000000000012345"}}});
        ClearJournal();
        orb::hostlib::ClearRecorded();
    }
    void WriteLastTef(const std::string& situation) {
        orb::fw::ClientDataSet table;
        table.AddFieldDef("NrCupomTef", FieldType::String, 10);
        table.AddFieldDef("dataTef", FieldType::String, 8);
        table.AddFieldDef("hrTef", FieldType::String, 6);
        table.AddFieldDef("IdSituVenda", FieldType::String, 1);
        table.AddFieldDef("NsuHost", FieldType::String, 15);
        table.AddFieldDef("CDTIPORECE", FieldType::String, 3);
        table.AddFieldDef("NRCONTROLTEF", FieldType::String, 50);
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
    EXPECT_EQ(RecoveryCalls(),
              (std::vector<std::string>{"Bematech_FI_CancelaCupom", "Bematech_FI_GrandeTotal"}));
    EXPECT_EQ(GrandTotalCopy(), "123,45");
    EXPECT_TRUE(orb::platform::FileExists(SaleRecoveryPath()));
}

TEST_F(Recovery, LastTransferStillOpenKeepsTheCouponButChecksTheTotal) {
    SaleLeftOpen();
    WriteLastTef("O");
    EXPECT_TRUE(AbrePorta(Params()));
    EXPECT_TRUE(CouponOpen());
    EXPECT_EQ(RecoveryCalls(), std::vector<std::string>{"Bematech_FI_GrandeTotal"});
    EXPECT_EQ(GrandTotalCopy(), "123,45");
}

TEST_F(Recovery, PendingLinkedReceiptIsReversedAndRecordedBeforeTheCouponGoes) {
    SaleLeftOpen();
    WriteLastTef("F");
    Sim({{"sim", "extended"}, {"value", 64}});
    EXPECT_TRUE(AbrePorta(Params()));
    EXPECT_EQ(RecoveryCalls(),
              (std::vector<std::string>{"Bematech_FI_NumeroCupom", "Bematech_FI_EstornoNaoFiscalVinculadoMFD",
                                        "Bematech_FI_NumeroCupom", "Bematech_FI_CancelaCupom",
                                        "Bematech_FI_GrandeTotal"}));
    const auto texts = LogTexts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Bematech_FI_EstornoNaoFiscalVinculadoMFD"), texts.end());
    ASSERT_EQ(Recorded().ledger.size(), 1u);
    EXPECT_EQ(Recorded().ledger[0].f1, "BE0001");
    EXPECT_EQ(Recorded().ledger[0].f6, "NC");
    EXPECT_FALSE(CouponOpen());
}

TEST_F(Recovery, WithoutAPendingReceiptTheCouponIsSimplyCancelled) {
    SaleLeftOpen();
    WriteLastTef("F");
    EXPECT_TRUE(AbrePorta(Params()));
    EXPECT_EQ(RecoveryCalls(),
              (std::vector<std::string>{"Bematech_FI_NumeroCupom", "Bematech_FI_CancelaCupom",
                                        "Bematech_FI_GrandeTotal"}));
    EXPECT_TRUE(Recorded().ledger.empty());
    EXPECT_FALSE(CouponOpen());
}

TEST_F(Recovery, CouponNumberThatIsNoNumberStopsTheRecovery) {
    SaleLeftOpen();
    WriteLastTef("F");
    Sim({{"sim", "extended"}, {"value", 64}});
    Sim({{"sim", "answer"}, {"entry", "Bematech_FI_NumeroCupom"}, {"values", {"      "}}});
    EXPECT_THROW(AbrePorta(Params()), orb::fw::EConvertError);
    EXPECT_TRUE(CouponOpen());
}

}  // namespace
