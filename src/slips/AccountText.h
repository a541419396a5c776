#pragma once
// What the consumer-account receipts and statements share beyond the slips' own pieces.
#include <string>
#include <string_view>

#include "slips/SlipText.h"

namespace Orb00100::slips {

// A text of the second catalog (msgPadrao2).
std::string Msg2(std::string_view key);
// The text followed by the slips' line feed.
std::string Ln(std::string_view text = {});
// The first 48 characters of the text, then the line feed.
std::string Ln48(std::string_view text);
// The system currency with two decimals.
std::string Money(double value);
// Sends the block into the open document in pieces of whole lines, none longer than the
// printer takes at once, so that a long statement loses no row. False at the first refusal.
bool SendWhole(const std::string& scheme, std::string_view block, int limit = kBlockLimit);
// Closes whatever the printer holds open after a refused print; the answer stays false.
bool Abandon(const std::string& scheme);

}  // namespace Orb00100::slips
