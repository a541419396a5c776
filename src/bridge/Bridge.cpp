#include "bridge/Bridge.h"

#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "bridge/SimControl.h"
#include "exports/ExportTable.h"
#include "external/hostlib/HostLib.h"
#include "framework/ClientDataSet.h"
#include "framework/Cp1252.h"
#include "framework/Exceptions.h"
#include "framework/FormatSettings.h"
#include "platform/Platform.h"

namespace orb::bridge {

namespace {

const char* const kRequestKinds[] = {"call", "sim", "answers", "settings", "file", "system_file", "globals"};

void AllowOnly(const Json& request, std::initializer_list<const char*> keys, const char* kind) {
    for (auto it = request.begin(); it != request.end(); ++it) {
        bool known = false;
        for (const char* key : keys) known = known || it.key() == key;
        if (!known) throw JsonError(std::string("a \"") + kind + "\" request does not take \"" + it.key() + "\"");
    }
}

// The module's own failures carry CP1252 text; ours are UTF-8 already.
std::string ErrorText(const std::exception& e) {
    if (dynamic_cast<const JsonError*>(&e)) return e.what();
    return fw::Cp1252ToUtf8(e.what());
}

Json DateJson(fw::TDateTime when) { return VariantToJson(fw::Variant(when)); }

Json LedgerToJson(const hostlib::NonFiscalDocRecord& r) {
    return Json::array({fw::Cp1252ToUtf8(r.f1), fw::Cp1252ToUtf8(r.f2), fw::Cp1252ToUtf8(r.f3), fw::Cp1252ToUtf8(r.f4),
                        fw::Cp1252ToUtf8(r.f5), fw::Cp1252ToUtf8(r.f6), fw::Cp1252ToUtf8(r.f7), DateJson(r.dt1),
                        DateJson(r.dt2), fw::Cp1252ToUtf8(r.f10)});
}

Json CerToJson(const hostlib::CerRecord& r) {
    return Json::array({fw::Cp1252ToUtf8(r.a), fw::Cp1252ToUtf8(r.b), DateJson(r.when)});
}

// ---- settings ----------------------------------------------------------------------------

struct SettingField {
    const char* name;
    std::function<Json(const fw::FormatSettings&)> get;
    std::function<void(fw::FormatSettings&, const Json&)> set;  // raises JsonError on a bad value
};

char SeparatorFromJson(const Json& value) {
    std::string text = TextFromJson(value);
    if (text.size() != 1) throw JsonError("a separator is one character, got " + value.dump());
    return text[0];
}

SettingField Separator(const char* name, char fw::FormatSettings::*member) {
    return {name, [member](const fw::FormatSettings& s) { return TextToJson(std::string(1, s.*member)); },
            [member](fw::FormatSettings& s, const Json& v) { s.*member = SeparatorFromJson(v); }};
}

SettingField Picture(const char* name, std::string fw::FormatSettings::*member) {
    return {name, [member](const fw::FormatSettings& s) { return TextToJson(s.*member); },
            [member](fw::FormatSettings& s, const Json& v) { s.*member = TextFromJson(v); }};
}

const std::vector<SettingField>& SettingFields() {
    static const std::vector<SettingField> fields = {
        Separator("DecimalSeparator", &fw::FormatSettings::DecimalSeparator),
        Separator("ThousandSeparator", &fw::FormatSettings::ThousandSeparator),
        Separator("DateSeparator", &fw::FormatSettings::DateSeparator),
        Separator("TimeSeparator", &fw::FormatSettings::TimeSeparator),
        Picture("ShortDateFormat", &fw::FormatSettings::ShortDateFormat),
        Picture("LongDateFormat", &fw::FormatSettings::LongDateFormat),
        Picture("ShortTimeFormat", &fw::FormatSettings::ShortTimeFormat),
        Picture("LongTimeFormat", &fw::FormatSettings::LongTimeFormat),
        {"TwoDigitYearCenturyWindow", [](const fw::FormatSettings& s) { return Json(s.TwoDigitYearCenturyWindow); },
         [](fw::FormatSettings& s, const Json& v) {
             if (!v.is_number_integer() || v.get<std::int64_t>() < 0 || v.get<std::int64_t>() > 99)
                 throw JsonError("TwoDigitYearCenturyWindow is an integer from 0 to 99, got " + v.dump());
             s.TwoDigitYearCenturyWindow = v.get<int>();
         }},
    };
    return fields;
}

// ---- files -------------------------------------------------------------------------------

// A name relative to the folder, without ".." and without a root: the bridge writes only inside
// the host and system folders. Either separator may be used.
std::string RelativeName(const std::string& utf8) {
    if (utf8.empty()) throw JsonError("a file name is needed");
    if (utf8.find('\0') != std::string::npos) throw JsonError("a file name cannot hold a NUL character");
    if (utf8[0] == '/' || utf8[0] == '\\' || (utf8.size() > 1 && utf8[1] == ':'))
        throw JsonError("the file name must be relative to the folder: \"" + utf8 + "\"");
    std::string part;
    for (std::size_t i = 0; i <= utf8.size(); ++i) {
        if (i == utf8.size() || utf8[i] == '/' || utf8[i] == '\\') {
            if (part == "..") throw JsonError("the file name must stay inside the folder: \"" + utf8 + "\"");
            part.clear();
        } else {
            part += utf8[i];
        }
    }
    if (utf8.back() == '/' || utf8.back() == '\\')
        throw JsonError("a file name is needed, got a folder: \"" + utf8 + "\"");
    // The module names its files in CP1252, so the bridge does too.
    std::string name = fw::Utf8ToCp1252(utf8);
    for (char& c : name)
        if (c == '\\') c = '/';
    return platform::NativePath(name);
}

// ---- what a call leaves in the debug log -------------------------------------------------

std::uintmax_t FileSize(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return in ? static_cast<std::uintmax_t>(in.tellg()) : 0;
}

// The lines the debug log gained from `from` on, in UTF-8; an entry whose text holds line ends
// of its own (a printer's answer) stays a line each, as the file shows it.
void AppendLogLines(const std::string& path, std::uintmax_t from, Json& lines) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return;
    in.seekg(static_cast<std::streamoff>(from));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(fw::Cp1252ToUtf8(line));
    }
}

