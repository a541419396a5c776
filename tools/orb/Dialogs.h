#pragma once
// The module's dialogs as the command-line host answers them.
#include <optional>
#include <string_view>

#include "Terminal.h"

namespace orb::cli {

// Installs the dialog hook: a question takes the next queued answer; without one it is put to
// the operator on the terminal, when there is one; otherwise (and when the terminal ends before
// an answer) it is answered "N" and marked unanswered. Plain messages are shown on the terminal
// too. Every dialog is still recorded, so replies list it under "dialogs".
void InstallDialogs(std::optional<Terminal> terminal);

// Shows the text and asks "(S/N)" until the operator types S or N (either case, blanks around
// it allowed). Nothing when the terminal's input ends first.
std::optional<bool> AskOperator(const Terminal& terminal, std::string_view cp1252Text);
void ShowMessage(const Terminal& terminal, std::string_view cp1252Text);

}  // namespace orb::cli
