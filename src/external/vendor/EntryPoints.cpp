#include "external/vendor/EntryPoints.h"

#include <iterator>
#include <type_traits>

namespace Orb00100 {

#define ORB_DEFINE_VARIABLE(name, params) PFN_##name name = nullptr;
ORB_FISCAL_ENTRY_POINTS(ORB_DEFINE_VARIABLE)
ORB_RAW_ENTRY_POINTS(ORB_DEFINE_VARIABLE)
#undef ORB_DEFINE_VARIABLE

PFN_setLibType Bematech_setLibType = nullptr;
PFN_genkkey Bematech_genkkey = nullptr;
PFN_generateEAD Bematech_generateEAD = nullptr;
PFN_validateFile Bematech_validateFile = nullptr;

PFN_BemaGeraTxtPorCOO Bematech_GeraTxtPorCOO = nullptr;
PFN_BemaGeraRegistrosTipoE Bematech_GeraRegistrosTipoE = nullptr;
PFN_BemaGeraRegistrosTipoEMFD3 Bematech_RegistroTipoEMFD3 = nullptr;

namespace {

// A library hands out plain addresses; each variable takes its own pointer type.
template <auto* Variable>
void Assign(void* address) {
    using Pointer = std::remove_pointer_t<decltype(Variable)>;
    static_assert(sizeof(Pointer) == sizeof(void*));
    *Variable = reinterpret_cast<Pointer>(address);
}

template <auto* Variable>
bool IsSet() {
    return *Variable != nullptr;
}

#define ORB_SLOT(variable) \
    EntryPointSlot { #variable, &Assign < &variable>, &IsSet < &variable> }
#define ORB_FISCAL_SLOT(name, params) ORB_SLOT(name),

constexpr EntryPointSlot kFiscal[] = {ORB_FISCAL_ENTRY_POINTS(ORB_FISCAL_SLOT)};
static_assert(std::size(kFiscal) == kFiscalEntryPointCount);

constexpr EntryPointSlot kAll[] = {
    ORB_FISCAL_ENTRY_POINTS(ORB_FISCAL_SLOT) ORB_SLOT(Bematech_setLibType),
    ORB_SLOT(Bematech_genkkey),
    ORB_SLOT(Bematech_generateEAD),
    ORB_SLOT(Bematech_validateFile),
    ORB_SLOT(Bematech_GeraTxtPorCOO),
    ORB_SLOT(Bematech_GeraRegistrosTipoE),
    ORB_SLOT(Bematech_RegistroTipoEMFD3),
    ORB_SLOT(BemaIniPortaStr),
    ORB_SLOT(BemaFormataTX),
    ORB_SLOT(BemaStatus_Mp20FI),
    ORB_SLOT(BemaLe_Variaveis),
    ORB_SLOT(BemaRetorna_ASCII),
    ORB_SLOT(BemaFechaPorta),
};

#undef ORB_FISCAL_SLOT
#undef ORB_SLOT

}  // namespace

std::span<const EntryPointSlot> FiscalEntryPoints() { return kFiscal; }
std::span<const EntryPointSlot> AllEntryPoints() { return kAll; }

}  // namespace Orb00100
