#pragma once
// The two message catalogs, in catalog order, duplicates included.
#include "external/hostlib/HostLib.h"

namespace Orb00100 {

// The one line naming where the printer's maker can be reached: the coupon's footer, the slips and
// the catalog's "Corvane" entry all print it. Our own text: the module names no outside company.
inline constexpr const char* kMakerContactLine = "Suporte do ECF: consulte o fabricante";

void LoadCatalogs(orb::hostlib::TMessages& msgPadrao, orb::hostlib::TMessages& msgPadrao2);

// Each catalog on its own: the general vocabulary and the file-generation messages. Both append
// to what the catalog already holds.
void LoadCatalogPadrao(orb::hostlib::TMessages& catalog);
void LoadCatalogPadrao2(orb::hostlib::TMessages& catalog);

}  // namespace Orb00100
