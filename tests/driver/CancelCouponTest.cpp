// Cancelling a coupon against the virtual printer: the last coupon with and without a linked
// card receipt still pending, the coupon still open, the printer that gives no number or refuses,
// and what the host passes badly.

#include "TestSupport.h"
#include "connection/GrandTotalGuard.h"
#include "coupon/Cancellation.h"
#include "external/vendor/EntryPoints.h"
#include "queries/Queries.h"

namespace {

using namespace Orb00100;
using orb::fw::FieldType;
using orb::fw::Variant;

class CancelCoupon : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ResetPrinter({{"payments", {"Dinheiro", {{"name", "Cartao"}, {"linkable", true}}}}});
        ASSERT_TRUE(StartModule(StartParams().Set("NRSERIEIMP", "BE0001")));
        WriteGrandTotalCopy("1,00");
    }
    // A coupon of 10,00 paid by card, closed; with a linked receipt printed for it when asked.
    void CardSale(bool withLinkedReceipt) {
        CardSaleThroughEntryPoints("Cartao");
        if (withLinkedReceipt) {
            std::string none, card = "Cartao", text = "VIA DO CLIENTE\n";
            ASSERT_EQ(Bematech_FI_AbreComprovanteNaoFiscalVinculado(card.data(), none.data(), none.data()), 1);
            ASSERT_EQ(Bematech_FI_UsaComprovanteNaoFiscalVinculado(text.data()), 1);
            ASSERT_EQ(Bematech_FI_FechaComprovanteNaoFiscalVinculado(), 1);
        }
        ForgetSoFar();
        result = Variant::MakeArray(1);
    }
    // The host's positional parameters; recordFlag empty leaves element 7 out.
    static std::vector<Variant> Params(bool show = true, const char* recordFlag = "N") {
        std::vector<Variant> p{"001", show, false, Variant(), "0001", "001", "BE0001"};
        if (recordFlag[0] != '\0') p.emplace_back(recordFlag);
        return p;
    }
    bool Cancel(const std::vector<Variant>& params) { return Cancela_Cupom_Imp(params, result); }
    std::string PrinterGrandTotal() {
        std::string total;
        BuscaTotGer("001", total);
        return total;
    }
    Variant result = Variant::MakeArray(1);
};

TEST_F(CancelCoupon, RecordFlagDecidesTheLedgerEntryAndAMissingOrNullOneMeansRecord) {
    std::vector<Variant> missing = Params(true, ""), null = missing;
    null.push_back(Variant::Null());
    const std::pair<std::vector<Variant>, std::size_t> cases[] = {{Params(true, "S"), 0}, {missing, 1}, {null, 1}};
    for (const auto& [params, recorded] : cases) {
        CardSale(true);
        EXPECT_TRUE(Cancel(params));
        EXPECT_EQ(CallCount("Bematech_FI_EstornoNaoFiscalVinculadoMFD"), 1);
        EXPECT_EQ(LedgerTypes(), orb::test::Texts(recorded, "NC"));
    }
}

TEST_F(CancelCoupon, WithoutPendingReceiptTheLastCouponGoesUnderItsOwnNumber) {
    CardSale(false);
    result = Variant::MakeArray(2);
    EXPECT_TRUE(Cancel(Params()));
    EXPECT_EQ(result[0].ToString(), "000001");
    EXPECT_TRUE(result[1].IsUnassigned());
    EXPECT_EQ(CallCount("Bematech_FI_EstornoNaoFiscalVinculadoMFD"), 0);
    EXPECT_EQ(CallCount("Bematech_FI_CancelaCupom"), 1);
    EXPECT_TRUE(Recorded().ledger.empty());
    EXPECT_NE(Roll().find("CUPOM FISCAL CANCELADO"), std::string::npos);
    EXPECT_EQ(GrandTotalCopy(), PrinterGrandTotal());

    // A coupon still open is cancelled the same way.
    std::string none;
    ASSERT_EQ(Bematech_FI_AbreCupomMFD(none.data(), none.data(), none.data()), 1);
    EXPECT_TRUE(Cancel(Params()));
    EXPECT_EQ(result[0].ToString(), "000003");
    EXPECT_FALSE(CouponOpen());
}

TEST_F(CancelCoupon, APrinterWithoutACouponNumberCancelsNothingButStillChecksTheTotal) {
    CardSale(false);
    SimAnswer("Bematech_FI_NumeroCupom", {"      "});
    EXPECT_FALSE(Cancel(Params()));
    EXPECT_EQ(result[0].ToString(), "");
    EXPECT_EQ(CallCount("Bematech_FI_CancelaCupom"), 0);
    EXPECT_EQ(CallCount("Bematech_FI_GrandeTotal"), 1);
    EXPECT_FALSE(WasLogged("Bematech_FI_CancelaCupom"));

    // A number that is no number ends the call quietly, before anything is reversed.
    CardSale(true);
    SimAnswer("Bematech_FI_NumeroCupom", {"00A002"});
    EXPECT_FALSE(Cancel(Params()));
    EXPECT_EQ(CallCount("Bematech_FI_EstornoNaoFiscalVinculadoMFD"), 0);
    EXPECT_EQ(CallCount("Bematech_FI_CancelaCupom"), 0);
    EXPECT_TRUE(Recorded().ledger.empty());
    EXPECT_TRUE(result[0].IsUnassigned());
}

TEST_F(CancelCoupon, RefusedCancellationIsShownOnlyWhenAskedAndStillReportsTheNumber) {
    CardSale(false);
    std::string text = "texto";
    ASSERT_EQ(Bematech_FI_RelatorioGerencial(text.data()), 1);  // a document after the coupon
    ASSERT_EQ(Bematech_FI_FechaRelatorioGerencial(), 1);
    orb::hostlib::ClearRecorded();
    EXPECT_FALSE(Cancel(Params(false)));
    EXPECT_EQ(result[0].ToString(), "000002");
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_EQ(CallCount("Bematech_FI_GrandeTotal"), 1);
    EXPECT_FALSE(Cancel(Params(true)));
    ASSERT_FALSE(Dialogs().empty());
    EXPECT_NE(Dialogs()[0].text.find("Cancelamento"), std::string::npos);
}

TEST_F(CancelCoupon, RefusedReversalIsNotRecordedAsACancelledReceipt) {
    CardSale(true);
    Sim({{"sim", "fail"}, {"entry", "Bematech_FI_EstornoNaoFiscalVinculadoMFD"}, {"return", -27}, {"st2", 1}});
    EXPECT_FALSE(Cancel(Params()));  // the receipt still blocks the coupon
    EXPECT_TRUE(Recorded().ledger.empty());
    EXPECT_EQ(result[0].ToString(), "000001");
    EXPECT_NE(Extended() & 64, 0);
}

TEST_F(CancelCoupon, WhatTheHostPassesBadly) {
    CardSale(false);
    // Too few elements: nothing reaches the printer.
    EXPECT_FALSE(Cancel({"001", true, false}));
    EXPECT_TRUE(JournalEntries().empty());
    // No result array: the cancellation is done all the same and its number handed back.
    result = Variant();
    EXPECT_TRUE(Cancel(Params()));
    ASSERT_TRUE(result.IsArray());
    EXPECT_EQ(result[0].ToString(), "000001");
}

}  // namespace
