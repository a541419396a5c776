#pragma once
// The fiscal files handed to the tax authority: the memory downloads and the readable mirror of
// the detail tape, the type-E and daily register files, and the Sintegra and SPED data. The
// printer's libraries do the encoding; these operations choose entry points, arguments, file
// names and signatures, and keep the results in the fiscal-menu folder beside the host.
#include <span>
#include <string>

#include "framework/DateTime.h"
#include "framework/StringList.h"
#include "framework/Variant.h"

namespace Orb00100 {

// The register file of a memory. params: 0 range kind ("D" dates, "C" counters, other: all),
// 1 start, 2 end, 3 memory ("MF" or "MFD"), 4 the identification the library puts into its file
// names, 12 raw-download switch. The file found is copied into the fiscal-menu folder and signed;
// result[0] receives the library's own file name (empty for the raw download).
bool Gera_ArquivoMFD(std::span<const orb::fw::Variant> params, orb::fw::Variant& result);
// The readable mirror of the detail tape, "Espelho_MFD_<ddmmyyyyhhnnss>.txt", signed.
// params: 0 scheme, 6 start, 7 end, 8 kind ("1" dates, "2" counters). result is not written.
bool geraEspelhoMfd(std::span<const orb::fw::Variant> params, orb::fw::Variant& result);
// The month's binary downloads of both memories, "<prefix>_<yyyymmdd>_<hhmmss>.MF" and ".MFD",
// each with its signature in a companion ".txt" file.
bool GeraBinMes(orb::fw::TDateTime start, orb::fw::TDateTime end, const std::string& prefix);

// The type-E register file "AC17-04<yyyymmddhhnnss>.txt"; rangeKind "1": start and end are
// COOs, otherwise dates. Answers the file name, or "ERRO_" and what went wrong.
std::string geraRegistroTipoE(const std::string& start, const std::string& end, const std::string& rangeKind,
                              const std::string& companyName, const std::string& address);
// The daily register files of a range of days. params: 0 the parameters' data packet, 1 first
// day, 2 last day, 4 printer type (34: the newer generator). files receives a new list, owned by
// the caller, of the files made.
bool GeraCatGenerica(std::span<const orb::fw::Variant> params, orb::fw::StringList*& files);

// The month's Sintegra report. params: 0 scheme, 1 a day of the month, 3 file, 4..13 the
// company's identification (name, address, number, complement, district, city, zip, phone,
// fax, contact).
bool RelatorioSintegraMFD(std::span<const orb::fw::Variant> params, orb::fw::Variant& result);
// The SPED registers of a range of days. params: 0 scheme, 1 first day, 2 last day, 4 file.
bool GeraRegistrosSpedMFD(std::span<const orb::fw::Variant> params, orb::fw::Variant& result);
// The gross sales of a range of days from the printer's Sintegra data into result[0].
// params: 0 scheme, 1 first day, 2 last day.
bool RetornaDadosSintegraMFD(std::span<const orb::fw::Variant> params, orb::fw::Variant& result);

}  // namespace Orb00100
