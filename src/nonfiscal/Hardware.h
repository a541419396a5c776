#pragma once
// The small devices of the fiscal printer: the cash drawer, the paper cutter and bar codes.
#include <string>

namespace Orb00100 {

// Opens the drawer. The flag is not used.
bool Abre_Gaveta_Imp(const std::string& scheme, bool unused);
// "01" while the drawer is open, "00" when it is closed, "" when the printer could not say.
std::string Estado_Gaveta_Imp(const std::string& scheme);
// Feeds five lines and cuts the paper. The number is not used.
bool Guilhotina(const std::string& scheme, int unused);
// Prints code as a bar code of the given type ("EAN13", "CODE128", "PDF417", ...; exact, upper
// case) in a management report of its own, opened with the two counter ids. Printer models other
// than 18, 19, 27 and 34 print no bar codes: true at once. An unknown type prints an empty report.
// A refused bar code is told to the operator and leaves the report open.
bool CodigoBarra(const std::string& scheme, const std::string& counterId1, const std::string& counterId2,
                 int printerModel, const std::string& code, const std::string& type);

}  // namespace Orb00100
