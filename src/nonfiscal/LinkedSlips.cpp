// The linked-slip primitives: opening and text.
#include "nonfiscal/LinkedSlips.h"

#include "driver/DebugLog.h"
#include "driver/Globals.h"
#include "driver/StatusAnalysis.h"
#include "external/vendor/EntryPoints.h"
#include "driver/PrinterCall.h"

namespace Orb00100 {

bool Abre_Comp_NFiscalVinc(const std::string& scheme, const std::string& paymentMethod, const std::string& amount,
                           const std::string& couponNumber) {
    // The maker's prototype takes writable texts; the printer only reads them.
    std::string method = paymentMethod, value = amount, coupon = couponNumber;
    const int code =
        Invoke(Bematech_FI_AbreComprovanteNaoFiscalVinculado, method.data(), value.data(), coupon.data());
    ImpFisDebug("Bematech_FI_AbreComprovanteNaoFiscalVinculado : " + paymentMethod + " - " + amount + " - " +
                couponNumber);
    return AnalisaRetorno(scheme, code, true, false, false);
}

bool Usa_CompNFis(const std::string& scheme, const std::string& text) {
    std::string body = text;
    const int code = Invoke(Bematech_FI_UsaComprovanteNaoFiscalVinculado, body.data());
    ImpFisDebug("Bematech_FI_UsaComprovanteNaoFiscalVinculado: " + text);
    return AnalisaRetorno(scheme, code, boNUtilTaa, false, false);
}

}  // namespace Orb00100
