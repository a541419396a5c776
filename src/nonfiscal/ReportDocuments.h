#pragma once
// A whole host-supplied text printed as one management report: opened, sent in pieces of whole
// lines, closed and recorded.
#include <string>
#include <string_view>
#include <vector>

namespace Orb00100 {

// Records "RG" only when the report closed. Returns the closing's verdict; exceptions reach the
// host. The sixth argument is not used.
bool Relatorio_Generico(const std::string& scheme, const std::string& counterId1, const std::string& counterId2,
                        const std::string& text, const std::string& serial, const std::string& unused);
// An exchange slip: no ledger record. Returns the closing's verdict.
bool Cupom_Troca(const std::string& scheme, const std::string& counterId1, const std::string& counterId2,
                 const std::string& text);
// A table check under a numbered report (the plain report when the printer has none), counted in
// the report-counter record. couponNumber receives the printer's coupon number. Always recorded:
// "CM" carrying the table mark, or "RG" without one. False on any exception.
bool Conferencia_Formatada(const std::string& scheme, const std::string& counterId1, const std::string& counterId2,
                           const std::string& serial, const std::string& reportIndex, const std::string& tableMark,
                           std::string& couponNumber, const std::string& text);
// Note the argument order: the scheme comes third. Records "RG" only when the report closed.
// False on any exception.
bool imprimeTipoRece(const std::string& counterId1, const std::string& counterId2, const std::string& scheme,
                     const std::string& serial, const std::string& text, const std::string& reportIndex);

namespace nonfiscal {

// The text in the pieces an open report is sent in: whole lines (each with its line feed), a
// piece closed as soon as it holds 500 characters or more. A line longer than that goes whole;
// a text without a final line feed ends with a piece without one; an empty text gives none.
std::vector<std::string> ReportPieces(std::string_view text);
// Prints the text into the open report, piece by piece; a refused piece does not stop the next.
void PrintReportText(const std::string& scheme, std::string_view text);

}  // namespace nonfiscal

}  // namespace Orb00100
