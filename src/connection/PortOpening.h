#pragma once
// Opens the connection to the fiscal printer and makes it ready for a new sale: the clock and
// power are checked, a document left open is closed, and an interrupted sale is recovered.
#include "framework/Variant.h"

namespace Orb00100 {

// Named parameters CDFILIAL, CDCAIXA, NRSERIEIMP, ESQUEMA and CDPORTAIMPFIS, all texts.
bool AbrePorta(const orb::fw::Variant& params);

}  // namespace Orb00100
