#pragma once
// Sales on a consumer's account, printed as a slip linked to the coupon's payment: the debit
// sale (with the consumer's daily and monthly limits) and the sale on personal credit (with
// the balance of each family group).
#include <string>

#include "framework/Variant.h"

namespace Orb00100 {

// products: data packet (CDARVPROD, NMPRODUTO, QTPRODCOMVEN, VRPRECCOMVEN, VRUNITVENDCL,
// VRDESCCOMVEN, VRACRCOMVEN); consumption: data packet (VALCONSUMDIA, VALCONSUMMES). Limit kind
// "N" none, "D" daily, "M" monthly, "T" both; balance mode "2" prints no final balance. True
// with nothing printed when the amount is not above 0; false when a print is refused (the slip
// is closed).
bool Comp_DebitoCons(const std::string& scheme, const orb::fw::Variant& products, double amount,
                     const std::string& paymentMethod, const std::string& registration, const std::string& consumerName,
                     const std::string& clientCode, const std::string& clientName, const std::string& orderPassword,
                     double balance, double subsidisedPrice, double complement, const std::string& balanceMode,
                     const std::string& freeText, const std::string& limitKind, const std::string& dailyLimit,
                     const std::string& monthlyLimit, const orb::fw::Variant& consumption);
// products: data packet (CDARVPROD, NMPRODUTO, QTPRODCOMVEN, VRPRECCOMVEN); familyBalances:
// data packet (CDFAMILISALD, NMFAMILISALD, VRSALDCONFAM). Balance mode "0" the final balance with
// the families' sum, "1" one line per family, "2" none.
bool Imp_CompVenCred(const std::string& scheme, const orb::fw::Variant& products,
                     const orb::fw::Variant& familyBalances, double amount, const std::string& paymentMethod,
                     const std::string& registration, const std::string& consumerName, const std::string& clientCode,
                     const std::string& clientName, const std::string& orderPassword, double balance,
                     double subsidisedPrice, double complement, const std::string& balanceMode);

}  // namespace Orb00100
