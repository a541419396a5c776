// Money in decimal: item totals and the cent rule as the virtual printer receives and charges
// them, sub-cent cash movements, the consumer balance of the footer, and the decimal arithmetic
// underneath. Each item row lies where binary arithmetic lands just below a cent.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "coupon/ClosingInput.h"
#include "coupon/CouponOpening.h"
#include "coupon/Items.h"
#include "driver/TestSupport.h"
#include "framework/NumberFormat.h"
#include "nonfiscal/CashMovements.h"

namespace {

using nlohmann::json;
using orb::fw::Variant;

TEST(DecimalArithmetic, WorksOnTheDecimalFormsAtFifteenDigits) {
    using namespace orb::fw;
    struct Row {
        const char* what;
        double result, expected;
    };
    const Row rows[] = {
        {"5 - 4,99", DecimalSubtract(5.0, 4.99), 0.01},
        {"3 - 2,99", DecimalSubtract(3.0, 2.99), 0.01},
        {"0,30 - 0,10 - 0,20", DecimalSubtract(DecimalSubtract(0.30, 0.10), 0.20), 0.0},
        {"3 x 0,10", DecimalMultiply(3, 0.10), 0.30},
        {"0,1 + 0,2", DecimalAdd(0.1, 0.2), 0.3},
        {"3 x -0,7", DecimalMultiply(3, -0.7), -2.1},
        {"1,2346 x 10,99", DecimalMultiply(1.2346, 10.99), 13.568254},
        {"1E20 + 1", DecimalAdd(1e20, 1), 1e20},
        {"2 - 1E-20", DecimalSubtract(2, 1e-20), 2},
        {"(1/3) x 3", DecimalMultiply(1.0 / 3, 3), 0.999999999999999},
    };
    for (const Row& r : rows) EXPECT_EQ(r.result, r.expected) << r.what;
    EXPECT_TRUE(std::isinf(DecimalMultiply(1e300, 1e300)));
    EXPECT_TRUE(std::isnan(DecimalAdd(std::nan(""), 1)));
}

TEST(DecimalArithmetic, ConsumerBalanceOfTheFooter) {
    // A half cent left over rounds up, as the host's own figures do.
    Orb00100::closing::ClosingInput in;
    in.balanceMode = "0";
    in.footerMode = "2";
    in.balanceBefore = 0.105;
    EXPECT_EQ(Orb00100::closing::ConsumerBalance(in, 0.10), 0.01);
    in.balanceBefore = 1.005;
    in.subsidised = 0.05;
    EXPECT_EQ(Orb00100::closing::ConsumerBalance(in, 1.0), 0.06);
}

class Money : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ASSERT_TRUE(StartModule());
    }
    // The arguments of the last call of entry.
    json LastSent(const std::string& entry) {
        json last;
        for (const json& call : Journal())
            if (call.value("entry", "") == entry) last = call["args"];
        return last;
    }
};

TEST_F(Money, ItemTotalsAreWorkedInDecimal) {
    Variant opening = orb::test::NamedParams{{"ESQUEMACOR", "002"}, {"INCLUICPF", ""}, {"IDUTILTEF", "N"}};
    ASSERT_TRUE(Orb00100::AbreCupom(opening));
    struct Row {
        const char* what;
        double quantity, price, discount, surcharge;
        std::string discountSent;
        int chargedCents;
    };
    const Row rows[] = {
        {"5,00 less 4,99", 1, 5.00, 4.99, 0, "00000499", 1},
        {"3,00 less 2,99", 1, 3.00, 2.99, 0, "00000299", 1},
        {"3 x 0,70 less 2,09", 3, 0.70, 2.09, 0, "00000209", 1},
        {"1,00 plus 0,10 less 1,09", 1, 1.00, 1.09, 0.10, "00000109", 1},
        // Exactly nothing: a cent less discount, so the item is sold for 0,01.
        {"3 x 0,10 less 0,30", 3, 0.10, 0.30, 0, "00000029", 1},
    };
    for (const Row& r : rows) {
        Variant item = orb::test::NamedParams{{"ESQUEMACOR", "002"},   {"CDARVPROD", "1"},        {"NMPROD", "Item"},
                                              {"CDALIQ", "II"},        {"QTDE", r.quantity},      {"VALOR", r.price},
                                              {"DESCONT", r.discount}, {"UNIDADE", "UN"},         {"IDUTILTEF", "N"},
                                              {"UTILTEF", false},      {"ACRESCIMO", r.surcharge}};
        ASSERT_TRUE(Orb00100::VendaItem(item)) << r.what;
        EXPECT_EQ(LastSent("Bematech_FI_VendeItemArredondamentoMFD").at(7), r.discountSent) << r.what;
        EXPECT_EQ(Sim({{"sim", "state"}})["docs"]["coupon"]["items"].back()["total"], r.chargedCents) << r.what;
    }
}

TEST_F(Money, SubCentCashMovementsGoOutAsTheyFormat) {
    const std::string erroComando = CatalogText("ErroComando");
    struct Row {
        const char* entry;
        double amount;
        json sent;
        bool accepted;
    };
    // A fraction of a cent below the half goes out as 0,00 and the printer refuses it; only a
    // withdrawal of exactly nothing is made one cent.
    const Row rows[] = {
        {"Bematech_FI_Suprimento", 0.004, {"0,00", "Dinheiro"}, false},
        {"Bematech_FI_Sangria", 0.004, {"0,00"}, false},
        {"Bematech_FI_Suprimento", 0.005, {"0,01", "Dinheiro"}, true},
        {"Bematech_FI_Sangria", 0.0, {"0,01"}, true},
    };
    for (const Row& r : rows) {
        ForgetSoFar();
        const bool supply = std::string(r.entry) == "Bematech_FI_Suprimento";
        const bool accepted =
            supply ? Orb00100::Suprimento("", "001", r.amount) : Orb00100::Sangria("", "001", r.amount);
        EXPECT_EQ(accepted, r.accepted) << r.entry << " " << r.amount;
        EXPECT_EQ(LastSent(r.entry), r.sent) << r.entry << " " << r.amount;
        EXPECT_EQ(!Dialogs().empty() && Dialogs().back().text == erroComando, !r.accepted)
            << r.entry << " " << r.amount;
    }
    const json day = Sim({{"sim", "state"}})["day"];
    EXPECT_EQ(day["supply"], 1);
    EXPECT_EQ(day["withdrawal"], 1);
}

}  // namespace
