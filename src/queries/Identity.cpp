// What the printer is: firmware version, serial number, brand and model, coupon number.
#include "driver/DebugLog.h"
#include "driver/PrinterCall.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
#include "queries/Queries.h"

namespace Orb00100 {

bool Versao_Software_Basico(const std::string& scheme, std::string& version) {
    return Query(scheme, {}, ORB_ENTRY(Bematech_FI_VersaoFirmwareMFD), 6, version);
}

std::string Nr_Cupom(const std::string& /*unused*/, const std::string& /*scheme*/) {
    AnswerArea area(6);
    // Callers test the answer for "ERRO"; the return code adds nothing to that.
    Invoke(Bematech_FI_NumeroCupom, area.data());
    const std::string answer = area.Text();
    ImpFisDebug(AnswerLabel("Bematech_FI_NumeroCupom") + answer);
    return orb::hostlib::EmptyString(answer) ? std::string("ERRO") : answer;
}

bool Numero_de_Serie(const std::string& scheme, std::string& serial) {
    Query(scheme, {}, ORB_ENTRY(Bematech_FI_NumeroSerieMFD), 20, serial);
    return true;
}

bool Modelo_Impressora(const std::string& scheme, std::string& brand, std::string& model, std::string& kind) {
    AnswerArea brandArea(15), modelArea(20), kindArea(7);
    const int code =
        Invoke(Bematech_FI_MarcaModeloTipoImpressoraMFD, brandArea.data(), modelArea.data(), kindArea.data());
    brand = brandArea.Text();
    model = modelArea.Text();
    kind = kindArea.Text();
    return Conclude(scheme, code,
                    AnswerLabel("Bematech_FI_MarcaModeloTipoImpressoraMFD") + brand + " - " + model + " - " + kind,
                    {.show = true});
}

}  // namespace Orb00100
