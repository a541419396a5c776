// The linked-slip primitives: opening and text.
#include "nonfiscal/LinkedSlips.h"

#include "driver/Globals.h"
#include "driver/PrinterCall.h"
#include "external/vendor/EntryPoints.h"

namespace Orb00100 {

bool Abre_Comp_NFiscalVinc(const std::string& scheme, const std::string& paymentMethod, const std::string& amount,
                           const std::string& couponNumber) {
    // The maker's prototype takes writable texts; the printer only reads them.
    std::string method = paymentMethod, value = amount, coupon = couponNumber;
    return Call(
        scheme, {.show = true},
        "Bematech_FI_AbreComprovanteNaoFiscalVinculado : " + paymentMethod + " - " + amount + " - " + couponNumber,
        Bematech_FI_AbreComprovanteNaoFiscalVinculado, method.data(), value.data(), coupon.data());
}

bool Usa_CompNFis(const std::string& scheme, const std::string& text) {
    std::string body = text;
    return Call(scheme, {.show = boNUtilTaa}, "Bematech_FI_UsaComprovanteNaoFiscalVinculado: " + text,
                Bematech_FI_UsaComprovanteNaoFiscalVinculado, body.data());
}

}  // namespace Orb00100
