#pragma once
// The fiscal library's life in the module: StartImpFiscal loads and binds it and opens the port,
// FechaPorta closes the port, StopImpFiscal unbinds and releases the library.
#include <string>

#include "framework/Variant.h"
#include "platform/Platform.h"

namespace Orb00100 {

bool StartImpFiscal(orb::fw::Variant& params);
// True exactly when the library closed the port (answered 1). False, without calling anything,
// while the library is not bound.
bool FechaPorta();
void StopImpFiscal();

// Looks up every fiscal entry point in binding order and stores each into its variable, up to
// the first one missing. Returns that one's name, or "" when all were found.
std::string BindFiscalEntryPoints(orb::platform::LibHandle library);
// Empties every fiscal entry-point variable (not the signing, file or raw-command ones).
void ClearFiscalEntryPoints();

}  // namespace Orb00100
