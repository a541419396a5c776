#include "nonfiscal/Reversal.h"

#include "driver/PrinterCall.h"
#include "external/vendor/EntryPoints.h"

namespace Orb00100 {

bool EstornoNaoFiscal(const std::string& scheme, const std::string& taxNumber, const std::string& name,
                      const std::string& address) {
    // The maker's prototype takes writable texts; the printer only reads them.
    std::string tax = taxNumber, consumer = name, where = address;
    return Call(scheme, {}, "Bematech_FI_EstornoNaoFiscalVinculadoMFD", Bematech_FI_EstornoNaoFiscalVinculadoMFD,
                tax.data(), consumer.data(), where.data());
}

}  // namespace Orb00100
