#pragma once
// The command line: `orb [--home DIR] [--system DIR] VERB ...` with the verbs call, run, serve,
// roll, log, state, demo and help (Help.h holds their texts).
//
// Exit status: 0 when every reply came back without "error", 1 when one carried it (or a
// convenience verb had nothing to show), 2 when the command line, the scenario file or the host
// folders were unusable.
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/JsonValues.h"

namespace orb::cli {

// The command-line host speaks the module's bridge: its values and requests are the host's.
using namespace orb::bridge;

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// One step of a scenario: a request, or the reason it could not be read (the runner answers
// that in its place and goes on).
struct Step {
    Json request;
    std::string parseError;
};
// A JSON array of steps, a single object (over any number of lines), or one object per line.
std::vector<Step> ParseScenario(std::string_view text);
// One line of a scenario or of the service's input (lineNo counts from 1, for the message);
// nothing for a blank line.
std::optional<Step> StepFromLine(std::string_view line, std::size_t lineNo);

// Runs every step, writing one reply line per step; answers how many replies carried "error".
int RunSteps(const std::vector<Step>& steps, std::ostream& out);
// The answer to one step: the bridge's reply, or {"error"} for a step that could not be read.
Json AnswerStep(const Step& step);
// One reply as one line, flushed at once: whoever reads it may be waiting for it.
void WriteReply(const Json& reply, std::ostream& out);

}  // namespace orb::cli
