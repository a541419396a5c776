// The entry points of the non-fiscal printer stand-in.
#define ORB_VENDOR_PROTOTYPES
#include "common/SimExport.h"
#include "mp2032/Mp2032Sim.h"

#include <cstring>
#include <exception>
#include <nlohmann/json.hpp>

#include "common/SimText.h"
#include "mp2032/Mp2032Printer.h"
#include "platform/Platform.h"

using Json = nlohmann::json;
using namespace orb::sim;

namespace {

// A failure inside must never cross the C boundary: it is reported as "nothing done".
template <typename F>
int Guarded(F&& body) {
    try {
        return body();
    } catch (...) {
        return 0;
    }
}

int WriteReply(const Json& reply, char* area, int size) {
    const std::string text = reply.dump();
    if (area && size > 0) {
        const std::size_t n = std::min(text.size(), static_cast<std::size_t>(size - 1));
        std::memcpy(area, text.data(), n);
        area[n] = '\0';
    }
    return static_cast<int>(text.size());
}

std::string ReadWhole(const std::string& path) {
    std::string text;
    orb::platform::ReadFile(path, text);
    return text;
}

Json Journal() {
    Json entries = Json::array();
    const std::string text = ReadWhole(mp2032::JournalPath());
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        Json entry = Json::parse(text.substr(start, end - start), nullptr, false);
        if (!entry.is_discarded()) entries.push_back(std::move(entry));
        start = end + 1;
    }
    return entries;
}

}  // namespace

extern "C" {

ORB_SIM_EXPORT int ORB_VENDOR_CALL IniciaPorta(char* port) {
    return Guarded([&] {
        const std::string name = InText(port);
        const int result = mp2032::PortPresent(name) ? 1 : 0;
        if (result == 1) mp2032::State() = {true, UpperCp1252(Trim(name))};
        mp2032::AppendToJournal("IniciaPorta", Json::array({Cp1252ToUtf8(name)}).dump(), result);
        return result;
    });
}

ORB_SIM_EXPORT int ORB_VENDOR_CALL FormataTX(char* text, int style, int italic, int underline, int doubleHeight,
                                             int bold) {
    return Guarded([&] {
        const std::string bytes = InText(text);
        const int result = mp2032::State().open ? 1 : 0;
        if (result == 1) mp2032::AppendToRoll(mp2032::RenderOnPaper(bytes));
        mp2032::AppendToJournal(
            "FormataTX",
            Json::array({mp2032::RenderOnPaper(bytes), style, italic, underline, doubleHeight, bold}).dump(), result);
        return result;
    });
}

ORB_SIM_EXPORT int ORB_VENDOR_CALL ComandoTX(char* bytes, int length) {
    return Guarded([&] {
        // Raw bytes may hold zeros: the length, not a terminator, says where they end.
        const std::string raw =
            bytes && length > 0 ? std::string(bytes, static_cast<std::size_t>(length)) : std::string();
        const int result = mp2032::State().open && bytes && length >= 0 ? 1 : 0;
        if (result == 1) mp2032::AppendToRoll(mp2032::RenderOnPaper(raw));
        mp2032::AppendToJournal("ComandoTX", Json::array({mp2032::RenderOnPaper(raw), length}).dump(), result);
        return result;
    });
}

ORB_SIM_EXPORT int ORB_VENDOR_CALL FechaPorta(void) {
    return Guarded([&] {
        const int result = mp2032::State().open ? 1 : 0;
        mp2032::State() = {};
        mp2032::AppendToJournal("FechaPorta", "[]", result);
        return result;
    });
}

ORB_SIM_EXPORT int ORB_VENDOR_CALL Mp2032Sim_Control(const char* requestJson, char* reply, int replySize) {
    try {
        const Json request = Json::parse(InText(requestJson));
        std::string command;
        if (request.is_object() && request.contains("sim") && request["sim"].is_string())
            command = request["sim"];
        else if (request.is_object() && request.contains("command") && request["command"].is_string())
            command = request["command"];
        const bool clear = request.is_object() && request.value("clear", false);
        if (command == "roll") {
            Json answer{{"roll", ReadWhole(mp2032::RollPath())}};
            if (clear) orb::platform::DeleteFile(mp2032::RollPath());
            return WriteReply(answer, reply, replySize);
        }
        if (command == "journal") {
            Json answer{{"journal", Journal()}};
            if (clear) orb::platform::DeleteFile(mp2032::JournalPath());
            return WriteReply(answer, reply, replySize);
        }
        if (command == "state") {
            std::string ports;
            for (const std::string& p : mp2032::PresentPorts()) ports += (ports.empty() ? "" : ",") + p;
            const auto& state = mp2032::State();
            return WriteReply(
                Json{{"open", state.open}, {"port", Cp1252ToUtf8(state.port)}, {"ports", Cp1252ToUtf8(ports)}}, reply,
                replySize);
        }
        if (command == "reset") {
            mp2032::State() = {};
            orb::platform::DeleteFile(mp2032::RollPath());
            orb::platform::DeleteFile(mp2032::JournalPath());
            return WriteReply(Json{{"reset", true}}, reply, replySize);
        }
        WriteReply(Json{{"error", "unknown command '" + command + "'"}}, reply, replySize);
        return -1;
    } catch (const std::exception& e) {
        WriteReply(Json{{"error", e.what()}}, reply, replySize);
        return -1;
    } catch (...) {
        return -1;
    }
}

}  // extern "C"
