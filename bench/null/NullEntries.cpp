// Every entry point of the maker's fiscal library, and its raw-command entries, made from the
// shared lists so that none can be missing: each answers success at once and touches nothing.
// The entries whose answers the driver reads are defined once more in NullAnswers.cpp; those
// definitions are strong and the linker keeps them over these weak ones.
#define ORB_VENDOR_PROTOTYPES
#include "orb00100/VendorApi.h"

// The generated bodies ignore their arguments by design.
#pragma GCC diagnostic ignored "-Wunused-parameter"

#define ORB_NULL_ENTRY(name, params) \
    extern "C" __attribute__((weak)) int ORB_VENDOR_CALL name params { return 1; }
ORB_FISCAL_ENTRY_POINTS(ORB_NULL_ENTRY)
ORB_RAW_ENTRY_POINTS(ORB_NULL_ENTRY)
#undef ORB_NULL_ENTRY
