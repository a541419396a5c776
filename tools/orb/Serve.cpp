#include "Serve.h"

#include <istream>
#include <ostream>
#include <string>

#include "Cli.h"

namespace orb::cli {

ServeOutcome Serve(std::istream& in, std::ostream& out) {
    ServeOutcome outcome;
    std::size_t lineNo = 0;
    for (std::string line; std::getline(in, line);) {
        if (++lineNo == 1 && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
        const std::optional<Step> step = StepFromLine(line, lineNo);
        if (!step) continue;
        const Json reply = AnswerStep(*step);
        ++outcome.replies;
        if (reply.contains("error")) ++outcome.errors;
        WriteReply(reply, out);
        if (!out) {
            outcome.outputLost = true;
            break;
        }
    }
    return outcome;
}

}  // namespace orb::cli
