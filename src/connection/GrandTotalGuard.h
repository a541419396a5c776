#pragma once
// The host keeps an enciphered copy of each printer's grand total in its printer configuration
// file (Tambora.cds beside the host executable); the guard compares it with the printer's own
// grand total, repairs it where allowed and refuses a mismatch it may not repair.
#include <string>

#include "framework/Variant.h"

namespace Orb00100 {

// The one selector the host's cipher is called with, for the configuration file's columns.
inline constexpr int kSeletorCripto = 1;

// Named parameters CDFILIAL, CDCAIXA, NRSERIEIMP (select the row), ESQUEMACOR, IDVALIDA ("S" to
// compare, anything else to overwrite the copy) and BOPODERECOMPORGT (a wrong or missing copy
// may be repaired from the printer).
bool Atu_TotGeral(const orb::fw::Variant& params);

// The printer configuration file.
std::string TamboraPath();

}  // namespace Orb00100
