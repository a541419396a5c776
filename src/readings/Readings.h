#pragma once
// The printer's fiscal readings: the X reading (the day's totals, the day goes on) and the Z
// reduction (the day closed into the fiscal memory), each recorded in the non-fiscal ledger.
#include <string>

namespace Orb00100 {

// The serial only goes to the ledger record ("LX"); the second and fourth texts are not used.
bool Leitura_X_Imp(const std::string& serial, const std::string& unused1, const std::string& scheme,
                   const std::string& unused2);
// Captures the movement date being closed into stDataCat ("DDMMYY"; six blanks when the printer
// gives none) for the CAT52 file, then reduces on the printer's own clock. Ledger record "RZ".
bool Reducao_Z_Imp(const std::string& serial, const std::string& unused1, const std::string& scheme,
                   const std::string& unused2);

}  // namespace Orb00100
