// The bridge's request decoder: a request line as `orb serve` reads it, and for a call every
// argument decoded as its operation's parameter kind. Nothing is called: decoding alone must
// never crash, whatever the line.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Cli.h"
#include "bridge/JsonValues.h"
#include "exports/ExportTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orb::cli;
    const auto step = StepFromLine(std::string_view(reinterpret_cast<const char*>(data), size), 1);
    if (!step || !step->parseError.empty() || !step->request.is_object()) return 0;
    const Json& request = step->request;
    if (!request.contains("call") || !request["call"].is_string() || !request.contains("args") ||
        !request["args"].is_array())
        return 0;
    const orb::exports::Operation* op = orb::exports::FindOperation(request["call"].get<std::string>());
    if (!op) return 0;
    const Json& args = request["args"];
    for (std::size_t i = 0; i < args.size() && i < op->params.size(); ++i) {
        try {
            const auto argument = ArgumentFromJson(op->params[i], args[i]);
            ArgumentToJson(op->params[i], argument);
        } catch (const std::exception&) {
            // A refused argument is an error reply, which is what the bridge must give.
        }
    }
    return 0;
}
