#pragma once
// Closing a fiscal coupon: discount or surcharge on the subtotal, the payments in the order they
// were taken, the footer, and the change registered as a non-fiscal receipt.
#include <span>

#include "framework/StringList.h"
#include "framework/Variant.h"

namespace Orb00100 {

// params: the sale's 61 positional values (cash movements and payment types as data packets).
// lines: the host's receipt lines; without them a transfer-receipt footer leaves the coupon to
// be ended by the host. result (at least four elements; a shorter or missing array is made
// four long): [0] 1 when the operator accepted a retry, [1] the state-programme number, [2] the
// non-fiscal operation counter after the change receipt, [3] the messages collected for a
// self-service till. A printer refusal that is not retried answers false with result as the
// host passed it; any other failure answers false with result filled.
bool FechaCupom(std::span<const orb::fw::Variant> params, orb::fw::StringList* lines, orb::fw::Variant& result);

}  // namespace Orb00100
