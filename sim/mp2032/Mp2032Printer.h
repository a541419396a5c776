#pragma once
// The model behind the non-fiscal printer's entry points.
#include <string>
#include <string_view>
#include <vector>

namespace orb::sim::mp2032 {

// The ports where a printer answers, upper case; {"*"} for every port.
std::vector<std::string> PresentPorts();
bool PortPresent(std::string_view port);

// What a byte stream looks like on paper: line ends ("\r\n", "\n\r", "\n") become one "\n",
// a lone carriage return moves nothing, other control bytes show as <1B>; text becomes UTF-8.
std::string RenderOnPaper(std::string_view bytes);

std::string RollPath();
std::string JournalPath();
void AppendToRoll(const std::string& utf8);
// One line of the journal; args is a JSON array text.
void AppendToJournal(const std::string& entry, const std::string& argsJson, int result);

// The port opened by IniciaPorta in this process ("" when closed).
struct PortState {
    bool open = false;
    std::string port;
};
PortState& State();

}  // namespace orb::sim::mp2032
