#pragma once
// What the table-service slips and the till's closing reports share: the catalog, the line
// pieces of the 48-column slips, the text blocks sent into an open document, and the tables
// they read.
#include <string>
#include <string_view>

#include "framework/ClientDataSet.h"
#include "framework/Variant.h"

namespace Orb00100::slips {

inline constexpr int kLineWidth = 48;
// A block is cut to this length before it is sent into the open document.
inline constexpr int kBlockLimit = 620;

// The software's support line, printed at the foot of several slips.
std::string ContactLine();

// The text of a catalog key (msgPadrao).
std::string Msg(std::string_view key);
std::string Spaces(int n);
std::string Dashes(int n = kLineWidth);
// Fixed-point with the given decimals, no thousands separator.
std::string Fixed(double value, int decimals);
// The current date and time as "dd/mm/yyyy hh:nn:ss".
std::string NowText();

// Sends the block, cut to kBlockLimit characters, into the open linked slip or report.
bool SendBlock(const std::string& scheme, std::string_view block);

// Loads a host data packet into a module table; filter and index of an earlier call must not
// refuse a packet of another structure.
void LoadPacket(orb::fw::ClientDataSet& table, const orb::fw::Variant& packet);
// Copies the rows of a host table into a module table. A table the host did not pass raises
// EDatabaseError, as reading a missing dataset does.
void LoadTable(orb::fw::ClientDataSet& table, const orb::fw::ClientDataSet* source);
// The host table itself, or EDatabaseError when the host passed none.
orb::fw::ClientDataSet& Required(orb::fw::ClientDataSet* table, std::string_view role);

}  // namespace Orb00100::slips
