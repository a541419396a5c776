// Orb00100_Request: the bridge behind a C entry point of the module.
#include <climits>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>

#include "bridge/Bridge.h"
#include "bridge/RequestText.h"
#include "orb00100/Request.h"

namespace orb::bridge {

namespace {

// The reply that did not fit the caller's area, for the same request's next call.
struct KeptReply {
    std::string request;
    std::string reply;
};

std::mutex entryLock;
std::optional<KeptReply> kept;

std::string Answer(const char* requestUtf8) {
    if (requestUtf8 == nullptr) return JsonLine(Json{{"error", "no request was given (a null pointer)"}});
    Json request;
    try {
        request = ParseRequestText(requestUtf8);
    } catch (const std::exception& e) {
        return JsonLine(Json{{"error", std::string("the request is not valid JSON: ") + e.what()}});
    }
    return JsonLine(HandleRequest(request));
}

int Deliver(const std::string& text, char* reply, int replySize) {
    const std::size_t needed = text.size() + 1;
    if (reply != nullptr && replySize > 0 && needed <= static_cast<std::size_t>(replySize)) {
        std::memcpy(reply, text.c_str(), needed);
    } else if (reply != nullptr && replySize > 0) {
        reply[0] = '\0';
    }
    return static_cast<int>(needed);
}

int Serve(const char* requestUtf8, char* reply, int replySize) {
    const std::lock_guard<std::mutex> hold(entryLock);
    std::string text;
    if (kept && requestUtf8 != nullptr && kept->request == requestUtf8) {
        text = std::move(kept->reply);
    } else {
        kept.reset();
        text = Answer(requestUtf8);
        // The area's size is an int: a reply past it could never be asked for.
        if (text.size() >= static_cast<std::size_t>(INT_MAX))
            text = JsonLine(Json{{"error", "the reply is longer than the largest answer area (" +
                                               std::to_string(text.size()) + " bytes)"}});
    }
    const bool fits = reply != nullptr && replySize > 0 && text.size() < static_cast<std::size_t>(replySize);
    if (!fits && requestUtf8 != nullptr) {
        kept = KeptReply{requestUtf8, text};
        return Deliver(kept->reply, reply, replySize);
    }
    kept.reset();
    return Deliver(text, reply, replySize);
}

}  // namespace

}  // namespace orb::bridge

extern "C" int ORB_CALLCONV Orb00100_Request(const char* requestUtf8, char* reply, int replySize) {
    try {
        return orb::bridge::Serve(requestUtf8, reply, replySize);
    } catch (...) {
        // Out of memory, most likely: say so if there is room, and never throw into the host.
        static const char failure[] = "{\"error\":\"the module could not serve the request (out of memory)\"}";
        if (reply != nullptr && replySize >= static_cast<int>(sizeof failure))
            std::memcpy(reply, failure, sizeof failure);
        else if (reply != nullptr && replySize > 0)
            reply[0] = '\0';
        return static_cast<int>(sizeof failure);
    }
}
