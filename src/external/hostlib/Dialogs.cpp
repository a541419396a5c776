#include "external/hostlib/Dialogs.h"

#include "external/hostlib/HostLib.h"

namespace orb::hostlib {

void Inform(std::string_view scheme, std::string_view text, DialogKind kind) {
    Mensagem(text, "", "N", "N", static_cast<int>(kind), "", scheme, 0, nullptr);
}

bool AskYesNo(std::string_view scheme, std::string_view text, DialogKind kind) {
    return Mensagem(text, "", "N", "S", static_cast<int>(kind), "", scheme, 0, nullptr);
}

}  // namespace orb::hostlib
