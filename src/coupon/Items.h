#pragma once
// Items of the open coupon: registration, cancellation, and the printer's surcharge total.
#include <string>

#include "framework/Variant.h"

namespace Orb00100 {

// Named parameters in: ESQUEMACOR, INTEFERRO, CDARVPROD, NMPROD, CDALIQ, QTDE, VALOR, DESCONT,
// UNIDADE, TIPOTICKET, VRPERCALIQ, IDUTILTEF, UTILTEF, ACRESCIMO. Out (params replaced):
// INTTEFERRO (the INTEFERRO received) and MENSAGEMTAA. On an attended till a refused item is
// offered again until the printer takes it or the operator declines; declining, and any failure
// to read or format the parameters, answer false with params as the host passed them.
// True when the printer accepted the item.
bool VendaItem(orb::fw::Variant& params);

// Cancels an item by its five-digit number ("00012"); no message on failure. The texts and the
// amounts after the number are accepted for the host's sake and not used.
bool Cancela_ItGenerico(const std::string& scheme, const std::string& itemNumber, const std::string& unused1,
                        const std::string& unused2, const std::string& unused3, const std::string& unused4,
                        const std::string& unused5, const std::string& unused6, const std::string& unused7,
                        double unusedAmount1, double unusedAmount2);
// Cancels the item just registered; a failure shows the status message.
bool Cancela_UltimoItem(const std::string& scheme);
// The printer's surcharge total, 14 digits as it writes them. Like the other totals read, it
// cancels a coupon that it finds open.
bool Acrescimo_Imp(const std::string& scheme, std::string& total);

}  // namespace Orb00100
