// Registering a coupon's items against the virtual printer: the item fields in their pictures and
// the values refused before anything is sent (the consumer, the department form, the retry
// questions, the collected messages, the cancellations and the surcharge total are in the
// coupon-fields and coupon-items scenarios).

#include <cmath>

#include "coupon/CouponOpening.h"
#include "coupon/ItemFields.h"
#include "coupon/Items.h"
#include "driver/TestSupport.h"
#include "framework/Cp1252.h"
#include "framework/Exceptions.h"
#include "framework/FormatSettings.h"

namespace {

using namespace Orb00100;
using nlohmann::json;
using orb::fw::Variant;
using orb::test::NamedParams;
using orb::test::Texts;

TEST(ItemFieldPictures, QuantityRoundsPricesAndAmountsAreCutTaxIsTheCodeOrTheRate) {
    const std::pair<std::string, std::string> cases[] = {
        {QuantityField(1.5), "0001500"},
        {QuantityField(0.3333), "0000333"},
        {QuantityField(1.2346), "0001235"},
        {UnitPriceField(10.999, false), "000010990"},
        {UnitPriceField(10.999, true), "00010990"},  // the model-34 printers take eight digits
        {AmountField(1.509), "00000150"},
        {AmountField(0), "0000"},
        {AmountField(-2.5), "0000"},
        {TaxField("II", "not a number"), "II"},
        {TaxField("FF", "18"), "FF"},
        {TaxField("NN", ""), "NN"},
        {TaxField("01", "18"), "1800"},
        {TaxField("T1", "7,5"), "0750"},
        {TaxField("T1", "18,999"), "1899"},
        {TaxField("T1", ""), "0000"},
    };
    for (const auto& [field, expected] : cases) EXPECT_EQ(field, expected);
    EXPECT_THROW(TaxField("T1", "18%"), orb::fw::EConvertError);
    // Under a decimal point the separator is still what goes.
    orb::fw::FormatSettings point;
    point.DecimalSeparator = '.';
    point.ThousandSeparator = ',';
    orb::fw::ScopedSettings scoped(point);
    EXPECT_EQ(TaxField("T1", "7.5"), "0750");
    EXPECT_EQ(QuantityField(2.25), "0002250");
}

TEST(ItemFieldPictures, AnItemWorthNothingIsSoldForOneCent) {
    ItemInput in;
    in.name = std::string(60, 'x');
    in.taxCode = "II";
    in.quantity = 2, in.price = 10, in.discount = 20;
    in.unit = "UNI";
    const ItemFields f = BuildItemFields(in, false);
    EXPECT_EQ((Texts{f.discount, f.description, f.unit}), (Texts{"00001999", std::string(50, 'x'), "UN"}));
    in.surcharge = 1;  // the surcharge counts in the total: with it the item is worth something
    EXPECT_EQ(BuildItemFields(in, false).discount, "00002000");
    in.surcharge = 0;  // cut to cents before the comparison: 20,009 off 20,00 still totals nothing
    in.discount = 20.009;
    EXPECT_EQ(BuildItemFields(in, false).discount, "00001999");
}

class Coupon : public orb::test::DriverTest {
protected:
    void StartSale() {
        Start();
        Variant opening = NamedParams{{"ESQUEMACOR", "002"}, {"INCLUICPF", ""}, {"IDUTILTEF", "N"}};
        ASSERT_TRUE(AbreCupom(opening));
        ForgetSoFar();
    }
    static NamedParams Item() {
        return {{"ESQUEMACOR", "002"}, {"INTEFERRO", 3},   {"CDARVPROD", "7891"}, {"NMPROD", "Feijoada"},
                {"CDALIQ", "01"},      {"QTDE", 1.5},      {"VALOR", 10.999},     {"DESCONT", 0.0},
                {"UNIDADE", "KG"},     {"TIPOTICKET", ""}, {"VRPERCALIQ", "18"},  {"IDUTILTEF", "N"},
                {"UTILTEF", false},    {"ACRESCIMO", 0.0}};
    }
    json Items() { return Docs()["coupon"]["items"]; }
    static constexpr const char* kRounding = "Bematech_FI_VendeItemArredondamentoMFD";
};

TEST_F(Coupon, ParameterThatDoesNotConvertRegistersNothing) {
    StartSale();
    for (const Variant& original : {Variant(Item().Set("QTDE", "um e meio")), Variant(Item().Set("VRPERCALIQ", "x"))}) {
        Variant params = original;
        EXPECT_FALSE(VendaItem(params));
        EXPECT_EQ(params, original);
    }
    EXPECT_TRUE(Journal().empty());
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(Coupon, ValuesThePrinterCannotHoldAreRefusedBeforeAnythingIsSent) {
    StartSale();
    struct Case {
        const char* key;
        Variant value;
    };
    const Case cases[] = {{"QTDE", 10000.0},   {"QTDE", -1.0},      {"VALOR", 1e15},
                          {"VALOR", 1e308},    {"VALOR", 100000.0}, {"DESCONT", -0.01},
                          {"ACRESCIMO", -2.5}, {"DESCONT", 1e6},    {"VALOR", std::nan("")}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key + (" " + c.value.ToString()));
        orb::hostlib::ClearRecorded();
        Variant params = Item().Set(c.key, c.value);
        EXPECT_FALSE(VendaItem(params));
        EXPECT_TRUE(LastDialogIs(CP("Valor fora do limite da impressora: ") + c.key, 3, "002"));
    }
    EXPECT_TRUE(Journal().empty());
    EXPECT_TRUE(Items().empty());
    // The largest values the eight-digit fields of this model take still go.
    Variant largest = Item().Set("QTDE", 9999.999).Set("VALOR", 99999.99).Set("DESCONT", 999999.99);
    EXPECT_TRUE(VendaItem(largest));
    EXPECT_EQ(Sent(kRounding).at(0)[4], "9999999");
}

TEST_F(Coupon, AnItemThePrinterTookIsTrueEvenWhenItsLogLineCannotBeWritten) {
    StartSale();
    orb::platform::SetEnv("ORB_HOME", HomePath("gone"));
    for (const char* code : {"A1", "B2"}) {
        Variant params = Item().Set("CDARVPROD", code);
        EXPECT_TRUE(VendaItem(params)) << code;
    }
    orb::platform::SetEnv("ORB_HOME", Home());
    EXPECT_EQ(Items().size(), 2u);  // a host told the truth has nothing to retry
    EXPECT_EQ(DialogTexts().size(), 1u);
}

}  // namespace
