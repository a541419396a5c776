#pragma once
// The product sales report of the till opening or of the day, optionally grouped by tax
// situation with a tax summary.
#include <string>

#include "framework/ClientDataSet.h"

namespace Orb00100 {

// kind "D": the day's report, anything else the opening's. confirmMode "N" prints, "S" asks the
// operator first, anything else prints nothing. reportOpen false hands over the caller's open
// management report to be closed first; it comes back true. An empty product table prints
// nothing more. couponNumber receives the printer's coupon number of the report. Ledger "RG".
void Relatorio_Produto(const std::string& unused, const std::string& kind, const std::string& serial,
                       const std::string& counterId1, const std::string& counterId2, std::string& couponNumber,
                       orb::fw::ClientDataSet* products, const std::string& confirmMode, const std::string& grouped,
                       const std::string& scheme, bool& reportOpen);

}  // namespace Orb00100
