#pragma once
// What the scenario tests share: a scenario kept with the tests run through the orb program, the
// replies looked up by what they answer, the documents on the paper roll and the debug log's
// entries.
#include <algorithm>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "framework/Cp1252.h"
#include "framework/DateFormat.h"
#include "framework/DateTime.h"

namespace orb::cli::testing {

using Texts = std::vector<std::string>;

// A line of the printer's 48 columns with its two texts at either edge.
inline std::string Columns(const std::string& left, const std::string& right) {
    return left + std::string(48 - left.size() - right.size(), ' ') + right;
}

// One printed document of the roll: the counter line above its title, and what it printed between
// the title and the closing dashes of its footer.
struct Document {
    std::string coo;
    Texts body;
};
inline std::vector<Document> Documents(const std::string& roll, const std::string& title) {
    std::vector<Document> found;
    const Texts lines = TextLines(roll);
    for (std::size_t t = 1; t < lines.size(); ++t) {
        const std::size_t b = lines[t].find_first_not_of(' ');  // the title, centred
        if (b == std::string::npos || lines[t].substr(b, lines[t].find_last_not_of(' ') - b + 1) != title) continue;
        std::size_t fab = t + 1;
        while (fab < lines.size() && lines[fab].rfind("FAB:", 0) != 0) ++fab;
        std::size_t dashes = fab;
        while (dashes > t + 1 && lines[dashes - 1] != std::string(48, '-')) --dashes;
        const std::size_t coo = lines[t - 1].rfind("COO:");
        found.push_back({coo == std::string::npos ? "" : lines[t - 1].substr(coo + 4),
                         Texts(lines.begin() + static_cast<std::ptrdiff_t>(t) + 1,
                               lines.begin() + static_cast<std::ptrdiff_t>(dashes > t + 1 ? dashes - 1 : t + 1))});
    }
    return found;
}

// The debug log of a host folder: one file for the month, named impdebugMMYY.txt, every entry
// "dd/mm/yyyy hh:nn:ss - text" and CR LF. A text may hold line ends of its own (a printer's
// answer), so an entry ends only where the next one's time stamp begins a line. Answers the
// texts, in code page 1252.
inline Texts LogEntries(const std::string& home) {
    const auto logs = platform::FindFiles(home + "/impdebug*.txt");
    EXPECT_EQ(logs.size(), 1u);
    if (logs.size() != 1) return {};
    EXPECT_EQ(std::filesystem::path(logs[0]).filename().string(),
              "impdebug" + fw::FormatDateTime("mmyy", fw::Now()) + ".txt");
    const std::string log = ReadAll(logs[0]);
    static const std::regex stamp(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d - )");
    std::vector<std::pair<std::size_t, std::size_t>> entries;  // stamp start, text start
    for (auto it = std::sregex_iterator(log.begin(), log.end(), stamp); it != std::sregex_iterator(); ++it) {
        const auto at = static_cast<std::size_t>(it->position());
        if (at == 0 || log[at - 1] == '\n') entries.emplace_back(at, at + static_cast<std::size_t>(it->length()));
    }
    EXPECT_TRUE(!entries.empty() && entries[0].first == 0) << "the log starts with a time stamp";
    Texts texts;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t end = i + 1 < entries.size() ? entries[i + 1].first : log.size();
        std::string text = log.substr(entries[i].second, end - entries[i].second);
        EXPECT_TRUE(text.ends_with("\r\n")) << text;
        if (text.ends_with("\r\n")) text.resize(text.size() - 2);
        texts.push_back(text);
    }
    return texts;
}

