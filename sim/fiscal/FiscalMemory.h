#pragma once
// The fiscal memory of the virtual printer and what it gives out of it: the day's figures as a
// reduction records them, the texts of the readings (the X reading sent to the computer, the
// fiscal-memory readings), the fixed records of the last reduction and the binary download.
// Texts are code page 1252; lines are 48 columns.
#include <cstdint>
#include <string>
#include <vector>

#include "fiscal/FiscalCall.h"

namespace orb::sim::fiscal {

// The open day as a reduction taken now would record it (counters as they stand).
Reduction DaySnapshot(const State& s, const Moment& now);

// The tax on a rate's net sales, truncated to the cent as the printer does.
std::int64_t TaxOf(const Rate& rate);
// Net sales: gross less cancellations and discounts.
std::int64_t NetOf(const Reduction& r);
// Net sales under the service-tax rates.
std::int64_t ServiceSalesOf(const Reduction& r);

// The X reading the printer sends to the computer. Models 14 and 18 write their older layout
// (dashed headings, the not-taxed block of its own); the others the newer one, model 19 with
// its headings centred.
std::vector<std::string> XReadingLines(const State& s, const Reduction& day);

// A fiscal-memory reading over the records selected: every record in the complete reading,
// the period's totals in both.
std::vector<std::string> MemoryReadingLines(const State& s, const std::vector<Reduction>& records, bool complete,
                                            const std::string& rangeLine);

// Selects the records whose movement date (by date) or number (by reduction) lies in the range.
// False when the range cannot be read: dates DDMMYY, DDMMYYYY, DD/MM/YY or DD/MM/YYYY; reduction
// numbers of up to four digits; the start after the end.
bool SelectByDate(const State& s, const std::string& start, const std::string& end, std::vector<Reduction>& out,
                  std::string& rangeLine);
bool SelectByNumber(const State& s, const std::string& start, const std::string& end, std::vector<Reduction>& out,
                    std::string& rangeLine);

// The last reduction (an empty record, all zeros, before the first one).
Reduction LastReduction(const State& s);
// The fixed record of the detail-memory models: 1,278 characters, fields each followed by ",".
std::string DetailRecord(const Reduction& r);
// The comma record: counters, dates and totals, then the taxed totals "T" + slot letter + rate +
// "," + base + ",", then the not-taxed "F", "I", "N" and the service-tax "S" entries.
std::string CommaRecord(const Reduction& r);
constexpr std::size_t kLastReductionWidth = 1278;
// The record of the older models, 631 characters.
std::string ShortRecord(const Reduction& r);

// The whole fiscal memory as the binary download writes it.
std::string MemoryImage(const State& s);

// The library's output folder: "Path" of the system folder's Bemafi32.ini, else the system folder.
std::string OutputFolder();
// Writes the lines, CR LF after each, as the output folder's Retorno.txt. False when it cannot.
bool WriteReturnFile(const std::vector<std::string>& lines);

}  // namespace orb::sim::fiscal
