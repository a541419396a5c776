#pragma once
// The sections `orb demo` prints once the sale has run.
#include <cstddef>
#include <iosfwd>
#include <string>

#include "DemoSale.h"

namespace orb::cli::demo {

inline constexpr std::size_t kLogTailLines = 15;

// The configuration the host keeps, the customer's coupon, the values the host received and
// the X reading.
void ShowSale(const SaleRecord& record, std::ostream& out);

// The last lines of this month's debug log of the module (the one in the host folder that
// ORB_HOME names); says so when there is none.
void ShowLogTail(std::ostream& out, std::size_t lines = kLogTailLines);

// One closing line with the sale's figures.
void ShowSummary(const SaleRecord& record, std::ostream& out);

}  // namespace orb::cli::demo
