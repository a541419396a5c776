#pragma once
// The maker's entry points as the driver holds them: one variable per entry point, named like
// the entry point, empty while unbound. They are exported globals with C++ linkage, so they
// never collide with the C symbols of the maker's libraries loaded into the same process.
//
// The variables are declared (here) and defined (EntryPoints.cpp) from the lists of
// orb00100/VendorApi.h, so a new entry point is added in one place.
#include <cstddef>
#include <span>

#include "orb00100/VendorApi.h"

// The fiscal-file generators keep variable names of the driver's own (the maker's libraries
// call them BemaGeraTxtPorCOO and BemaGeraRegistrosTipoE, and BemaMFD3 exports the latter with
// another form): X(variable, pointer type).
#define ORB_FILE_GENERATOR_VARIABLES(X)                        \
    X(Bematech_GeraTxtPorCOO, PFN_BemaGeraTxtPorCOO)           \
    X(Bematech_GeraRegistrosTipoE, PFN_BemaGeraRegistrosTipoE) \
    X(Bematech_RegistroTipoEMFD3, PFN_BemaGeraRegistrosTipoEMFD3)

namespace Orb00100 {

#define ORB_DECLARE_ENTRY_POINT(name, params) extern PFN_##name name;
#define ORB_DECLARE_SIGN_ENTRY_POINT(name, params) extern PFN_##name Bematech_##name;
#define ORB_DECLARE_FILE_GENERATOR(variable, type) extern type variable;

// The fiscal library, in binding order.
ORB_FISCAL_ENTRY_POINTS(ORB_DECLARE_ENTRY_POINT)
// The signing library (Bematech_setLibType and so on), bound for the length of one signature.
ORB_SIGN_ENTRY_POINTS(ORB_DECLARE_SIGN_ENTRY_POINT)
// The fiscal-file generators, bound at the moment of use.
ORB_FILE_GENERATOR_VARIABLES(ORB_DECLARE_FILE_GENERATOR)
// The raw-command entries. The module binds none of them: the host fills them before it uses
// the raw-command operations.
ORB_RAW_ENTRY_POINTS(ORB_DECLARE_ENTRY_POINT)

#undef ORB_DECLARE_ENTRY_POINT
#undef ORB_DECLARE_SIGN_ENTRY_POINT
#undef ORB_DECLARE_FILE_GENERATOR

// One entry-point variable: its exported name and the means to fill and test it.
struct EntryPointSlot {
    const char* name;
    void (*assign)(void* address);  // stores the address found in the library (nullptr clears)
    bool (*isSet)();
};

// Every fiscal entry point, in binding order.
std::span<const EntryPointSlot> FiscalEntryPoints();
inline constexpr std::size_t kFiscalEntryPointCount = 113;

// Every entry-point variable (fiscal, signing, file generation, raw command), for reporting.
std::span<const EntryPointSlot> AllEntryPoints();

}  // namespace Orb00100
