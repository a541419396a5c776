// The exported status analysis: adapters over the printer-call layer.
#include "driver/StatusAnalysis.h"

#include "driver/PrinterCall.h"

namespace Orb00100 {

bool AnalisaRetorno(const std::string& scheme, int returnCode, bool show, bool cancelOpenCoupon, bool warnLowPaper) {
    return CheckStatus(scheme, returnCode,
                       {.show = show, .cancelOpenCoupon = cancelOpenCoupon, .warnLowPaper = warnLowPaper});
}

bool ImpressoraOK(const std::string& scheme, bool show, bool cancelOpenCoupon, bool warnLowPaper) {
    return CheckPrinter(scheme, {.show = show, .cancelOpenCoupon = cancelOpenCoupon, .warnLowPaper = warnLowPaper});
}

}  // namespace Orb00100
