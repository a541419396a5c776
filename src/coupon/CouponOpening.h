#pragma once
// Opening a fiscal coupon, with the consumer identified or anonymous.
#include "framework/Variant.h"

namespace Orb00100 {

// Named parameters in: ESQUEMACOR, INTTEFERRO, INCLUICPF, INCLUINOME, INCLUIENDERECO, CUPNR,
// CONTCUPOM, TIPOTICKET, IVACOMP, IVAPROP, TIPODOC, NRDOC, MESA, IDUTILTEF, UTILTEF.
// Out (params replaced): INTTEFERRO, INCLUICPF, INCLUINOME, INCLUIENDERECO, CUPNR, CONTCUPOM,
// MENSAGEMTAA. On an attended till with a transfer in the sale a refused opening asks whether
// to try again; declining answers false and leaves params as the host passed them.
// True when the printer accepted the opening.
bool AbreCupom(orb::fw::Variant& params);

}  // namespace Orb00100
