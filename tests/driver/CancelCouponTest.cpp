// Cancelling a coupon against the virtual printer: the last coupon with and without a linked
// card receipt still pending, the coupon still open, the printer that gives no number or refuses,
// and what the host passes badly.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "coupon/Cancellation.h"
#include "connection/GrandTotalGuard.h"
#include "external/vendor/EntryPoints.h"
#include "framework/ClientDataSet.h"
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
        std::string none, code = "789", description = "REFRIGERANTE", tax = "1800", price = "000001000",
                          quantity = "0001000", zero = "0000", unit = "UN", dept = "01";
        ASSERT_EQ(Bematech_FI_AbreCupomMFD(none.data(), none.data(), none.data()), 1);
        ASSERT_EQ(
            Bematech_FI_VendeItemDepartamento(code.data(), description.data(), tax.data(), price.data(),
                                              quantity.data(), zero.data(), zero.data(), dept.data(), unit.data()),
            1);
        std::string d = "d", kind = "$", value = "0", card = "Cartao", amount = "10,00";
        ASSERT_EQ(Bematech_FI_IniciaFechamentoCupom(d.data(), kind.data(), value.data()), 1);
        ASSERT_EQ(Bematech_FI_EfetuaFormaPagamento(card.data(), amount.data()), 1);
        ASSERT_EQ(Bematech_FI_TerminaFechamentoCupom(none.data()), 1);
        if (withLinkedReceipt) {
            std::string text = "VIA DO CLIENTE\n";
            ASSERT_EQ(Bematech_FI_AbreComprovanteNaoFiscalVinculado(card.data(), none.data(), none.data()), 1);
            ASSERT_EQ(Bematech_FI_UsaComprovanteNaoFiscalVinculado(text.data()), 1);
            ASSERT_EQ(Bematech_FI_FechaComprovanteNaoFiscalVinculado(), 1);
        }
        ClearJournal();
        Sim({{"sim", "roll"}, {"clear", true}});
        orb::hostlib::ClearRecorded();
        NewLogTexts();
    }

    std::string GrandTotalCopy() {
        orb::fw::ClientDataSet table;
        table.LoadFromFile(TamboraPath());
        return orb::hostlib::Uncripto(table.FieldByName("CAMPO02").AsString(), kSeletorCripto);
    }

    // The host's positional parameters; recordFlag empty leaves element 7 out.
    static std::vector<Variant> Params(bool show = true, const char* recordFlag = "N") {
        std::vector<Variant> p{Variant("001"),  Variant(show),  Variant(false),   Variant(),
                               Variant("0001"), Variant("001"), Variant("BE0001")};
        if (recordFlag[0] != '\0') p.emplace_back(recordFlag);
        return p;
    }
    bool Cancel(const std::vector<Variant>& params, Variant& result) { return Cancela_Cupom_Imp(params, result); }

    bool Called(const std::string& entry) {
        const auto calls = JournalEntries();
        return std::find(calls.begin(), calls.end(), entry) != calls.end();
    }
    std::string PrinterGrandTotal() {
        std::string total;
        BuscaTotGer("001", total);
        return total;
    }
    std::string Roll() { return Sim({{"sim", "roll"}})["roll"]; }
    int Extended() {
        int value = 0;
        Bematech_FI_StatusEstendidoMFD(&value);
        return value;
    }
};

TEST_F(CancelCoupon, RecordFlagDecidesTheLedgerEntryAndAMissingOneMeansRecord) {
    CardSale(true);
    Variant result = Variant::MakeArray(1);
    EXPECT_TRUE(Cancel(Params(true, "S"), result));
    EXPECT_TRUE(Called("Bematech_FI_EstornoNaoFiscalVinculadoMFD"));
    EXPECT_TRUE(Recorded().ledger.empty());

    CardSale(true);
    EXPECT_TRUE(Cancel(Params(true, ""), result));
    ASSERT_EQ(Recorded().ledger.size(), 1u);
    EXPECT_EQ(Recorded().ledger[0].f6, "NC");

    // A Null the host cannot turn into text is read as "N" as well.
    CardSale(true);
    auto params = Params(true, "");
    params.push_back(Variant::Null());
    EXPECT_TRUE(Cancel(params, result));
    EXPECT_EQ(Recorded().ledger.size(), 1u);
}

