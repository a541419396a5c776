#include "Cli.h"

#include <iostream>
#include <iterator>
#include <ostream>
#include <string>

#include "Demo.h"
#include "Dialogs.h"
#include "Help.h"
#include "HostFolders.h"
#include "Serve.h"
#include "Terminal.h"
#include "Verbs.h"
#include "platform/Platform.h"

namespace orb::cli {

namespace {

constexpr int kUsageError = 2;

struct CommandLine {
    std::string home, system;
    std::string verb;
    std::vector<std::string> words;  // after the verb
    bool help = false;
    bool clear = false;
    bool reference = false;  // help --reference
};

// A command line that cannot be run; the message says why.
struct UsageError {
    std::string message;
    std::string verb;  // the verb whose usage to show, if known
};

CommandLine Parse(int argc, const char* const* argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char* option, std::string& into) {
            const std::string prefix = std::string(option) + "=";
            if (arg == option) {
                if (i + 1 >= argc) throw UsageError{std::string(option) + " needs a folder", line.verb};
                into = argv[++i];
                return true;
            }
            if (arg.starts_with(prefix)) {
                into = arg.substr(prefix.size());
                return true;
            }
            return false;
        };
        if (value("--home", line.home) || value("--system", line.system)) continue;
        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--clear") {
            line.clear = true;
        } else if (arg == "--reference") {
            line.reference = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw UsageError{"unknown option " + arg, line.verb};
        } else if (line.verb.empty()) {
            line.verb = arg;
        } else {
            line.words.push_back(arg);
        }
    }
    if (!line.verb.empty() && !IsVerb(line.verb)) throw UsageError{"unknown verb " + line.verb, ""};
    if (line.clear && line.verb != "roll") throw UsageError{"unknown option --clear", line.verb};
    if (line.reference && (line.verb != "help" || !line.words.empty()))
        throw UsageError{"--reference goes with help alone", line.verb};
    return line;
}

void ShowUsage(const std::string& verb, std::ostream& err) {
    if (verb.empty()) {
        err << Synopsis() << "\"orb help\" tells more.\n";
        return;
    }
    const std::string help = VerbHelp(verb);
    err << help.substr(0, help.find('\n') + 1) << "\"orb help " << verb << "\" tells more.\n";
}

// The folders every verb but help works in; a failure is a usage error. The verbs that run the
// module (`exclusive`) also hold the host folder for the rest of the process: two modules writing
// one debug log and one set of recovery files would each undo what the other recovers.
bool Prepare(const CommandLine& line, HostFolders& folders, std::ostream& err, bool exclusive = false) {
    try {
        folders = PrepareHostFolders(line.home, line.system);
        if (exclusive) {
            const std::string lockFile = platform::JoinPath(folders.home, "orb.lock");
            if (platform::TryLockFile(lockFile) == 0) {
                err << "orb: another orb process is using the home folder " << folders.home << " (it holds " << lockFile
                    << "); give each process a home folder of its own\n";
                return false;
            }
        }
        return true;
    } catch (const std::exception& e) {
        err << "orb: " << e.what() << "\n";
        return false;
    }
}

int Help(const CommandLine& line, std::ostream& out, std::ostream& err) {
    if (line.reference) {
        out << ReferenceDocument();
        return 0;
    }
    std::string topic = line.verb == "help" ? std::string() : line.verb;
    if (line.verb == "help" && !line.words.empty()) {
        if (line.words.size() > 1 || HelpTopic(line.words[0]).empty()) {
            err << "orb: help takes one verb or the name of an operation (\"orb help call\" lists them); the verbs:";
            for (const std::string& verb : Verbs()) err << " " << verb;
            err << "\n";
            return kUsageError;
        }
        topic = line.words[0];
    }
    out << (topic.empty() ? GeneralUsage() : HelpTopic(topic));
    return 0;
}

int Call(const CommandLine& line, std::ostream& out, std::ostream& err) {
    if (line.words.empty() || line.words.size() > 2)
        throw UsageError{"call takes an operation name and a JSON array of arguments", "call"};
    Json args = Json::array();
    if (line.words.size() == 2) {
        args = Json::parse(line.words[1], nullptr, false);
        if (args.is_discarded() || !args.is_array())
            throw UsageError{"the arguments of call are a JSON array, got: " + line.words[1], "call"};
    }
    HostFolders folders;
    if (!Prepare(line, folders, err, true)) return kUsageError;
    InstallDialogs(ProcessTerminal());
    const std::vector<Step> steps{{Json{{"call", line.words[0]}, {"args", std::move(args)}}, {}}};
    return RunSteps(steps, out) == 0 ? 0 : 1;
}

int Run(const CommandLine& line, std::ostream& out, std::ostream& err) {
    if (line.words.size() != 1) throw UsageError{"run takes one scenario file", "run"};
    const bool fromInput = line.words[0] == "-";
    std::string text;
    if (fromInput) {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else if (!platform::ReadFile(line.words[0], text)) {
        err << "orb: cannot read the scenario " << line.words[0] << ": " << platform::LastErrorMessage() << "\n";
        return kUsageError;
    }
    const std::vector<Step> steps = ParseScenario(text);
    HostFolders folders;
    if (!Prepare(line, folders, err, true)) return kUsageError;
    // Standard input that held the scenario has nothing left to answer with.
    InstallDialogs(fromInput ? std::nullopt : ProcessTerminal());
    return RunSteps(steps, out) == 0 ? 0 : 1;
}

int ServeVerb(const CommandLine& line, std::ostream& out, std::ostream& err) {
    if (!line.words.empty()) throw UsageError{"serve takes no arguments: the requests come on standard input", "serve"};
    HostFolders folders;
    if (!Prepare(line, folders, err, true)) return kUsageError;
    // Standard input is the request stream, never the operator.
    InstallDialogs(std::nullopt);
    const ServeOutcome outcome = Serve(std::cin, out);
    if (outcome.outputLost) {
        err << "orb: standard output was closed; the service stopped after " << outcome.replies << " replies\n";
        return 1;
    }
    return 0;
}

}  // namespace

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CommandLine line;
    try {
        line = Parse(argc, argv);
        if (line.help || line.verb == "help") return Help(line, out, err);
        if (line.verb.empty()) {
            err << GeneralUsage();
            return kUsageError;
        }
        if (line.verb == "call") return Call(line, out, err);
        if (line.verb == "run") return Run(line, out, err);
        if (line.verb == "serve") return ServeVerb(line, out, err);
        if (!line.words.empty()) throw UsageError{line.verb + " takes no arguments", line.verb};
        HostFolders folders;
        if (!Prepare(line, folders, err)) return kUsageError;
        if (line.verb == "roll") return ShowRoll(line.clear, LocaleCharset(), out, err);
        if (line.verb == "log") return ShowLog(LocaleCharset(), out, err);
        if (line.verb == "state") return ShowState(out, err);
        // demo
        InstallDialogs(ProcessTerminal());
        return RunDemo(folders, out, err, argc > 0 && argv[0] != nullptr ? argv[0] : "orb");
    } catch (const UsageError& e) {
        err << "orb: " << e.message << "\n";
        ShowUsage(e.verb, err);
        return kUsageError;
    }
}

}  // namespace orb::cli