// The debug log as it stood before a call. The file is named by the month, so a call that
// crosses into the next one reads the rest of the old file and the whole of the new.
class LogWatch {
public:
    LogWatch() : path_(exports::DebugLogPath()), size_(FileSize(path_)) {}
    Json Written() const {
        Json lines = Json::array();
        AppendLogLines(path_, size_, lines);
        const std::string now = exports::DebugLogPath();
        if (now != path_) AppendLogLines(now, 0, lines);
        return lines;
    }

private:
    std::string path_;
    std::uintmax_t size_;
};

// Whether a StartImpFiscal has succeeded in this process since the last StopImpFiscal: most
// operations do nothing useful before it, and say nothing about it.
bool started = false;

// What the bridge saw itself about a call that failed: where the module's own answer does not
// say why, this is what an integrator needs first.
Json Observations(const std::string& name, const Json& result, const Json& log) {
    Json warnings = Json::array();
    if (result != false) return warnings;
    if (name == "StartImpFiscal") {
        if (!log.empty() || !platform::FindLibraryFile("BemaFI32.dll").empty()) return warnings;
        const platform::LibHandle lib = platform::LoadLibrary("BemaFI32.dll");
        if (lib != 0) {
            platform::FreeLibrary(lib);
            return warnings;
        }
        warnings.push_back("the printer library BemaFI32.dll was not found in the folders of ORB_LIBRARY_PATH (\"" +
                           platform::GetEnv("ORB_LIBRARY_PATH") +
                           "\") nor beside the module, and the system's loader said: " +
                           fw::Cp1252ToUtf8(platform::LastErrorMessage()));
    } else if (!started) {
        warnings.push_back(
            "no StartImpFiscal has succeeded in this process: each `orb call` loads a fresh module, "
            "while `orb run` and `orb serve` keep one for all their requests");
    }
    return warnings;
}

