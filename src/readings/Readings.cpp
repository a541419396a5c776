#include "readings/Readings.h"

#include "driver/DebugLog.h"
#include "driver/Globals.h"
#include "driver/StatusAnalysis.h"
#include "external/vendor/EntryPoints.h"
#include "nonfiscal/Ledger.h"
#include "driver/PrinterCall.h"

namespace Orb00100 {

namespace {

constexpr int kMovementDateWidth = 6;  // DDMMYY

// The status analysis of a reading, and its ledger record when the printer took it.
bool Conclude(const std::string& serial, const std::string& scheme, int code, const char* docType) {
    const bool ok = AnalisaRetorno(scheme, code, true, false, false);
    if (ok) GravaDocumentosNaoFiscais(serial, scheme, docType, "", "");
    return ok;
}

}  // namespace

bool Leitura_X_Imp(const std::string& serial, const std::string& /*unused1*/, const std::string& scheme,
                   const std::string& /*unused2*/) {
    const int code = Invoke(Bematech_FI_LeituraX);
    ImpFisDebug("Bematech_FI_LeituraX");
    return Conclude(serial, scheme, code, "LX");
}

bool Reducao_Z_Imp(const std::string& serial, const std::string& /*unused1*/, const std::string& scheme,
                   const std::string& /*unused2*/) {
    // Asked before the reduction, which starts a new movement. Whatever the printer answers is
    // kept; it is only wrong when the date itself is.
    AnswerArea movement(kMovementDateWidth);
    Invoke(Bematech_FI_DataMovimento, movement.data());
    stDataCat = movement.Text();

    // No date and no time: the printer reduces on its own clock.
    const int code = Invoke(Bematech_FI_ReducaoZ, static_cast<char*>(nullptr), static_cast<char*>(nullptr));
    ImpFisDebug("Bematech_FI_ReducaoZ;");
    return Conclude(serial, scheme, code, "RZ");
}

}  // namespace Orb00100
