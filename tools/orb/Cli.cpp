#include "Cli.h"

#include <iostream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>

#include "Bridge.h"
#include "HostFolders.h"
#include "platform/Platform.h"

namespace orb::cli {

namespace {

constexpr int kUsageError = 2;

const char* const kUsage =
    "usage: orb [--home DIR] [--system DIR] call NAME [ARGS_JSON]\n"
    "       orb [--home DIR] [--system DIR] run SCENARIO.json\n"
    "\n"
    "  call   calls one operation of the module; ARGS_JSON is a JSON array of its arguments\n"
    "  run    runs a scenario: a JSON array of requests, or one request per line (\"-\": standard input)\n"
    "\n"
    "  --home DIR     the host folder (default ./orb-home)\n"
    "  --system DIR   the system folder with Bemafi32.ini (default HOME/system)\n"
    "\n"
    "Each request and reply is one JSON object: {\"call\": NAME, \"args\": [...]}, {\"sim\": COMMAND, ...},\n"
    "{\"answers\": [\"S\", \"N\"]}, {\"settings\": {...}}, {\"file\" or \"system_file\": NAME, \"text\" or\n"
    "\"dataset\": ...}, {\"globals\": {...}}.\n";

std::string Trimmed(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t' || text[b] == '\r' || text[b] == '\n')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t' || text[e - 1] == '\r' || text[e - 1] == '\n')) --e;
    return std::string(text.substr(b, e - b));
}

void WriteReply(const Json& reply, std::ostream& out) {
    // Texts in replies are UTF-8 already; a byte that is not would be a fault of ours, and the
    // reply must still go out.
    out << reply.dump(-1, ' ', false, Json::error_handler_t::replace) << '\n';
    out.flush();
}

}  // namespace

std::vector<Step> ParseScenario(std::string_view text) {
    std::vector<Step> steps;
    const std::string whole = Trimmed(text);
    if (whole.empty()) return steps;
    // A whole document first: an array of steps, or a single step written over several lines.
    Json document = Json::parse(whole, nullptr, false);
    if (!document.is_discarded()) {
        if (document.is_array()) {
            for (Json& step : document) steps.push_back({std::move(step), {}});
        } else {
            steps.push_back({std::move(document), {}});
        }
        return steps;
    }
    if (whole.front() == '[') {
        // Meant as an array: report where it breaks rather than reading it as lines.
        try {
            Json unused = Json::parse(whole);
            static_cast<void>(unused);
        } catch (const std::exception& e) {
            steps.push_back({Json(), std::string("the scenario is not valid JSON: ") + e.what()});
        }
        return steps;
    }
    std::size_t lineNo = 0, pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        ++lineNo;
        const std::string line = Trimmed(text.substr(pos, end - pos));
        if (!line.empty()) {
            try {
                steps.push_back({Json::parse(line), {}});
            } catch (const std::exception& e) {
                steps.push_back({Json(), "line " + std::to_string(lineNo) + " is not valid JSON: " + e.what()});
            }
        }
        pos = end + 1;
    }
    return steps;
}

int RunSteps(const std::vector<Step>& steps, std::ostream& out) {
    int failed = 0;
    for (const Step& step : steps) {
        Json reply = step.parseError.empty() ? HandleRequest(step.request) : Json{{"error", step.parseError}};
        if (reply.contains("error")) ++failed;
        WriteReply(reply, out);
    }
    return failed;
}

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    std::string home, system;
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](const char* option, std::string& into) {
            std::string prefix = std::string(option) + "=";
            if (arg == option) {
                if (i + 1 >= argc) throw std::invalid_argument(std::string(option) + " needs a folder");
                into = argv[++i];
                return true;
            }
            if (arg.rfind(prefix, 0) == 0) {
                into = arg.substr(prefix.size());
                return true;
            }
            return false;
        };
        try {
            if (value("--home", home) || value("--system", system)) continue;
        } catch (const std::invalid_argument& e) {
            err << "orb: " << e.what() << "\n" << kUsage;
            return kUsageError;
        }
        if (arg == "--help" || arg == "-h") {
            out << kUsage;
            return 0;
        }
        if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            err << "orb: unknown option " << arg << "\n" << kUsage;
            return kUsageError;
        }
        words.push_back(arg);
    }
    if (words.empty()) {
        err << kUsage;
        return kUsageError;
    }
    const std::string verb = words[0];
    if (verb != "call" && verb != "run") {
        err << "orb: unknown verb " << verb << "\n" << kUsage;
        return kUsageError;
    }
    std::vector<Step> steps;
    if (verb == "call") {
        if (words.size() < 2 || words.size() > 3) {
            err << "orb: call takes an operation name and a JSON array of arguments\n" << kUsage;
            return kUsageError;
        }
        Json args = Json::array();
        if (words.size() == 3) {
            args = Json::parse(words[2], nullptr, false);
            if (args.is_discarded() || !args.is_array()) {
                err << "orb: the arguments of call are a JSON array, got: " << words[2] << "\n";
                return kUsageError;
            }
        }
        steps.push_back({Json{{"call", words[1]}, {"args", std::move(args)}}, {}});
    } else {
        if (words.size() != 2) {
            err << "orb: run takes one scenario file\n" << kUsage;
            return kUsageError;
        }
        std::string text;
        if (words[1] == "-") {
            text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        } else if (!platform::ReadFile(words[1], text)) {
            err << "orb: cannot read the scenario " << words[1] << "\n";
            return kUsageError;
        }
        steps = ParseScenario(text);
    }
    try {
        PrepareHostFolders(home, system);
    } catch (const std::exception& e) {
        err << "orb: " << e.what() << "\n";
        return kUsageError;
    }
    return RunSteps(steps, out) == 0 ? 0 : 1;
}

}  // namespace orb::cli
