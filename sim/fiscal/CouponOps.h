#pragma once
// Coupon operations that the raw-command path shares with the entry points.
#include <string>

#include "fiscal/FiscalCall.h"

namespace orb::sim::fiscal {

int OpenCoupon(Call& c, const std::string& taxNumber, const std::string& name, const std::string& address);
// Cancels the open coupon, or the last one while it may still be cancelled.
int CancelCoupon(Call& c);

}  // namespace orb::sim::fiscal
