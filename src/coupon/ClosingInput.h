#pragma once
// What the closing works on: its positional values read under guard, and the steps that share
// them (consolidation, payments, footer pieces, change receipt).
#include <span>
#include <string>

#include "coupon/TransferRetry.h"
#include "framework/ClientDataSet.h"
#include "framework/StringList.h"
#include "framework/Variant.h"

namespace Orb00100::closing {

struct ClosingInput {
    std::string receiptTotalizer;                                          // 0
    std::string firstText;                                                 // 1
    std::string scheme;                                                    // 2
    bool changeReceipt = false;                                            // 4
    bool show = false;                                                     // 5
    double discount = 0, change = 0, surcharge = 0;                        // 6, 7, 8
    TransferUse transfer;                                                  // 9, 11
    std::string freeText;                                                  // 10
    orb::fw::Variant movements, paymentTypes;                              // 13, 14
    std::string consumerCode, consumerName, consumerCode2, consumerName2;  // 15-18
    std::string selector19, selector20;                                    // 19, 20
    std::string tableNumber;                                               // 21
    std::string operatorCode, operatorName;                                // 22, 23
    std::string balanceMode;                                               // 27
    std::string conferenceCoo, conferenceCer;                              // 28, 29
    std::string password;                                                  // 31
    orb::fw::Variant creditBalances, familyBalances, loans;                // 32, 33, 34
    std::string selector35, footerMode;                                    // 35, 36
    double balanceBefore = 0, subsidised = 0;                              // 37, 38
    std::string transferReceipt;                                           // 40
    std::string printerNumber;                                             // 41
    std::string stateNumber;                                               // 42
    std::string stateCode;                                                 // 43
    std::string companyTaxNumber;                                          // 45
    std::string limitKind, dailyLimit, monthlyLimit;                       // 46, 47, 48
    orb::fw::Variant consumption;                                          // 49
    double federalTax = 0, stateTax = 0;                                   // 51, 58
    double loyaltyPoints = 0;                                              // 52
    double excessBalance = 0;                                              // 53
    std::string noteNumber;                                                // 56
    std::string dailyConsumption;                                          // 59
    bool printSecondConsumer = false;                                      // 60
};

// Reads the values in order; a value that cannot be read stops the reading there and leaves
// the rest at their defaults (56 and 59 are read each on their own, whatever happens around them).
ClosingInput ReadClosingInput(std::span<const orb::fw::Variant> params);

// The table prefix of the footer: an order pad ("Comanda") for "0000" and numbers longer than
// four characters, a table ("Mesa") otherwise, empty without a number.
std::string TablePrefix(const std::string& tableNumber);

// The movements copied into cdsMovCaixaTef, one row per payment type under a transfer. Returns
// the amount paid.
double Consolidate(const ClosingInput& in);

// What the payments left for the footer.
struct PaymentsOutcome {
    bool ended = false;        // false: stopped on a refusal; the caller answers false
    int accepted = 0;          // payments the printer took
    bool agreement = false;    // a payment of kind "8"
    double accountDebits = 0;  // payments of kinds "9" and "A"
};
PaymentsOutcome RegisterPayments(const ClosingInput& in, bool& retried);

// Refusal of a printer command: on an attended till with a transfer the operator may send it
// again (true, retried set); otherwise boClieUtil is cleared and the answer is false.
bool OfferRetry(const ClosingInput& in, bool& retried);

// Composes the footer for the sale and ends the coupon (unless the transfer-receipt footer has
// no lines to take). False on a refusal not retried.
bool EndCoupon(const ClosingInput& in, const PaymentsOutcome& payments, double net, orb::fw::StringList* lines,
               bool& retried);

// The fixed pieces and the consumer balance, exposed for the footer's tests.
std::string TaxLine(double federal, double state);
std::string StateLine(const ClosingInput& in, double net);
std::string PasswordLine(const std::string& password);
std::string LoyaltyLine(double points);
std::string NoteLine(const std::string& noteNumber);
double ConsumerBalance(const ClosingInput& in, double accountDebits);
std::string BalanceBlock();  // over the balance tables as loaded

}  // namespace Orb00100::closing
