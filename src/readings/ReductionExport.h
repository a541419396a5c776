#pragma once
// Internal to the reduction export: what the two sources of the figures (the X-reading text and
// the printer queries) share.
#include <string>

#include "driver/DataModule.h"
#include "framework/DateTime.h"
#include "framework/StringList.h"

namespace Orb00100::reduction {

struct Context {
    TdtmBematech100& dm;
    std::string scheme;
    std::string ecf;
    orb::fw::TDateTime movement;
    std::string nextCoupon;  // the coupon number the printer gives next, 6 digits
    std::string brandAndModel;
    std::string user;
};

// A new reduction row with what every source gives: ecf, date, the fixed counters, the next
// coupon, brand and model, user. Left in insert state for the caller's figures.
void StartReductionRow(const Context& c);

// The payment method's amount under the host's payment type of that name (case ignored): added to
// the type's row, or a row of its own. A name the host does not know adds nothing.
void AddPayment(const Context& c, const std::string& name, double amount);

// The reduction's figures read from the X-reading text, older layout (models 14 and 18) or newer.
void ReadXReading(const Context& c, const orb::fw::StringList& text, bool newerLayout);

}  // namespace Orb00100::reduction
