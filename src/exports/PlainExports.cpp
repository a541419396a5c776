// The plain-name exports: one extern "C" function per row exported under its plain name, calling
// the unit-qualified operation. Rows exported under the qualified name alone get none.
#include "exports/OperationDeclarations.h"

// On ELF platforms the module's export map decides what is visible, these names among it.
#if defined(_WIN32)
#define ORB_PLAIN_EXPORT extern "C" __declspec(dllexport)
#else
#define ORB_PLAIN_EXPORT extern "C"
#endif

#define ORB_PLAIN_WRAPPER(Result, Name, PARAMS, ARGS) \
    ORB_PLAIN_EXPORT Result Name PARAMS { return ::Orb00100::Name ARGS; }

#define ORB_WRAP_BOTH(Result, Name, PARAMS, ARGS) ORB_PLAIN_WRAPPER(Result, Name, PARAMS, ARGS)
#define ORB_WRAP_PLAIN(Result, Name, PARAMS, ARGS) ORB_PLAIN_WRAPPER(Result, Name, PARAMS, ARGS)
#define ORB_WRAP_QUALIFIED(Result, Name, PARAMS, ARGS)

#define ORB_OP(EXPORTS, Result, Name, PARAMS, ARGS) ORB_WRAP_##EXPORTS(Result, Name, PARAMS, ARGS)
#include "exports/Operations.inc"
#undef ORB_OP
