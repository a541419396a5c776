// Scenarios and the steps they are made of: reading them and answering them.
#include <ostream>
#include <string>

#include "Cli.h"
#include "bridge/Bridge.h"
#include "bridge/RequestText.h"

namespace orb::cli {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string Trimmed(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    return std::string(text.substr(b, e - b));
}

}  // namespace

std::optional<Step> StepFromLine(std::string_view line, std::size_t lineNo) {
    const std::string text = Trimmed(line);
    if (text.empty()) return std::nullopt;
    try {
        return Step{ParseRequestText(text), {}};
    } catch (const std::exception& e) {
        return Step{Json(), "line " + std::to_string(lineNo) + " is not valid JSON: " + e.what()};
    }
}

std::vector<Step> ParseScenario(std::string_view text) {
    std::vector<Step> steps;
    const std::string whole = Trimmed(text);
    if (whole.empty()) return steps;
    // A whole document first: an array of steps, or a single step written over several lines.
    Json document;
    try {
        document = ParseRequestText(whole);
    } catch (const JsonError& e) {
        steps.push_back({Json(), std::string("the scenario is not valid JSON: ") + e.what()});
        return steps;
    } catch (const std::exception&) {
        document = Json(Json::value_t::discarded);
    }
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
        if (auto step = StepFromLine(text.substr(pos, end - pos), ++lineNo)) steps.push_back(std::move(*step));
        pos = end + 1;
    }
    return steps;
}

Json AnswerStep(const Step& step) {
    return step.parseError.empty() ? HandleRequest(step.request) : Json{{"error", step.parseError}};
}

void WriteReply(const Json& reply, std::ostream& out) {
    out << JsonLine(reply) << '\n';
    out.flush();
}

int RunSteps(const std::vector<Step>& steps, std::ostream& out) {
    int failed = 0;
    for (const Step& step : steps) {
        const Json reply = AnswerStep(step);
        if (reply.contains("error")) ++failed;
        WriteReply(reply, out);
    }
    return failed;
}

}  // namespace orb::cli
