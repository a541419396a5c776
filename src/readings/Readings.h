#pragma once
// The printer's fiscal readings: the X reading (the day's totals, the day goes on), the Z
// reduction (the day closed into the fiscal memory), the readings of the fiscal memory (printed,
// or written to a file that is kept signed in the fiscal-menu folder), the memory download, the
// last reduction read back, and the reduction export that captures the day before its Z.
#include <span>
#include <string>

#include "framework/ClientDataSet.h"
#include "framework/DateTime.h"
#include "framework/Variant.h"

namespace Orb00100 {

// The serial only goes to the ledger record ("LX"); the second and fourth texts are not used.
bool Leitura_X_Imp(const std::string& serial, const std::string& unused1, const std::string& scheme,
                   const std::string& unused2);
// Captures the movement date being closed into stDataCat ("DDMMYY"; six blanks when the printer
// gives none) for the CAT52 file, then reduces on the printer's own clock. Ledger record "RZ".
bool Reducao_Z_Imp(const std::string& serial, const std::string& unused1, const std::string& scheme,
                   const std::string& unused2);

// Printed fiscal-memory reading: kind "D" a range of dates, "R" a range of reductions (exactly;
// any other kind sends nothing and answers false). No ledger record.
bool Memoria_Fiscal_Imp(const std::string& scheme, const std::string& kind, const std::string& start,
                        const std::string& end, const std::string& unused);
// Printed fiscal-memory reading of the detail-memory printers: kind "DATA" a range of dates, any
// other a range of reductions; flag "C" the complete reading. Ledger record "MF".
bool EmiteLeituraMemoriaFiscal(const std::string& scheme, const std::string& start, const std::string& end,
                               const std::string& flag, const std::string& kind, const std::string& serial);
// The same reading written by the printer's library as Retorno.txt, copied to
// "\Dados\MenuFiscal\LMFC_<stamp>.txt" (flag "C") or "LMFS_<stamp>.txt" beside the host and
// signed. params: 0 scheme, 1 start, 2 end, 3 flag, 4 kind, 9 serial. True only for a file kept
// and signed (then ledger record "MF"); result is not written.
bool EmiteLeituraMemoriaFiscalSerial(std::span<const orb::fw::Variant> params, orb::fw::Variant& result);
// The fiscal memory downloaded to the file; true exactly when the printer answered 1.
bool GERA_MF(const std::string& unused, const std::string& fileName);

// What retornaPathBematech answers when Bemafi32.ini is not in the system folder.
inline constexpr const char* kIniNotFound = "ARQ_N_ENC";
// The folder the printer's library writes its files into ("Path" of the system folder's
// Bemafi32.ini), always ending in "\"; kIniNotFound without the file.
std::string retornaPathBematech();

// The last reduction: params[0] the scheme, params[1] the printer type as decimal text (not
// caught when it is none). result is the host's array of at least 49 elements; taxes receives the
// taxed totals per rate slot (printer types other than 34).
bool DadosUltimaRedZ(std::span<const orb::fw::Variant> params, orb::fw::Variant& result,
                     orb::fw::ClientDataSet*& taxes);
// The taxed totals of the last reduction's comma record into the reduction tax table, under the
// ecf and date given (a second capture replaces its rows); taxes receives the whole table.
void RetornaImpostoIcms(const std::string& ecf, orb::fw::TDateTime reductionDate, orb::fw::ClientDataSet*& taxes);

// The day's figures before the Z reduction into the reduction tables, copied into the four
// in-out tables. False when the figures could not be read (the error is shown).
bool ExportRedZ(const std::string& unused, const std::string& scheme, const std::string& ecf, int printerType,
                orb::fw::ClientDataSet* paymentTypes, orb::fw::ClientDataSet*& reduction,
                orb::fw::ClientDataSet*& payments, orb::fw::ClientDataSet*& taxes, orb::fw::ClientDataSet*& nonFiscal);

}  // namespace Orb00100
