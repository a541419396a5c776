#pragma once
// What the coupon operations share when the printer refuses: whether the sale runs an electronic
// funds transfer, which lets the operator send the command again.
#include <string>

namespace Orb00100 {

struct TransferUse {
    std::string kind;    // IDUTILTEF: "S" or "T" when the sale uses a transfer
    bool inUse = false;  // UTILTEF
    bool Active() const { return inUse && (kind == "S" || kind == "T"); }
};

}  // namespace Orb00100
