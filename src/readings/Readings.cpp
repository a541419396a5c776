#include "readings/Readings.h"

#include "driver/Globals.h"
#include "driver/PrinterCall.h"
#include "external/vendor/EntryPoints.h"
#include "nonfiscal/Ledger.h"

namespace Orb00100 {

namespace {

constexpr int kMovementDateWidth = 6;  // DDMMYY

// A reading taken by the printer is recorded in the ledger.
bool Recorded(bool taken, const std::string& serial, const std::string& scheme, const char* docType) {
    if (taken) GravaDocumentosNaoFiscais(serial, scheme, docType, "", "");
    return taken;
}

}  // namespace

bool Leitura_X_Imp(const std::string& serial, const std::string& /*unused1*/, const std::string& scheme,
                   const std::string& /*unused2*/) {
    return Recorded(Call(scheme, {.show = true}, ORB_ENTRY(Bematech_FI_LeituraX)), serial, scheme, "LX");
}

bool Reducao_Z_Imp(const std::string& serial, const std::string& /*unused1*/, const std::string& scheme,
                   const std::string& /*unused2*/) {
    // Asked before the reduction, which starts a new movement. Whatever the printer answers is
    // kept; it is only wrong when the date itself is.
    AnswerArea movement(kMovementDateWidth);
    Invoke(Bematech_FI_DataMovimento, movement.data());
    stDataCat = movement.Text();

    // No date and no time: the printer reduces on its own clock.
    const bool taken = Call(scheme, {.show = true}, "Bematech_FI_ReducaoZ;", Bematech_FI_ReducaoZ,
                            static_cast<char*>(nullptr), static_cast<char*>(nullptr));
    return Recorded(taken, serial, scheme, "RZ");
}

}  // namespace Orb00100
