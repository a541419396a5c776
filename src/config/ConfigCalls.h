#pragma once
// What the configuration operations share: the slot numbers as the host keeps them, the
// catalog texts they compare and program, and the verdict of a call whose failure is only
// recorded (no message shown, no coupon cancelled, no low-paper warning).
#include <string>
#include <string_view>

#include "driver/DataModule.h"
#include "driver/StatusAnalysis.h"
#include "external/hostlib/HostLib.h"
#include "framework/NumberFormat.h"

namespace Orb00100::config {

// "01".."30": the slot number with a leading zero.
inline std::string SlotText(int slot) { return orb::hostlib::AjustaZero(orb::fw::IntToStr(slot), 2); }

inline std::string CatalogText(std::string_view key) { return DataModule().msgPadrao.Msg(key); }

inline bool Recorded(const std::string& scheme, int returnCode) {
    return AnalisaRetorno(scheme, returnCode, false, false, false);
}

}  // namespace Orb00100::config
