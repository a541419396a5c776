#pragma once
// The printouts that identify the certified point-of-sale software to an inspector: who made
// it and which files it consists of, with their digests, and the parameters it runs under.
#include <span>
#include <string>

#include "framework/Variant.h"

namespace Orb00100 {

// params: counter id 1, counter id 2, scheme, the identification data packet (enciphered
// fields), the data packet of the authorised printers (NRSERIEIMPRPERS), the printer serial for
// the ledger, the report index. The result is not written. Records "RG" when the report
// closed. Any failure is shown to the operator and the report is closed.
void ImprimeDadosPaf(std::span<const orb::fw::Variant> params, orb::fw::Variant& result);
void ImprimeParametrosConfig(const std::string& scheme, const std::string& counterId1, const std::string& counterId2);

}  // namespace Orb00100
