#pragma once
// What the library generates from the printer's memories: the detail-tape download and the
// register files built from it, and the tax-register data of the fiscal memory.
#include <string>
#include <vector>

#include "common/DetailDownload.h"
#include "fiscal/FiscalState.h"

namespace orb::sim::fiscal {

enum class Range { Dates, Coo, All };
// The documents and reductions of the range: dates (ddmmyyyy, dd/mm/yyyy) of the document and of
// the reduction's movement day, or COOs. False when the range does not read or runs backwards.
bool SelectDetail(const State& s, Range range, const std::string& start, const std::string& end, Download& out,
                  std::string& rangeLine);
// A name without a folder is the library's output folder's.
std::string LibraryFile(const std::string& name);
// The day code of the daily register files: 1..9 then A..Z; 0 reads as the first; above 35 none.
std::string DayCode(int n);

// The Sintegra records (126 columns) of the reductions whose movement falls in the month.
std::vector<std::string> SintegraRecords(const State& s, const std::string& month, const std::string& year,
                                         const std::vector<std::string>& identity);
// The SPED records ("|" fields) of the reductions whose movement falls in first..last (yyyymmdd).
std::vector<std::string> SpedRecords(const State& s, const std::string& firstYmd, const std::string& lastYmd,
                                     const std::string& cfop);
// The summary of the reductions of first..last: 75 columns of counters, then the gross sales
// (16 digits, hundredths, columns 76 to 91) and the grand total.
std::string SintegraSummary(const State& s, const std::string& firstYmd, const std::string& lastYmd);

}  // namespace orb::sim::fiscal
