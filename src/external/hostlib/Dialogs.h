#pragma once
// The module's two uses of the host's message dialog: a message the operator reads, and a yes/no
// question. Both go through Mensagem with the fixed arguments the module always passes.
#include <string_view>

namespace orb::hostlib {

enum class DialogKind { Notice = 0, Confirmation = 1, MonthlyFile = 2, Error = 3 };

void Inform(std::string_view scheme, std::string_view text, DialogKind kind);
// True when the operator answered yes.
bool AskYesNo(std::string_view scheme, std::string_view text, DialogKind kind = DialogKind::Error);

}  // namespace orb::hostlib
