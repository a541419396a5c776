#include "coupon/ItemFields.h"

#include "external/hostlib/HostLib.h"
#include "framework/FormatSettings.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"

namespace Orb00100 {

namespace {

using orb::hostlib::Trunc2;

// The printer takes the digits alone; the decimals are implied by the field's width.
std::string Digits(std::string_view picture, double value) {
    std::string text = orb::fw::FormatFloat(picture, value);
    std::erase(text, orb::fw::Settings().DecimalSeparator);
    return text;
}

}  // namespace

std::string TaxField(const std::string& taxCode, const std::string& ratePercent) {
    if (taxCode == "II" || taxCode == "FF" || taxCode == "NN") return taxCode;
    const std::string rate = orb::fw::Trim(ratePercent).empty() ? std::string("0") : ratePercent;
    return Digits("00.00", Trunc2(orb::fw::StrToFloat(rate)));
}

std::string QuantityField(double quantity) { return Digits("0000.000", quantity); }

std::string UnitPriceField(double price, bool eightDigits) {
    return Digits(eightDigits ? "00000.000" : "000000.000", Trunc2(price));
}

std::string AmountField(double amount) {
    return amount > 0 ? Digits("000000.00", Trunc2(amount)) : std::string("0000");
}

double ItemTotal(double price, double quantity, double discount, double surcharge) {
    // In decimal: in binary 5,00 - 4,99 lies below 0,01 and would truncate to nothing.
    using orb::fw::DecimalAdd, orb::fw::DecimalMultiply, orb::fw::DecimalSubtract;
    return Trunc2(
        DecimalAdd(DecimalSubtract(DecimalMultiply(Trunc2(price), quantity), Trunc2(discount)), Trunc2(surcharge)));
}

ItemFields BuildItemFields(const ItemInput& in, bool model34) {
    ItemFields f;
    f.code = in.code;
    f.description = orb::fw::Copy(in.name, 1, 50);
    f.tax = TaxField(in.taxCode, in.ratePercent);
    f.unitPrice = UnitPriceField(in.price, model34);
    f.surcharge = AmountField(in.surcharge);
    double discount = in.discount;
    if (ItemTotal(in.price, in.quantity, in.discount, in.surcharge) == 0)
        discount = orb::fw::DecimalSubtract(discount, 0.01);
    f.discount = AmountField(discount);
    f.quantity = QuantityField(in.quantity);
    f.unit = orb::fw::Copy(in.unit, 1, 2);
    return f;
}

const char* ValueOutOfRange(const ItemInput& in, const ItemFields& f, bool model34) {
    auto digits = [](const std::string& field, std::size_t width) {
        return field.size() <= width && field.find_first_not_of("0123456789") == std::string::npos;
    };
    // `!(x >= 0)` holds for a NaN as well.
    if (!(in.quantity >= 0) || !digits(f.quantity, 7)) return "QTDE";
    if (!(in.price >= 0) || !digits(f.unitPrice, model34 ? 8 : 9)) return "VALOR";
    if (!(in.discount >= 0) || !digits(f.discount, 8)) return "DESCONT";
    if (!(in.surcharge >= 0) || !digits(f.surcharge, 8)) return "ACRESCIMO";
    return nullptr;
}

}  // namespace Orb00100
