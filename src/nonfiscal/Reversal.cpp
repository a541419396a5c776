#include "nonfiscal/Reversal.h"

#include "driver/DebugLog.h"
#include "driver/StatusAnalysis.h"
#include "external/vendor/EntryPoints.h"
#include "driver/PrinterCall.h"

namespace Orb00100 {

bool EstornoNaoFiscal(const std::string& scheme, const std::string& taxNumber, const std::string& name,
                      const std::string& address) {
    // The maker's prototype takes writable texts; the printer only reads them.
    std::string tax = taxNumber, consumer = name, where = address;
    const int rc =
        Invoke(Bematech_FI_EstornoNaoFiscalVinculadoMFD, tax.data(), consumer.data(), where.data());
    ImpFisDebug("Bematech_FI_EstornoNaoFiscalVinculadoMFD");
    return AnalisaRetorno(scheme, rc, false, false, false);
}

}  // namespace Orb00100
