#pragma once
// The four tables of a reduction as the host stores them: the reduction row, the totals per
// payment method, the taxed totals per rate and the non-fiscal totalizers.
#include <string>
#include <string_view>

#include "framework/ClientDataSet.h"
#include "framework/DateTime.h"

namespace Orb00100 {

// Emptied and given their fields (recreated).
void RebuildReductionTable(orb::fw::ClientDataSet& t);
void RebuildPaymentTable(orb::fw::ClientDataSet& t);
void RebuildReductionTaxTable(orb::fw::ClientDataSet& t);
void RebuildNonFiscalTable(orb::fw::ClientDataSet& t);
// The tax table with its fields and open, keeping the rows it holds.
void EnsureReductionTaxTable(orb::fw::ClientDataSet& t);

// A taxed total. The same ecf, date, code and kind again replaces the row instead of doubling it.
void PutReductionTax(orb::fw::ClientDataSet& t, const std::string& ecf, orb::fw::TDateTime date,
                     const std::string& code, double rate, double base, double tax, const std::string& kind);

// The name of a folder or file in the file system's own form: UTF-8 on POSIX, the ANSI code page
// on Windows. utf8 is a literal of the sources.
std::string FileSystemName(std::string_view utf8);

}  // namespace Orb00100
