#pragma once
// One restaurant sale as the host drives it through the module's operations: the coupon
// opened, the dishes registered under three tax rates, the closing with a cash and a card
// payment, and the footer with the tax burden, the table, the operator and an order password.
#include <string>
#include <vector>

#include "framework/Variant.h"

namespace orb::bench {

// What the host hands the module, built once.
struct SaleInputs {
    fw::Variant start;                 // StartImpFiscal's named parameters
    fw::Variant opening;               // AbreCupom's named parameters
    std::vector<fw::Variant> items;    // VendaItem's named parameters, one per dish
    std::vector<fw::Variant> closing;  // FechaCupom's positional values
    long totalCents = 0;               // what the dishes add up to
    long cashCents = 0;                // the part paid in cash; the card pays the rest
};

SaleInputs MakeSaleInputs(int items = 20);

// The payment methods the sale uses, as the printer must have them programmed.
std::vector<std::string> PaymentMethodNames();

// The module answers into the parameters it gets, so each sale works on fresh copies; making
// them is the host's cost and is kept out of the measured time.
struct SaleCall {
    fw::Variant opening;
    std::vector<fw::Variant> items;
    fw::Variant result;
};
void PrepareSale(const SaleInputs& in, SaleCall& call);

// The sale: "" when every step succeeded, else which step the module refused and why.
std::string RunSale(const SaleInputs& in, SaleCall& call);

// Starts the module against the fiscal library ORB_LIBRARY_PATH leads to: "" or why it failed.
std::string StartModule(const SaleInputs& in);
void StopModule();

}  // namespace orb::bench
