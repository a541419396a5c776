#include "external/vendor/EntryPoints.h"

#include <iterator>
#include <type_traits>

namespace Orb00100 {

#define ORB_DEFINE_ENTRY_POINT(name, params) PFN_##name name = nullptr;
#define ORB_DEFINE_SIGN_ENTRY_POINT(name, params) PFN_##name Bematech_##name = nullptr;
#define ORB_DEFINE_FILE_GENERATOR(variable, type) type variable = nullptr;
ORB_FISCAL_ENTRY_POINTS(ORB_DEFINE_ENTRY_POINT)
ORB_SIGN_ENTRY_POINTS(ORB_DEFINE_SIGN_ENTRY_POINT)
ORB_FILE_GENERATOR_VARIABLES(ORB_DEFINE_FILE_GENERATOR)
ORB_RAW_ENTRY_POINTS(ORB_DEFINE_ENTRY_POINT)
#undef ORB_DEFINE_ENTRY_POINT
#undef ORB_DEFINE_SIGN_ENTRY_POINT
#undef ORB_DEFINE_FILE_GENERATOR

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

#define ORB_SLOT(variable) EntryPointSlot{#variable, &Assign<&variable>, &IsSet<&variable>},
#define ORB_ENTRY_POINT_SLOT(name, params) ORB_SLOT(name)
#define ORB_SIGN_SLOT(name, params) ORB_SLOT(Bematech_##name)
#define ORB_FILE_GENERATOR_SLOT(variable, type) ORB_SLOT(variable)

constexpr EntryPointSlot kFiscal[] = {ORB_FISCAL_ENTRY_POINTS(ORB_ENTRY_POINT_SLOT)};
static_assert(std::size(kFiscal) == kFiscalEntryPointCount);

constexpr EntryPointSlot kAll[] = {
    ORB_FISCAL_ENTRY_POINTS(ORB_ENTRY_POINT_SLOT)          //
    ORB_SIGN_ENTRY_POINTS(ORB_SIGN_SLOT)                   //
    ORB_FILE_GENERATOR_VARIABLES(ORB_FILE_GENERATOR_SLOT)  //
    ORB_RAW_ENTRY_POINTS(ORB_ENTRY_POINT_SLOT)             //
};

#undef ORB_FILE_GENERATOR_SLOT
#undef ORB_SIGN_SLOT
#undef ORB_ENTRY_POINT_SLOT
#undef ORB_SLOT

}  // namespace

std::span<const EntryPointSlot> FiscalEntryPoints() { return kFiscal; }
std::span<const EntryPointSlot> AllEntryPoints() { return kAll; }

}  // namespace Orb00100
