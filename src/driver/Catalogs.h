#pragma once
// The two message catalogs, in catalog order, duplicates included.
#include "external/hostlib/HostLib.h"

namespace Orb00100 {

void LoadCatalogs(orb::hostlib::TMessages& msgPadrao, orb::hostlib::TMessages& msgPadrao2);

}  // namespace Orb00100
