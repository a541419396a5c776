#pragma once
// Where the fiscal files go, and what the generated files share: the fiscal-menu folder, the
// work files of the register generators, the parameters read by position, the signature.
#include <span>
#include <string>

#include "framework/Variant.h"

namespace Orb00100 {

// The host's "\Dados\MenuFiscal" folder, created when it is missing; with a name, that file in it.
std::string MenuFolder();
std::string MenuFile(const std::string& name);
// A work file of the generators. At the drive root the Windows host keeps it at "c:\"; POSIX has
// no drive, so the host folder takes the root's place. Elsewhere the host folder stands for the
// current folder, which may be anywhere the host was started from.
std::string RootWorkFile(const std::string& name);
std::string WorkFile(const std::string& name);

// params[i] as text; EVariantError when there is no such element.
std::string TextAt(std::span<const orb::fw::Variant> params, std::size_t i);
const orb::fw::Variant& At(std::span<const orb::fw::Variant> params, std::size_t i);
// Stores value as element i of the host's result array (made an array when it is none).
void PutResult(orb::fw::Variant& result, std::size_t i, const orb::fw::Variant& value);

// Signs the file with the signature inside it ("1"); false when it could not be signed.
bool SignInside(const std::string& file);
// Signs a binary file ("0") and writes "EAD" + the signature into the companion; false when
// either failed.
bool SignWithCompanion(const std::string& file, const std::string& companion);

}  // namespace Orb00100
