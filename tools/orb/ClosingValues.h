#pragma once
// FechaCupom's positional values, 61 of them, built from named fields: a sale is closed with
// `ClosingValues{.discount = 4.4, .movements = ...}.Values()` (or `FechaCupomRequest(...)` for the
// bridge) instead of by counting array positions. Texts are code page 1252, as the module takes
// them; the defaults are a plain closing: no discount, no change receipt, no transfer, messages
// shown, a standard footer with no consumer balance.
#include <cstddef>
#include <string>
#include <vector>

#include "bridge/JsonValues.h"
#include "framework/DateTime.h"
#include "framework/Variant.h"

namespace orb::cli {

// The command-line host speaks the module's bridge: its values and requests are the host's.
using namespace orb::bridge;

// Where each value sits in the array. Positions not named here are not used by the closing.
namespace closing {
inline constexpr std::size_t kCount = 61;
inline constexpr std::size_t kChangeTotalizer = 0;  // totalizer slot of the change receipt
inline constexpr std::size_t kFirstText = 1;        // first footer text
inline constexpr std::size_t kScheme = 2;
inline constexpr std::size_t kChangeReceipt = 4;  // register the change as a non-fiscal receipt
inline constexpr std::size_t kShowMessages = 5;
inline constexpr std::size_t kDiscount = 6;
inline constexpr std::size_t kChange = 7;
inline constexpr std::size_t kSurcharge = 8;
inline constexpr std::size_t kTefUse = 9;  // "S" or "T" when the sale uses a card transfer
inline constexpr std::size_t kFreeText = 10;
inline constexpr std::size_t kTefInProgress = 11;
inline constexpr std::size_t kMovements = 13;     // data packet: the sale's cash movements
inline constexpr std::size_t kPaymentTypes = 14;  // data packet: the payment types
inline constexpr std::size_t kConsumerCode = 15;
inline constexpr std::size_t kConsumerName = 16;
inline constexpr std::size_t kSecondConsumerCode = 17;
inline constexpr std::size_t kSecondConsumerName = 18;
inline constexpr std::size_t kFooterSelector = 19;
inline constexpr std::size_t kFooterSubselector = 20;
inline constexpr std::size_t kTable = 21;  // table or order-pad number
inline constexpr std::size_t kOperatorCode = 22;
inline constexpr std::size_t kOperatorName = 23;
inline constexpr std::size_t kBalanceMode = 27;    // "0", "1" or "2" (no balance line)
inline constexpr std::size_t kConferenceCoo = 28;  // counters of the table conference
inline constexpr std::size_t kConferenceCer = 29;
inline constexpr std::size_t kPassword = 31;  // order password, printed large
inline constexpr std::size_t kCreditBalances = 32;
inline constexpr std::size_t kFamilyBalances = 33;
inline constexpr std::size_t kLoans = 34;
inline constexpr std::size_t kSecondConsumerForm = 35;  // "2": the form of a second consumer
inline constexpr std::size_t kFooterMode = 36;          // "1" or "2"
inline constexpr std::size_t kBalanceBefore = 37;
inline constexpr std::size_t kSubsidy = 38;
inline constexpr std::size_t kTransferFooter = 40;  // "S": the transfer-receipt footer
inline constexpr std::size_t kPrinterNumber = 41;
inline constexpr std::size_t kStateProgrammeNumber = 42;  // handed back as result element 1
inline constexpr std::size_t kStateCode = 43;             // "PB" prints the state programme's line
inline constexpr std::size_t kCompanyCnpj = 45;
inline constexpr std::size_t kLimitKind = 46;
inline constexpr std::size_t kDailyLimit = 47;
inline constexpr std::size_t kMonthlyLimit = 48;
inline constexpr std::size_t kConsumptionBalances = 49;
inline constexpr std::size_t kFederalTax = 51;
inline constexpr std::size_t kLoyaltyPoints = 52;
inline constexpr std::size_t kExcessBalance = 53;
inline constexpr std::size_t kFiscalNote = 56;
inline constexpr std::size_t kStateTax = 58;
inline constexpr std::size_t kDailyConsumption = 59;
inline constexpr std::size_t kPrintSecondConsumer = 60;
}  // namespace closing

struct ClosingValues {
    std::string changeTotalizer = "01";
    std::string firstText = "Obrigado pela preferencia";
    std::string scheme = "001";
    bool changeReceipt = false;
    bool showMessages = true;
    double discount = 0.0;
    double change = 0.0;
    double surcharge = 0.0;
    std::string tefUse = "N";
    std::string freeText = "";
    bool tefInProgress = false;
    fw::Variant movements = fw::Variant::Null();
    fw::Variant paymentTypes = fw::Variant::Null();
    std::string consumerCode = "", consumerName = "";
    std::string secondConsumerCode = "", secondConsumerName = "";
    std::string footerSelector = "", footerSubselector = "";
    std::string table = "";
    std::string operatorCode = "", operatorName = "";
    std::string balanceMode = "2";
    std::string conferenceCoo = "", conferenceCer = "";
    std::string password = "";
    fw::Variant creditBalances = fw::Variant::Null();
    fw::Variant familyBalances = fw::Variant::Null();
    fw::Variant loans = fw::Variant::Null();
    std::string secondConsumerForm = "";
    std::string footerMode = "2";
    double balanceBefore = 0.0;
    double subsidy = 0.0;
    std::string transferFooter = "N";
    std::string printerNumber = "001";
    std::string stateProgrammeNumber = "4711";
    std::string stateCode = "SP";
    std::string companyCnpj = "12.345.678/0001-90";
    std::string limitKind = "", dailyLimit = "", monthlyLimit = "";
    fw::Variant consumptionBalances = fw::Variant::Null();
    double federalTax = 0.0;
    fw::Variant loyaltyPoints = 0;
    double excessBalance = 0.0;
    std::string fiscalNote = "";
    double stateTax = 0.0;
    std::string dailyConsumption = "";
    bool printSecondConsumer = true;

    // The 61 values; the positions the closing does not use hold "" (0 and 0.0 at 3 and 50).
    std::vector<fw::Variant> Values() const;
};

// One cash movement of the sale, in the columns the closing reads.
struct ClosingMovement {
    std::string type = "";  // CDTIPORECE, the payment type
    double amount = 0.0;
    fw::TDateTime taken{};          // DTHRINCMOV: payments go to the printer in this order
    std::string kind = "E";         // IDTIPOMOVIVE: "E" and "T" are payments
    int changeOrder = 0;            // NRORDTROCO, the order within the same time
    std::string card = "";          // CDBANCARTCR
    std::string originalType = "";  // CDTIPORECEORIG, the type a card payment was taken under
};
// The movements as the data packet the closing takes (branch "0001"; empty texts stay texts, as
// the bridge passes them).
fw::Variant ClosingMovements(const std::vector<ClosingMovement>& movements);

// Payment types as the closing looks them up: code, name as the printer knows it, kind.
struct ClosingPaymentType {
    std::string code, name, kind;
};
fw::Variant ClosingPaymentTypes(const std::vector<ClosingPaymentType>& types);

// The bridge request of the closing: the values, no string list, a result array of four.
Json FechaCupomRequest(const ClosingValues& values);

}  // namespace orb::cli
