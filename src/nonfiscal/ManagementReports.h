#pragma once
// Management reports, the printer's free-text document: opening (plain or under a numbered
// title), printing into it and closing it.
#include <string>

namespace Orb00100 {

// Opens a plain report. A report the printer still holds open (extended status exactly 4) is
// closed first. With a non-empty counter flag ("incCer") a successful opening is handed to the
// host's report-counter record with the two counter ids and the movement date. The fourth
// argument is not used. The verdict is shown on a staff-operated terminal only.
bool Relatorio_Gerencial_Imp(const std::string& scheme, const std::string& counterId1, const std::string& counterId2,
                             const std::string& unused, const std::string& counterFlag);
// Opens the report under a numbered title ("01".."30"). Nothing is shown on failure, so a printer
// without numbered reports fails quietly and the caller falls back to the plain opening.
bool Abre_RelGerencial_MFD(const std::string& scheme, const std::string& counterId1, const std::string& counterId2,
                           const std::string& reportIndex, const std::string& counterFlag);
// Prints text into a numbered report.
bool Imprime_RelGerencial_MFD(const std::string& scheme, const std::string& text);
// Closes whatever report or linked slip the printer holds open; true at once, sending nothing,
// when nothing is open.
bool FechRelatGerenc(const std::string& scheme, bool show, bool cancelOpenCoupon);

namespace nonfiscal {

// The printer's extended status (0 when it cannot be read): 2 a linked slip open, 4 a report
// open, 64 a linked slip still reversible.
int ExtendedStatus();

}  // namespace nonfiscal

}  // namespace Orb00100
