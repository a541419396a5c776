#pragma once
// Cancellation of the current or the last fiscal coupon.
#include <span>

#include "framework/Variant.h"

namespace Orb00100 {

// params (positional): 0 scheme, 1 show messages, 2 cancel an open coupon (both handed to the
// status analysis), 3 not read, 4 CDFILIAL, 5 CDCAIXA, 6 NRSERIEIMP, 7 "N" to record the reversal
// of a pending linked receipt in the non-fiscal ledger (a missing or unreadable element counts
// as "N").
// A linked receipt still pending at the printer is reversed first; the grand-total copy is
// brought up to date afterwards whatever the printer answered.
// result[0]: the number of the cancelled coupon, six columns; empty when the printer gave no
// coupon number. A result that is not an array becomes a one-element array.
// Returns the status analysis's verdict on the cancellation; false when nothing could be
// cancelled or anything on the way raised.
bool Cancela_Cupom_Imp(std::span<const orb::fw::Variant> params, orb::fw::Variant& result);

}  // namespace Orb00100
