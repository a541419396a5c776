#pragma once
// The two message catalogs, in catalog order, duplicates included.
#include "external/hostlib/HostLib.h"

namespace Orb00100 {

void LoadCatalogs(orb::hostlib::TMessages& msgPadrao, orb::hostlib::TMessages& msgPadrao2);

// Each catalog on its own: the general vocabulary and the file-generation messages. Both append
// to what the catalog already holds.
void LoadCatalogPadrao(orb::hostlib::TMessages& catalog);
void LoadCatalogPadrao2(orb::hostlib::TMessages& catalog);

}  // namespace Orb00100
