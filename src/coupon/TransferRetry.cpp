#include "coupon/TransferRetry.h"

#include "external/hostlib/Dialogs.h"
#include "external/hostlib/HostLib.h"

namespace Orb00100 {

bool AskPrintAgain(const std::string& scheme, const std::string& text) {
    return orb::hostlib::AskYesNo(scheme, text);
}

}  // namespace Orb00100