// The keys of a named-parameter argument that the operation does not read: the module ignores
// them, so a misspelt key ("VALR") otherwise only shows as the printer's refusal of a price 0.
Json UnknownKeys(const exports::Operation& op, const Json& args) {
    Json warnings = Json::array();
    const exports::OperationReference* reference = exports::FindReference(op.name);
    if (!reference || reference->reads.empty()) return warnings;
    for (std::size_t i = 0; i < op.params.size() && i < args.size(); ++i) {
        if (op.params[i] != exports::ParamKind::Variant && op.params[i] != exports::ParamKind::VariantVar) continue;
        if (!args[i].is_array()) continue;
        for (const Json& pair : args[i]) {
            if (!pair.is_array() || pair.empty() || !pair[0].is_string()) continue;
            const std::string key = pair[0].get<std::string>();
            if (!exports::FindReadKey(*reference, key))
                warnings.push_back(op.name + " does not read the key \"" + key + "\"");
        }
    }
    return warnings;
}

}  // namespace

// ---- call --------------------------------------------------------------------------------

Json DialogToJson(const hostlib::Dialog& d) {
    Json j{{"kind", d.kind},
           {"text", fw::Cp1252ToUtf8(d.text)},
           {"scheme", fw::Cp1252ToUtf8(d.scheme)},
           {"question", fw::Cp1252ToUtf8(d.question)},
           {"answer", d.answer ? "S" : "N"}};
    if (!d.answered) j["unanswered"] = true;
    return j;
}

Json CallOperation(const Json& request) {
    AllowOnly(request, {"call", "args"}, "call");
    if (!request["call"].is_string()) throw JsonError("\"call\" names an operation");
    const std::string name = request["call"].get<std::string>();
    Json args = request.contains("args") ? request["args"] : Json::array();
    if (!args.is_array()) throw JsonError("\"args\" is an array of the operation's arguments");

    Json reply{{"call", name},
               {"result", nullptr},
               {"args", args},
               {"dialogs", Json::array()},
               {"ledger", Json::array()},
               {"cer", Json::array()}};
    const exports::Operation* op = exports::FindOperation(name);
    if (!op) {
        reply["error"] = "no operation named \"" + name + "\"";
        return reply;
    }
    if (args.size() != op->params.size()) {
        reply["error"] = name + " takes " + std::to_string(op->params.size()) +
                         (op->params.size() == 1 ? " argument, " : " arguments, ") + std::to_string(args.size()) +
                         " given";
        return reply;
    }
    std::vector<exports::Argument> values;
    values.reserve(args.size());
    for (std::size_t i = 0; i < args.size(); ++i) {
        try {
            values.push_back(ArgumentFromJson(op->params[i], args[i]));
        } catch (const std::exception& e) {
            reply["error"] = "argument " + std::to_string(i + 1) + " of " + name + " (" + ParamKindName(op->params[i]) +
                             "): " + ErrorText(e);
            return reply;
        }
    }

    hostlib::ClearRecorded();
    const LogWatch watch;
    try {
        reply["result"] = VariantToJson(op->invoke(values));
    } catch (const std::exception& e) {
        reply["error"] = ErrorText(e);
    } catch (...) {
        reply["error"] = "the operation failed with an exception that is not a framework error";
    }

    Json after = Json::array();
    for (std::size_t i = 0; i < values.size(); ++i) {
        try {
            after.push_back(ArgumentToJson(op->params[i], values[i]));
        } catch (const std::exception& e) {
            // What the call did still goes back; only this argument is missing from it.
            after.push_back(Json(nullptr));
            if (!reply.contains("error"))
                reply["error"] = "argument " + std::to_string(i + 1) + " could not be read back: " + ErrorText(e);
        }
    }
    reply["args"] = std::move(after);
    const hostlib::Recorder& seen = hostlib::Recorded();
    for (const auto& d : seen.dialogs) reply["dialogs"].push_back(DialogToJson(d));
    for (const auto& r : seen.ledger) reply["ledger"].push_back(LedgerToJson(r));
    for (const auto& r : seen.cer) reply["cer"].push_back(CerToJson(r));
    // The module asks the host to close (a repaired printer configuration); a real host would.
    if (seen.terminateRequests > 0) reply["terminate"] = true;
    reply["log"] = watch.Written();
    if (name == "StartImpFiscal") started = reply["result"] == true;
    if (name == "StopImpFiscal") started = false;
    Json warnings = UnknownKeys(*op, args);
    for (Json& warning : Observations(name, reply["result"], reply["log"])) warnings.push_back(std::move(warning));
    if (!warnings.empty()) reply["warnings"] = std::move(warnings);
    if (reply.contains("error")) {
        // Keep "error" last, after what the call left behind.
        Json error = reply["error"];
        reply.erase("error");
        reply["error"] = std::move(error);
    }
    return reply;
}

