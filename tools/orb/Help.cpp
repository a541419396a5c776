#include "Help.h"

#include <algorithm>

#include "bridge/JsonValues.h"

namespace orb::cli {

namespace {

struct VerbText {
    const char* name;
    const char* synopsis;  // after "orb [--home DIR] [--system DIR] "
    const char* summary;   // one line in the general usage
    const char* details;   // the rest of the verb's own help
};

const char* const kRequests =
    "Each request and reply is one JSON object. A request holds exactly one of:\n"
    "  {\"call\": NAME, \"args\": [...]}            call an operation (see \"orb help call\")\n"
    "  {\"sim\": COMMAND, ...}                    a virtual-printer command: reset, fail, status, answer,\n"
    "                                           extended, paper, cover, power, drawer, clock, state,\n"
    "                                           journal, roll\n"
    "  {\"answers\": [\"S\", \"N\", ...]}             answers queued for the next yes/no dialogs\n"
    "  {\"settings\": {\"DecimalSeparator\": \".\"}}  number and date settings to change\n"
    "  {\"file\" or \"system_file\": NAME, \"text\" or \"dataset\": ...}\n"
    "                                           write a file into the host or the system folder\n"
    "  {\"globals\": {...}}                       read ({}) or set the module's exported globals\n"
    "A reply that could not be served carries \"error\" with the reason.\n";

const char* const kDialogs =
    "Dialogs: a question the module asks takes the next queued answer. Without one, and when\n"
    "standard input is a terminal, the operator is asked (S/N) on the terminal; otherwise it is\n"
    "answered \"N\" and marked \"unanswered\" in the reply. Every dialog is listed in the reply's\n"
    "\"dialogs\".\n";

const VerbText kVerbs[] = {
    {"call", "call NAME [ARGS_JSON]", "call one operation of the module",
     "Calls one operation by its name. ARGS_JSON is a JSON array of its arguments in the order the\n"
     "operation takes them (default: []): a string for text, a number, true/false, null, an array\n"
     "(named parameters are arrays of [name, value] pairs), {\"datetime\": \"2026-12-05T14:30:05\"},\n"
     "{\"dataset\": {\"fields\": [...], \"rows\": [[...]]}}, {\"strings\": [...]}. A var parameter the\n"
     "host leaves empty is null; a result array is an array of nulls of its length.\n"
     "The reply holds \"result\", every argument after the call (\"args\"), \"dialogs\", \"ledger\" and\n"
     "\"cer\", and \"error\" when the operation raised.\n"},
    {"run", "run SCENARIO.json", "run a scenario of requests",
     "Runs a scenario in one process: a JSON array of requests, one request (over any number of\n"
     "lines), or one request per line. \"-\" reads the scenario from standard input. One reply line\n"
     "is written per request; a request that cannot be read is answered with \"error\" and the\n"
     "scenario goes on. Exit status 1 when any reply carried \"error\". A scenario read from\n"
     "standard input leaves no terminal to ask the operator on: its questions take queued answers.\n"},
    {"serve", "serve", "serve requests as JSON lines on standard input",
     "Reads one JSON request per line from standard input and writes one reply line per request to\n"
     "standard output, in order, flushed at once, until standard input ends. The module and the\n"
     "printer stay loaded between requests, as in a host's process. Blank lines are skipped; a\n"
     "line that is not JSON is answered with {\"error\": ...} and the service goes on.\n"
     "Dialogs are never asked on the terminal: standard input is the request stream. Queue answers\n"
     "with {\"answers\": [...]}; an unqueued question is answered \"N\" and marked \"unanswered\".\n"
     "Exit status 0 when the input ends (errors travel in the replies), 1 when standard output was\n"
     "closed before every reply was written, 2 when the folders are unusable.\n"
     "tools/orb/examples/serve_sale.py in the source tree runs a sale this way from Python.\n"},
    {"roll", "roll [--clear]", "show the paper the virtual printer printed",
     "Shows the paper the virtual printer has printed since it was reset (or the roll was last\n"
     "cleared), as text for the terminal. --clear empties the roll after showing it. Exit status 1\n"
     "when there is nothing on it.\n"},
    {"log", "log", "show this month's debug log",
     "Shows the module's debug log of this month (impdebugMMYY.txt in the host folder) as text for\n"
     "the terminal. Exit status 1 when the module has written none yet this month.\n"},
    {"state", "state", "show the virtual printer's state",
     "Shows the virtual printer's whole state (documents, counters, totals, rates, payment\n"
     "methods, hardware conditions) as indented JSON.\n"},
    {"demo", "demo", "run a restaurant sale on the virtual printer",
     "Sets up the folders with the virtual printer, starts the module, runs a restaurant sale and\n"
     "an X reading, and shows the coupon, the results the host receives and the debug log.\n"},
    {"help", "help [VERB | OPERATION | --reference]", "show this help, a verb's or an operation's",
     "Shows the general usage, or the help of one verb (also \"orb VERB --help\"), or the reference\n"
     "entry of one operation: its parameters, what it does, the named keys it reads and writes back\n"
     "and what its results mean. --reference prints every entry as Markdown (docs/operations.md).\n"},
};

const VerbText* FindVerb(std::string_view verb) {
    for (const VerbText& v : kVerbs)
        if (verb == v.name) return &v;
    return nullptr;
}

const char* const kPrefix = "orb [--home DIR] [--system DIR] ";

const char* const kOptions =
    "  --home DIR     the host folder: debug log, recovery files (default ./orb-home)\n"
    "  --system DIR   the system folder with Bemafi32.ini and the printer's state (default HOME/system)\n";

}  // namespace

const std::vector<std::string>& Verbs() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const VerbText& v : kVerbs) list.emplace_back(v.name);
        return list;
    }();
    return names;
}

