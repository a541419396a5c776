#pragma once
// Who the printer is and whether it may be used: its identity and dates, the clock check, the
// national model code for the fiscal files, and the layout of the non-fiscal printer models.
#include <string>

#include "framework/DateTime.h"
#include "framework/Variant.h"

namespace Orb00100 {

// Named parameters ESQUEMA, DATAATUIMP, ECFIMP, REDIMP, SERIEIMP, DATAIMP; on return params holds
// DATAATUIMP, ECFIMP, REDIMP, SERIEIMP and DATAIMP, in that order. Repairs an "Impressora=0" in
// the maker's Bemafi32.ini (and then asks the host to close). False when the printer left one
// of its answers blank.
bool Carrega_Dados_Impressora(orb::fw::Variant& params);

// Compares the printer's clock (DDMMYYHHMM[SS], read from the printer when readPrinter) with
// the computer's and refuses a difference of more than 15 minutes. fiscalDate receives the
// movement date (DDMMYY) or today.
bool VerificaData(const std::string& scheme, orb::fw::TDateTime& fiscalDate, const std::string& printerDateTime,
                  const std::string& movementDate, bool readPrinter);

// The six-digit national code of the printer model and firmware version ("000000" unknown).
std::string Codigo_Nacional_ECF(int model, const std::string& firmwareVersion);

// Line width, line end and control string of a non-fiscal printer model.
void DefineParametrosImpressora(unsigned char& columns, std::string& lineEnd, std::string& controlString,
                                const std::string& model);

// The maker's configuration file in the system folder.
std::string Bemafi32IniPath();

}  // namespace Orb00100
