#pragma once
// What the configuration operations share: the slot numbers as the host keeps them and the
// catalog texts they compare and program. Their printer calls only record a failure (no message
// shown, no coupon cancelled): the default StatusCheck.
#include <string>
#include <string_view>

#include "driver/DataModule.h"
#include "driver/PrinterCall.h"
#include "external/hostlib/HostLib.h"
#include "framework/NumberFormat.h"

namespace Orb00100::config {

// "01".."30": the slot number with a leading zero.
inline std::string SlotText(int slot) { return orb::hostlib::AjustaZero(orb::fw::IntToStr(slot), 2); }

inline std::string CatalogText(std::string_view key) { return DataModule().msgPadrao.Msg(key); }

}  // namespace Orb00100::config
