#pragma once
// The register-file generators of the auxiliary libraries, bound at the moment of use. The
// libraries are loaded by name and never released.
#include <string>

namespace Orb00100 {

// Binds Bematech_GeraTxtPorCOO and Bematech_GeraRegistrosTipoE; raises fw::Exception when the
// library or an entry point is missing, so a generator is never called unbound.
void BindMfd2Generators();
// Binds Bematech_RegistroTipoEMFD3, raising as above.
void BindMfd3Generator();

// The code of a number in the daily files' extension: 1..9 then A..Z; 0 as 1; none above 35.
std::string DayCode(int n);

}  // namespace Orb00100