bool IsVerb(std::string_view verb) { return FindVerb(verb) != nullptr; }

std::string Synopsis() {
    std::string text;
    for (const VerbText& v : kVerbs)
        text += std::string(text.empty() ? "usage: " : "       ") + kPrefix + v.synopsis + "\n";
    return text;
}

std::string GeneralUsage() {
    std::string text = Synopsis() + "\n";
    std::size_t width = 0;
    for (const VerbText& v : kVerbs) width = std::max(width, std::string_view(v.name).size());
    for (const VerbText& v : kVerbs)
        text += "  " + std::string(v.name) + std::string(width + 3 - std::string_view(v.name).size(), ' ') + v.summary +
                "\n";
    text += "\n";
    text += kOptions;
    text += "\n";
    text += kRequests;
    text += "\n";
    text +=
        "Exit status: 0 when every reply came back without \"error\", 1 when one carried it (or a verb\n"
        "had nothing to show), 2 when the command line or the folders are unusable.\n"
        "\"orb help VERB\" shows the help of one verb, \"orb help OPERATION\" the reference entry of one\n"
        "operation.\n";
    return text;
}

const char* ResultKindName(exports::ResultKind kind) {
    switch (kind) {
        case exports::ResultKind::None:
            return "nothing";
        case exports::ResultKind::Bool:
            return "bool";
        case exports::ResultKind::Text:
            return "text";
        case exports::ResultKind::Integer:
            return "integer";
        case exports::ResultKind::Double:
            return "double";
        case exports::ResultKind::DateTime:
            return "date-time";
        case exports::ResultKind::Variant:
            return "variant";
    }
    return "?";
}

std::string OperationLine(const exports::Operation& operation) {
    std::string line = "  " + operation.name + "(";
    for (std::size_t i = 0; i < operation.params.size(); ++i) {
        if (i > 0) line += ", ";
        line += bridge::ParamKindName(operation.params[i]);
    }
    line += ")";
    if (operation.result != exports::ResultKind::None) line += std::string(" -> ") + ResultKindName(operation.result);
    return line + "\n";
}

std::string OperationsHelp() {
    std::string text;
    for (const exports::Operation& operation : exports::Operations()) text += OperationLine(operation);
    return text;
}

namespace {

std::string Signature(const exports::Operation& operation, const exports::OperationReference* reference) {
    std::string line = operation.name + "(";
    for (std::size_t i = 0; i < operation.params.size(); ++i) {
        if (i > 0) line += ", ";
        if (reference && i < reference->parameters.size()) line += reference->parameters[i] + ": ";
        line += bridge::ParamKindName(operation.params[i]);
    }
    line += ")";
    if (operation.result != exports::ResultKind::None) line += std::string(" -> ") + ResultKindName(operation.result);
    return line;
}

// The parameter that holds the named keys: the first variant one.
std::string NamedParameter(const exports::Operation& operation, const exports::OperationReference& reference) {
    for (std::size_t i = 0; i < operation.params.size() && i < reference.parameters.size(); ++i)
        if (operation.params[i] == exports::ParamKind::Variant || operation.params[i] == exports::ParamKind::VariantVar)
            return reference.parameters[i];
    return "params";
}

}  // namespace

