#include "bridge/RequestText.h"

namespace orb::bridge {

Json ParseRequestText(const std::string& text) {
    if (text.find('\0') != std::string::npos) throw JsonError("it holds a NUL byte");
    return Json::parse(text, [](int depth, Json::parse_event_t, Json&) {
        if (depth > kMaxRequestDepth)
            throw JsonError("it nests deeper than " + std::to_string(kMaxRequestDepth) + " levels");
        return true;
    });
}

std::string JsonLine(const Json& value) {
    // Texts in replies are UTF-8 already; a byte that is not would be a fault of ours, and the
    // reply must still go out.
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace orb::bridge
