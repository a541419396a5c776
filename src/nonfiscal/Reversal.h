#pragma once
// Reversal of the linked non-fiscal receipt still pending at the printer.
#include <string>

namespace Orb00100 {

// The three texts are the consumer fields of the reversal (tax number, name, address); the
// recovery and the coupon cancellation pass them empty. Returns the status-analysis verdict.
bool EstornoNaoFiscal(const std::string& scheme, const std::string& taxNumber, const std::string& name,
                      const std::string& address);

}  // namespace Orb00100