// ---- answers -----------------------------------------------------------------------------

Json QueueAnswers(const Json& request) {
    AllowOnly(request, {"answers"}, "answers");
    const Json& answers = request["answers"];
    if (!answers.is_array()) throw JsonError("\"answers\" is an array of \"S\" and \"N\"");
    std::vector<bool> queued;
    for (const Json& a : answers) {
        if (a.is_boolean()) {
            queued.push_back(a.get<bool>());
            continue;
        }
        std::string text = a.is_string() ? a.get<std::string>() : std::string();
        if (text == "S" || text == "s")
            queued.push_back(true);
        else if (text == "N" || text == "n")
            queued.push_back(false);
        else
            throw JsonError("an answer is \"S\" or \"N\", got " + a.dump());
    }
    hostlib::QueueAnswers(queued);
    return Json{{"answers", hostlib::Recorded().queuedAnswers.size()}};
}

// ---- settings ----------------------------------------------------------------------------

Json SettingsToJson() {
    Json j = Json::object();
    for (const SettingField& f : SettingFields()) j[f.name] = f.get(fw::Settings());
    return j;
}

Json ChangeSettings(const Json& request) {
    AllowOnly(request, {"settings"}, "settings");
    const Json& changes = request["settings"];
    if (!changes.is_object()) throw JsonError("\"settings\" is an object of fields to change");
    // All or nothing: a bad field leaves the settings as they were.
    fw::FormatSettings next = fw::Settings();
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        const SettingField* field = nullptr;
        for (const SettingField& f : SettingFields())
            if (it.key() == f.name) field = &f;
        if (!field) throw JsonError("no setting named \"" + it.key() + "\"");
        try {
            field->set(next, it.value());
        } catch (const JsonError& e) {
            throw JsonError(it.key() + ": " + e.what());
        }
    }
    fw::Settings() = next;
    return Json{{"settings", SettingsToJson()}};
}

// ---- files -------------------------------------------------------------------------------

