#include "Dialogs.h"

#include <istream>
#include <ostream>
#include <string>

#include "external/hostlib/HostLib.h"

namespace orb::cli {

namespace {

// The module's texts start and end with line breaks of their own dialog layout; on a terminal
// they would only leave empty lines.
std::string Shown(const Terminal& terminal, std::string_view cp1252Text) {
    std::string text = Cp1252ForTerminal(cp1252Text, terminal.charset);
    const std::size_t first = text.find_first_not_of("\n ");
    if (first == std::string::npos) return std::string();
    const std::size_t last = text.find_last_not_of("\n ");
    return text.substr(first, last - first + 1);
}

std::string Trimmed(const std::string& line) {
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos) return std::string();
    return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

bool IsQuestion(const hostlib::Dialog& dialog) { return dialog.question == "S" || dialog.question == "s"; }

}  // namespace

void ShowMessage(const Terminal& terminal, std::string_view cp1252Text) {
    *terminal.out << Shown(terminal, cp1252Text) << "\n";
    terminal.out->flush();
}

std::optional<bool> AskOperator(const Terminal& terminal, std::string_view cp1252Text) {
    std::ostream& out = *terminal.out;
    out << Shown(terminal, cp1252Text) << "\n(S/N) ";
    out.flush();
    for (std::string line; std::getline(*terminal.in, line);) {
        const std::string answer = Trimmed(line);
        if (answer == "S" || answer == "s") return true;
        if (answer == "N" || answer == "n") return false;
        out << "Please answer S or N (S/N) ";
        out.flush();
    }
    out << "\n";
    out.flush();
    return std::nullopt;
}

void InstallDialogs(std::optional<Terminal> terminal) {
    hostlib::Hooks hooks;
    hooks.dialog = [terminal](hostlib::Dialog& dialog) {
        if (!IsQuestion(dialog)) {
            if (terminal) ShowMessage(*terminal, dialog.text);
            dialog.answer = true;
            return true;
        }
        auto& queue = hostlib::Recorded().queuedAnswers;
        if (!queue.empty()) {
            dialog.answer = queue.front();
            queue.erase(queue.begin());
            if (terminal) {
                // The operator sees what was asked and what the queue answered for them.
                *terminal->out << Shown(*terminal, dialog.text) << "\n(S/N) " << (dialog.answer ? "S" : "N")
                               << " (queued answer)\n";
                terminal->out->flush();
            }
            return dialog.answer;
        }
        if (terminal) {
            if (const std::optional<bool> answer = AskOperator(*terminal, dialog.text)) {
                dialog.answer = *answer;
                return dialog.answer;
            }
        }
        dialog.answered = false;
        dialog.answer = false;
        return false;
    };
    hostlib::InstallHooks(std::move(hooks));
}

}  // namespace orb::cli
