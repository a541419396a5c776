#pragma once
// A till that stopped in the middle of a sale comes back with the coupon it left open cancelled
// (a pending linked receipt reversed first, when the last card transfer allows it) and its
// grand-total copy checked. The host writes the recovery files beside its executable and
// removes them itself.
#include <string>

namespace Orb00100 {

// What the port opening read from its named parameters.
struct PortParams {
    std::string branch;  // CDFILIAL
    std::string till;    // CDCAIXA
    std::string serial;  // NRSERIEIMP
    std::string scheme;  // ESQUEMA
    std::string port;    // CDPORTAIMPFIS
};

// Either file present means a sale was in progress.
std::string SaleRecoveryPath();            // cdsVenda.cds
std::string CancelledItemsRecoveryPath();  // cdsItensCancelados.cds
// The last card-transfer record; IdSituVenda "O" leaves the coupon alone.
std::string LastTefRecoveryPath();  // ultTef.cds

// extendedStatus is the port opening's reading of the extended status, read again here (into
// the same integer) when the last transfer record exists; couponOpen is what the status bytes
// said. Only a coupon still open is cancelled, or one whose card payment never got its slip: a
// coupon the printer has finished is a completed sale, and cancelling it would lose it (the
// printer cancels its last coupon when none is open). The host is told so, to not redo the sale.
// Failures of the recovery files or of the coupon number raise to the caller.
void RecuperaVendaInterrompida(const PortParams& params, int& extendedStatus, bool couponOpen);

}  // namespace Orb00100