Json WriteFile(const Json& request, bool systemFolder) {
    const char* kind = systemFolder ? "system_file" : "file";
    AllowOnly(request, {kind, "text", "dataset"}, kind);
    if (!request[kind].is_string()) throw JsonError(std::string("\"") + kind + "\" names the file to write");
    if (request.contains("text") == request.contains("dataset"))
        throw JsonError(std::string("a \"") + kind + "\" request carries either \"text\" or \"dataset\"");

    std::string contents;
    if (request.contains("text")) {
        contents = TextFromJson(request["text"]);
    } else {
        contents = fw::ClientDataSet::ToXml(DataPacketFromJson(request["dataset"]));
    }
    const std::string folder = systemFolder ? platform::SystemDirectory() : platform::HostDirectory();
    const std::string path = platform::JoinPath(folder, RelativeName(request[kind].get<std::string>()));
    const std::size_t slash = path.find_last_of(platform::PathDelimiter());
    if (slash != std::string::npos && slash > 0) {
        const std::string parent = path.substr(0, slash);
        if (!platform::DirectoryExists(parent) && !platform::ForceDirectories(parent))
            throw std::runtime_error("cannot create the folder " + parent + ": " +
                                     fw::Cp1252ToUtf8(platform::LastErrorMessage()));
    }
    if (!platform::WriteFileAtomic(path, contents))
        throw std::runtime_error("cannot write " + path + ": " + fw::Cp1252ToUtf8(platform::LastErrorMessage()));
    return Json{{"file", fw::Cp1252ToUtf8(path)}};
}

// ---- globals -----------------------------------------------------------------------------

Json ChangeGlobals(const Json& request) {
    AllowOnly(request, {"globals"}, "globals");
    const Json& changes = request["globals"];
    if (!changes.is_object()) throw JsonError("\"globals\" is an object of values to set ({} to read them)");
    const auto& globals = exports::Globals();
    auto find = [&](const std::string& name) -> const exports::Global* {
        for (const auto& g : globals)
            if (g.name == name) return &g;
        return nullptr;
    };
    // Check every name first, so that a typo sets nothing.
    std::vector<std::pair<const exports::Global*, fw::Variant>> sets;
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        const exports::Global* g = find(it.key());
        if (!g) throw JsonError("no global named \"" + it.key() + "\"");
        if (!g->set) throw JsonError("the global \"" + it.key() + "\" cannot be set");
        try {
            sets.emplace_back(g, VariantFromJson(it.value()));
        } catch (const JsonError& e) {
            throw JsonError(it.key() + ": " + e.what());
        }
    }
    // A value the global cannot take puts back the ones already set.
    std::vector<std::pair<const exports::Global*, fw::Variant>> before;
    try {
        for (auto& [g, value] : sets) {
            before.emplace_back(g, g->get());
            g->set(value);
        }
    } catch (...) {
        for (auto it = before.rbegin(); it != before.rend(); ++it) it->first->set(it->second);
        throw;
    }
    Json values = Json::object();
    for (const auto& g : globals) values[g.name] = VariantToJson(g.get());
    return Json{{"globals", std::move(values)}};
}

// ---- dispatch ----------------------------------------------------------------------------

Json HandleRequest(const Json& request) {
    if (!request.is_object()) return Json{{"error", "a request is a JSON object"}};
    std::string kind;
    int found = 0;
    for (const char* k : kRequestKinds) {
        if (request.contains(k)) {
            ++found;
            kind = k;
        }
    }
    if (found != 1) {
        return Json{{"error",
                     "a request holds exactly one of \"call\", \"sim\", \"answers\", \"settings\", "
                     "\"file\", \"system_file\", \"globals\""}};
    }
    try {
        if (kind == "call") return CallOperation(request);
        if (kind == "answers") return QueueAnswers(request);
        if (kind == "settings") return ChangeSettings(request);
        if (kind == "file") return WriteFile(request, false);
        if (kind == "system_file") return WriteFile(request, true);
        if (kind == "globals") return ChangeGlobals(request);
        Json reply = SimControl(request);
        if (!reply.contains("sim")) {
            Json tagged{{"sim", request["sim"]}};
            tagged.update(reply);
            return tagged;
        }
        return reply;
    } catch (const std::exception& e) {
        return Json{{kind, request[kind]}, {"error", ErrorText(e)}};
    } catch (...) {
        return Json{{kind, request[kind]}, {"error", "unexpected failure"}};
    }
}

}  // namespace orb::bridge
