#pragma once
// Table service on the fiscal printer: the table-opening slip (a linked slip riding on a
// one-cent non-fiscal receipt) and the sale-register report of a table or order pad.
#include <string>

#include "framework/ClientDataSet.h"
#include "framework/Variant.h"

namespace Orb00100 {

// Registers a 0,01 receipt under the totalizer slot, opens a linked slip on it and prints the
// table's products (a data packet with CDARVPROD, NMPRODUTO, QTPRODCOMVEN, VRPRECCOMVEN), the
// service charge, surcharge and discount when above zero, and the total. Line totals are
// truncated to the cent. The slip is printed and closed whatever the opening gave; the answer is
// the opening's verdict.
bool Abertura_Mesa(const std::string& totalizer, const std::string& scheme, const std::string& unused1,
                   const std::string& table, const std::string& unused2, const std::string& emission,
                   const orb::fw::Variant& products, double discount, double unused3, double unused4,
                   double serviceCharge, double unused5, double total, double surcharge);
// The items (CDPROD, NMPROD, STQTDE, STVALOR) printed in a management report under the table
// heading (a four-character text) or the order-pad heading (any other). Line totals are rounded
// to the cent. Always true: the printer's refusals are reported by the status analysis.
bool RegistroVenda(const std::string& counterId1, const std::string& counterId2, const std::string& scheme,
                   orb::fw::ClientDataSet* items, const std::string& tableOrPad);

namespace slips {

// The two column-heading lines of the table slips, each with its line feed.
std::string ProductColumns();

}  // namespace slips

}  // namespace Orb00100