TEST_F(CancelCoupon, WithoutPendingReceiptTheLastCouponGoesUnderItsOwnNumber) {
    CardSale(false);
    Variant result = Variant::MakeArray(2);
    EXPECT_TRUE(Cancel(Params(), result));
    EXPECT_EQ(result[0].ToString(), "000001");
    EXPECT_TRUE(result[1].IsUnassigned());
    EXPECT_FALSE(Called("Bematech_FI_EstornoNaoFiscalVinculadoMFD"));
    EXPECT_TRUE(Called("Bematech_FI_CancelaCupom"));
    EXPECT_TRUE(Recorded().ledger.empty());
    EXPECT_NE(Roll().find("CUPOM FISCAL CANCELADO"), std::string::npos);
    EXPECT_EQ(GrandTotalCopy(), PrinterGrandTotal());
}

TEST_F(CancelCoupon, CouponStillOpenIsCancelled) {
    std::string none;
    ASSERT_EQ(Bematech_FI_AbreCupomMFD(none.data(), none.data(), none.data()), 1);
    Variant result = Variant::MakeArray(1);
    EXPECT_TRUE(Cancel(Params(), result));
    EXPECT_EQ(result[0].ToString(), "000001");
    int ack = 0, st1 = 0, st2 = 0;
    Bematech_FI_RetornoImpressora(&ack, &st1, &st2);
    EXPECT_EQ(st1 & 2, 0);  // no coupon open any more
}

TEST_F(CancelCoupon, PrinterWithoutCouponNumberCancelsNothingButStillChecksTheTotal) {
    CardSale(false);
    Sim({{"sim", "answer"}, {"entry", "Bematech_FI_NumeroCupom"}, {"values", {"      "}}});
    Variant result = Variant::MakeArray(1);
    EXPECT_FALSE(Cancel(Params(), result));
    EXPECT_EQ(result[0].ToString(), "");
    EXPECT_FALSE(Called("Bematech_FI_CancelaCupom"));
    EXPECT_TRUE(Called("Bematech_FI_GrandeTotal"));
    const auto log = NewLogTexts();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Bematech_FI_CancelaCupom"), 0);
}

TEST_F(CancelCoupon, RefusedCancellationIsShownOnlyWhenAskedAndStillReportsTheNumber) {
    CardSale(false);
    std::string text = "texto";
    ASSERT_EQ(Bematech_FI_RelatorioGerencial(text.data()), 1);  // a document after the coupon
    ASSERT_EQ(Bematech_FI_FechaRelatorioGerencial(), 1);
    orb::hostlib::ClearRecorded();

    Variant result = Variant::MakeArray(1);
    EXPECT_FALSE(Cancel(Params(false), result));
    EXPECT_EQ(result[0].ToString(), "000002");
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_TRUE(Called("Bematech_FI_GrandeTotal"));

    EXPECT_FALSE(Cancel(Params(true), result));
    ASSERT_FALSE(Dialogs().empty());
    EXPECT_NE(Dialogs()[0].text.find("Cancelamento"), std::string::npos);
}

TEST_F(CancelCoupon, RefusedReversalIsNotRecordedAsACancelledReceipt) {
    CardSale(true);
    Sim({{"sim", "fail"}, {"entry", "Bematech_FI_EstornoNaoFiscalVinculadoMFD"}, {"return", -27}, {"st2", 1}});
    Variant result = Variant::MakeArray(1);
    EXPECT_FALSE(Cancel(Params(), result));  // the receipt still blocks the coupon
    EXPECT_TRUE(Recorded().ledger.empty());
    EXPECT_EQ(result[0].ToString(), "000001");
    EXPECT_NE(Extended() & 64, 0);
}

TEST_F(CancelCoupon, CouponNumberThatIsNoNumberEndsTheCallQuietly) {
    CardSale(true);
    Sim({{"sim", "answer"}, {"entry", "Bematech_FI_NumeroCupom"}, {"values", {"00A002"}}});
    Variant result = Variant::MakeArray(1);
    EXPECT_FALSE(Cancel(Params(), result));
    EXPECT_FALSE(Called("Bematech_FI_EstornoNaoFiscalVinculadoMFD"));
    EXPECT_FALSE(Called("Bematech_FI_CancelaCupom"));
    EXPECT_TRUE(Recorded().ledger.empty());
    EXPECT_TRUE(result[0].IsUnassigned());
}

TEST_F(CancelCoupon, WhatTheHostPassesBadly) {
    CardSale(false);
    // Too few elements: nothing reaches the printer.
    Variant result = Variant::MakeArray(1);
    EXPECT_FALSE(Cancel({Variant("001"), Variant(true), Variant(false)}, result));
    EXPECT_TRUE(JournalEntries().empty());

    // No result array: the cancellation is done all the same and its number handed back.
    Variant notAnArray;
    EXPECT_TRUE(Cancel(Params(), notAnArray));
    ASSERT_TRUE(notAnArray.IsArray());
    EXPECT_EQ(notAnArray[0].ToString(), "000001");
}

}  // namespace