std::string OperationEntry(const exports::Operation& operation) {
    const exports::OperationReference* reference = exports::FindReference(operation.name);
    std::string text = "`" + Signature(operation, reference) + "`\n\n";
    if (!reference) return text + "No reference entry.\n";
    text += std::string(reference->purpose) + "\n";
    const std::string named = NamedParameter(operation, *reference);
    if (!reference->reads.empty()) {
        text += "\nKeys read from `" + named + "`, an array of [name, value] pairs (names without regard to case):\n";
        for (const exports::NamedKey& key : reference->reads) {
            text += "- `" + std::string(key.name) + "` (" + key.kind;
            if (*key.example) text += std::string(", e.g. `") + key.example + "`";
            text += std::string("): ") + key.meaning + (key.onSomePaths ? " (read on some paths only)" : "") + "\n";
        }
    }
    if (!reference->writes.empty()) {
        text += "\nOn return `" + named + "` is replaced by these pairs, in this order:\n";
        for (const exports::ValueMeaning& key : reference->writes)
            text += "- `" + std::string(key.what) + "`: " + key.meaning + "\n";
    }
    if (*reference->result) text += std::string("\nResult: ") + reference->result + ".\n";
    if (!reference->values.empty()) {
        text += "\nArguments and results:\n";
        for (const exports::ValueMeaning& value : reference->values)
            text += "- `" + std::string(value.what) + "`: " + value.meaning + "\n";
    }
    return text;
}

std::string ReferenceDocument() {
    std::string text =
        "# Operations\n\n"
        "<!-- Generated by `orb help --reference` from src/exports/reference/; do not edit by hand. -->\n\n"
        "Every operation the module exports, in the order of its export table. Each entry gives the\n"
        "parameters (name: kind, in order), what the operation does, the named keys it reads and writes\n"
        "back, and what its result and its var parameters and array elements mean. `orb help NAME`\n"
        "prints one entry; [the bridge](bridge.md) says how each kind travels in JSON.\n\n"
        "- Named parameters are one variant holding an array of [name, value] pairs. A key the\n"
        "  operation does not read is ignored by the module; the bridge warns about it.\n"
        "- `params[i]` is element i of a positional array; `result[i]` element i of a result array the\n"
        "  host creates (large enough) and the operation fills.\n"
        "- The dialog scheme (`scheme`, `ESQUEMA`, `ESQUEMACOR`) is only passed on to the messages.\n"
        "- \"The printer's verdict\": true when the printer library accepted the command and the\n"
        "  printer's status shows no error; the reason of a false is in the reply's `\"log\"`.\n\n";
    for (const exports::Operation& operation : exports::Operations())
        text += "## " + operation.name + "\n\n" + OperationEntry(operation) + "\n";
    return text;
}

std::string HelpTopic(std::string_view topic) {
    if (IsVerb(topic)) return VerbHelp(topic);
    if (const exports::Operation* operation = exports::FindOperation(topic)) return OperationEntry(*operation);
    return std::string();
}

std::string VerbHelp(std::string_view verb) {
    const VerbText* v = FindVerb(verb);
    if (!v) return std::string();
    // Paragraphs, each ending in a line feed, with a blank line between two.
    std::string text = std::string("usage: ") + kPrefix + v->synopsis + "\n\n" + v->details;
    const std::string name = v->name;
    if (name == "run" || name == "serve") text += std::string("\n") + kRequests;
    if (name == "call" || name == "run") text += std::string("\n") + kDialogs;
    if (name == "call") {
        text += "\nOperations (" + std::to_string(exports::Operations().size()) + "):\n";
        text += OperationsHelp();
        text +=
            "\"orb help NAME\" shows what one operation does, its parameters' names, the named keys it\n"
            "reads and what its results mean.\n";
    }
    text += std::string("\n") + kOptions;
    return text;
}

}  // namespace orb::cli
