#pragma once
// The command line: `orb [--home DIR] [--system DIR] call NAME [ARGS_JSON]` and
// `orb [--home DIR] [--system DIR] run SCENARIO.json` (a JSON array of steps, or one JSON object
// per line; "-" reads standard input). Replies go to standard output, one JSON line each.
//
// Exit status: 0 when every reply came back without "error", 1 when one carried it, 2 when the
// command line, the scenario file or the host folders were unusable.
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "JsonValues.h"

namespace orb::cli {

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// One step of a scenario: a request, or the reason it could not be read (the runner answers
// that in its place and goes on).
struct Step {
    Json request;
    std::string parseError;
};
std::vector<Step> ParseScenario(std::string_view text);

// Runs every step, writing one reply line per step; answers how many replies carried "error".
int RunSteps(const std::vector<Step>& steps, std::ostream& out);

}  // namespace orb::cli
