#pragma once
// Linked slips: the non-fiscal document the printer prints right after a coupon, tied to one of
// its payments (the card receipt of a funds transfer). Its text operation also prints every
// line of an open management report.
#include <string>

namespace Orb00100 {

// Opens a linked slip for the payment method, amount and coupon number, passed as given. The
// verdict is always shown.
bool Abre_Comp_NFiscalVinc(const std::string& scheme, const std::string& paymentMethod, const std::string& amount,
                           const std::string& couponNumber);
// Prints text into the open linked slip or management report. The verdict is shown on a
// staff-operated terminal only.
bool Usa_CompNFis(const std::string& scheme, const std::string& text);

}  // namespace Orb00100
