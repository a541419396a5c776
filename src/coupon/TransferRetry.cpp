#include "coupon/TransferRetry.h"

#include "external/hostlib/HostLib.h"

namespace Orb00100 {

bool AskPrintAgain(const std::string& scheme, const std::string& text) {
    return orb::hostlib::Mensagem(text, "", "N", "S", 3, "", scheme, 0, nullptr);
}

}  // namespace Orb00100
