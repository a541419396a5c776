#include "Verbs.h"

#include <ostream>
#include <stdexcept>
#include <string>

#include "DemoView.h"
#include "bridge/SimControl.h"
#include "exports/ExportTable.h"
#include "platform/Platform.h"

namespace orb::cli {

using bridge::Json;
using bridge::SimControl;

namespace {

// A printer command whose reply must come back without "error"; raises with the reason.
Json AskPrinter(const Json& command) {
    Json reply = SimControl(command);
    if (reply.contains("error")) {
        const Json& error = reply["error"];
        throw std::runtime_error("the virtual printer refused \"" + command["sim"].get<std::string>() +
                                 "\": " + (error.is_string() ? error.get<std::string>() : error.dump()));
    }
    return reply;
}

}  // namespace

int ShowRoll(bool clear, TerminalCharset charset, std::ostream& out, std::ostream& err) {
    try {
        Json command{{"sim", "roll"}};
        if (clear) command["clear"] = true;
        const Json reply = AskPrinter(command);
        if (!reply.contains("roll") || !reply["roll"].is_string())
            throw std::runtime_error("the virtual printer's reply has no roll: " + reply.dump());
        // The paper as it reads: the printer's ESC commands must not reach the terminal.
        const std::string roll = demo::PaperText(reply["roll"].get<std::string>());
        if (roll.empty()) {
            err << "orb: the printer has printed nothing since it was reset or its roll was cleared\n";
            return 1;
        }
        out << Utf8ForTerminal(roll, charset);
        if (roll.back() != '\n') out << '\n';
        out.flush();
        if (clear) err << "orb: the roll is cleared\n";
        return 0;
    } catch (const std::exception& e) {
        err << "orb: " << e.what() << "\n";
        return 1;
    }
}

int ShowLog(TerminalCharset charset, std::ostream& out, std::ostream& err) {
    const std::string path = exports::DebugLogPath();
    std::string log;
    if (!platform::FileExists(path)) {
        err << "orb: the module has written no debug log this month yet (" << path << ")\n";
        return 1;
    }
    if (!platform::ReadFile(path, log)) {
        err << "orb: cannot read " << path << ": " << platform::LastErrorMessage() << "\n";
        return 1;
    }
    out << Cp1252ForTerminal(log, charset);
    if (!log.empty() && log.back() != '\n') out << '\n';
    out.flush();
    return 0;
}

int ShowState(std::ostream& out, std::ostream& err) {
    try {
        const Json state = AskPrinter(Json{{"sim", "state"}});
        out << state.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
        out.flush();
        return 0;
    } catch (const std::exception& e) {
        err << "orb: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace orb::cli
