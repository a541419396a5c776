#pragma once
// The printer's fields of a sold item: fixed-width digit strings without a decimal separator,
// built from the host's numbers under the system's number settings.
#include <string>

namespace Orb00100 {

struct ItemInput {
    std::string code;         // CDARVPROD
    std::string name;         // NMPROD
    std::string taxCode;      // CDALIQ: "II", "FF", "NN" or anything else (then the rate is sent)
    std::string ratePercent;  // VRPERCALIQ, in the system's number format; blank counts as 0
    double quantity = 0;
    double price = 0;
    double discount = 0;
    double surcharge = 0;
    std::string unit;  // UNIDADE
};

struct ItemFields {
    std::string code, description, tax, quantity, unitPrice, surcharge, discount;
    std::string department = "01";
    std::string unit;
};

// "II", "FF" and "NN" as given; otherwise the rate truncated to cents in four digits (18 -> "1800",
// 7,5 -> "0750"). A rate that is not a number raises fw::EConvertError.
std::string TaxField(const std::string& taxCode, const std::string& ratePercent);
// Seven digits, three of them decimals, rounded (1,2346 -> "0001235").
std::string QuantityField(double quantity);
// Truncated to cents, three decimals: nine digits, or eight on the model-34 printers.
std::string UnitPriceField(double price, bool eightDigits);
// A surcharge or discount above zero, truncated to cents, in eight digits; "0000" otherwise.
std::string AmountField(double amount);
// The item's value as the printer will total it: price and amounts cut to cents.
double ItemTotal(double price, double quantity, double discount, double surcharge);
// Every field of an item. An item that would total nothing has its discount lowered by one cent,
// so it is registered for 0,01.
ItemFields BuildItemFields(const ItemInput& in, bool model34);
// The host's name of the first value the printer's fields cannot hold (a negative or non-numeric
// value, or more digits than the field has), nullptr when all fit. Sent anyway, such a value
// would reach the printer garbled or cut and be charged as something else.
const char* ValueOutOfRange(const ItemInput& in, const ItemFields& fields, bool model34);

}  // namespace Orb00100
