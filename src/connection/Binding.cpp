#include "connection/Binding.h"

#include "connection/PortOpening.h"
#include "driver/DataModule.h"
#include "driver/Globals.h"
#include "driver/Params.h"
#include "external/vendor/EntryPoints.h"

namespace Orb00100 {

namespace pf = orb::platform;

std::string BindFiscalEntryPoints(pf::LibHandle library) {
    for (const EntryPointSlot& slot : FiscalEntryPoints()) {
        void* address = pf::GetProcAddress(library, slot.name);
        if (address == nullptr) return slot.name;
        slot.assign(address);
    }
    return {};
}

void ClearFiscalEntryPoints() {
    for (const EntryPointSlot& slot : FiscalEntryPoints()) slot.assign(nullptr);
}

bool StartImpFiscal(orb::fw::Variant& params) {
    EnsureDataModule();

    // The texts are read only to check them here; AbrePorta reads them again.
    std::string branch, till, serial, scheme, port;
    GuardedIntake("StartImpFiscal", [&] {
        branch = ParamText(params, "CDFILIAL");
        till = ParamText(params, "CDCAIXA");
        serial = ParamText(params, "NRSERIEIMP");
        scheme = ParamText(params, "ESQUEMA");
        port = ParamText(params, "CDPORTAIMPFIS");
        inTipoImpFis = ParamInt(params, "IDTIPOIMPFIS");
        boNUtilTaa = !ParamBool(params, "BOUTILTAA");
    });

    if (ImpFisDLLHandle == 0) ImpFisDLLHandle = pf::LoadLibrary("BemaFI32.dll");
    if (ImpFisDLLHandle == 0) return false;

    if (!BindFiscalEntryPoints(ImpFisDLLHandle).empty()) {
        StopImpFiscal();
        return false;
    }

    if (!AbrePorta(params)) return false;

    boImpFiscalOK = true;
    return true;
}

bool FechaPorta() {
    // The host may close the port before any start or after a stop; an unbound library has no
    // port open, so that is a refusal rather than a call through an empty variable.
    if (Bematech_FI_FechaPortaSerial == nullptr) return false;
    return Bematech_FI_FechaPortaSerial() == 1;
}

void StopImpFiscal() {
    ClearFiscalEntryPoints();
    if (ImpFisDLLHandle != 0) pf::FreeLibrary(ImpFisDLLHandle);
    ImpFisDLLHandle = 0;
}

}  // namespace Orb00100