// Holds the part of a reply that a scenario step expects. An object names the fields that matter
// (an array's by index, from the end when negative, or "*" for every item); arrays match item by
// item; a text expected as lines holds them one after another (each line a pattern where it starts
// "re:"). A text starting "re:" is a pattern for the whole value, "without:" a text the value does
// not hold, "logged:" a debug-log line's text after its time stamp. Under "journal", an entry
// point's name lists the arguments of its calls in order.
inline void ExpectPart(const Json& got, const Json& want, const std::string& where) {
    if (want.is_string() && want.get<std::string>().starts_with("re:")) {
        EXPECT_TRUE(got.is_string() &&
                    std::regex_match(got.get<std::string>(), std::regex(want.get<std::string>().substr(3))))
            << where << ": " << got.dump() << " against " << want.dump();
    } else if (want.is_string() && want.get<std::string>().starts_with("logged:")) {
        static const std::regex stamp(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d - )");
        const std::string text = got.is_string() ? got.get<std::string>() : "";
        EXPECT_TRUE(text.size() >= 22 && std::regex_match(text.substr(0, 22), stamp) &&
                    text.substr(22) == want.get<std::string>().substr(7))
            << where << ": " << got.dump() << " against " << want.dump();
    } else if (want.is_string() && want.get<std::string>().starts_with("without:")) {
        EXPECT_TRUE(got.is_string() &&
                    got.get<std::string>().find(want.get<std::string>().substr(8)) == std::string::npos)
            << where << ": " << want.dump();
    } else if (want.is_array() && got.is_string()) {
        const Texts lines = TextLines(got.get<std::string>()), wanted = want.get<Texts>();
        std::vector<std::regex> patterns;  // compiled once, in the order of the lines that are patterns
        for (const std::string& w : wanted)
            if (w.starts_with("re:")) patterns.emplace_back(w.substr(3));
        const auto same = [&](const std::string& line, const std::string& w) {  // w: an item of wanted
            if (!w.starts_with("re:")) return line == w;
            const auto n = std::count_if(wanted.data(), &w, [](const std::string& p) { return p.starts_with("re:"); });
            return std::regex_match(line, patterns[static_cast<std::size_t>(n)]);
        };
        EXPECT_NE(std::search(lines.begin(), lines.end(), wanted.begin(), wanted.end(), same), lines.end())
            << where << ": " << want.dump() << " not in\n"
            << got.get<std::string>();
    } else if (want.is_array() && got.is_array() && got.size() == want.size()) {
        for (std::size_t i = 0; i < want.size(); ++i) ExpectPart(got[i], want[i], where + "/" + std::to_string(i));
    } else if (want.is_object() && (got.is_object() || got.is_array())) {
        for (const auto& [key, part] : want.items()) {
            const std::string at = where + "/" + key;
            if (key == "journal" && part.is_object() && got.contains("journal")) {
                Json calls = Json::object();
                for (const auto& [entry, ignored] : part.items()) calls[entry] = Json::array();
                for (const Json& call : got["journal"])
                    if (calls.contains(call["entry"])) calls[call["entry"].get<std::string>()].push_back(call["args"]);
                ExpectPart(calls, part, at);
            } else if (got.is_array() && key == "*") {
                for (std::size_t i = 0; i < got.size(); ++i) ExpectPart(got[i], part, at + "/" + std::to_string(i));
            } else if (got.is_array()) {  // from the end when negative
                const std::size_t index = static_cast<std::size_t>(
                    key.starts_with("-") ? static_cast<long>(got.size()) + std::stol(key) : std::stol(key));
                EXPECT_LT(index, got.size()) << at;
                if (index < got.size()) ExpectPart(got[index], part, at);
            } else {
                EXPECT_TRUE(got.contains(key)) << at << " missing in " << got.dump();
                if (got.contains(key)) ExpectPart(got[key], part, at);
            }
        }
    } else {
        EXPECT_EQ(got, want) << where;
    }
}

// Runs scenarios/<name> in a fresh host folder: every step answers, none with an error.
class ScenarioTest : public OrbProcessTest {
protected:
    void RunScenario(const std::string& name) {
        run_ = Orb({"--home", Home(), "run", std::string(ORB_SOURCE_DIR) + "/tests/cli/scenarios/" + name});
        ASSERT_EQ(run_.status, 0) << run_.out << run_.err;
        ASSERT_FALSE(run_.replies.empty());
        for (const Json& reply : run_.replies) {
            ASSERT_FALSE(reply.is_discarded()) << run_.out;
            ASSERT_FALSE(reply.contains("error")) << reply.dump();
        }
    }
    // Runs scenarios/<name>, whose steps say what they answer: a step's "expect" (see ExpectPart)
    // and its "why" stay here, the rest goes to the orb program. A line {"run": file} runs the steps
    // of a scenario kept runnable as it is (one step a line), and a line {"reply": name, "nth": n,
    // "expect": …} holds a reply found by what it answers (see Matching; the nth from the end when
    // negative, or "all") to its expectation. A step expects no error unless it says so.
    void RunExpected(const std::string& name) {
        const std::string folder = std::string(ORB_SOURCE_DIR) + "/tests/cli/scenarios/";
        std::istringstream file(ReadAll(folder + name));
        std::string steps;
        std::vector<std::pair<std::string, Json>> wants, lookups;  // where, expectation or lookup
        std::size_t lineNo = 0;
        for (std::string line; std::getline(file, line);) {
            const std::string where = name + ":" + std::to_string(++lineNo);
            if (line.find_first_not_of(" \r") == std::string::npos) continue;
            Json step = Json::parse(line);
            if (step.contains("reply")) {
                lookups.emplace_back(where, step);
            } else if (step.contains("run")) {
                for (const std::string& included : TextLines(ReadAll(folder + step["run"].get<std::string>())))
                    if (included.find_first_not_of(" \r") != std::string::npos) {
                        steps += included + "\n";
                        wants.emplace_back(step["run"].get<std::string>(), Json::object());
                    }
            } else {
                wants.emplace_back(where, step.value("expect", Json::object()));
                step.erase("expect");
                step.erase("why");
                steps += step.dump() + "\n";
            }
        }
        run_ = Run(steps);
        ASSERT_EQ(run_.replies.size(), wants.size()) << run_.out << run_.err;
        for (std::size_t i = 0; i < wants.size(); ++i) {
            EXPECT_TRUE(wants[i].second.contains("error") || !run_.replies[i].contains("error"))
                << wants[i].first << ": " << run_.replies[i].dump();
            ExpectPart(run_.replies[i], wants[i].second, wants[i].first);
        }
        for (const auto& [where, lookup] : lookups) {
            const std::vector<Json> found = Matching(lookup["reply"]);
            const Json nth = lookup.value("nth", Json(0));
            if (nth == "all") {
                EXPECT_FALSE(found.empty()) << where;
                for (std::size_t i = 0; i < found.size(); ++i)
                    ExpectPart(found[i], lookup["expect"], where + "#" + std::to_string(i));
                continue;
            }
            const int at = nth.get<int>() < 0 ? static_cast<int>(found.size()) + nth.get<int>() : nth.get<int>();
            EXPECT_TRUE(at >= 0 && at < static_cast<int>(found.size())) << where << ": no such reply";
            if (at >= 0 && at < static_cast<int>(found.size()))
                ExpectPart(found[static_cast<std::size_t>(at)], lookup["expect"], where);
        }
    }
    // The replies to the calls of that name, else every reply that carries that field (a virtual
    // printer's "roll", or "call" for every call).
    std::vector<Json> Matching(const std::string& what) const {
        std::vector<Json> found;
        for (const Json& reply : run_.replies)
            if (reply.value("call", "") == what) found.push_back(reply);
        if (found.empty())
            for (const Json& reply : run_.replies)
                if (reply.contains(what)) found.push_back(reply);
        return found;
    }
    // The reply to the nth call of an operation (counting from 0).
    Json Reply(const std::string& call, std::size_t nth = 0) const {
        for (const Json& reply : run_.replies)
            if (reply.value("call", "") == call && nth-- == 0) return reply;
        ADD_FAILURE() << "no reply to call " << call;
        return Json::object();
    }
    // The field of the last virtual-printer reply that has it.
    Json LastSim(const std::string& field) const {
        for (auto it = run_.replies.rbegin(); it != run_.replies.rend(); ++it)
            if (it->contains("sim") && it->contains(field)) return (*it)[field];
        ADD_FAILURE() << "no virtual-printer reply with \"" << field << "\"";
        return Json();
    }
    std::string Roll() const { return LastSim("roll").get<std::string>(); }
    // The journal's calls as "entry [args] -> return", in order.
    Texts Journal() const {
        Texts calls;
        for (const Json& call : LastSim("journal"))
            calls.push_back(call["entry"].get<std::string>() + " " + call["args"].dump() + " -> " +
                            call["return"].dump());
        return calls;
    }

    OrbRun run_;
};

}  // namespace orb::cli::testing
