#include "bridge/SimControl.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "orb00100/VendorApi.h"
#include "platform/Platform.h"

namespace orb::bridge {

namespace {

// The maker's calling convention, as every entry of the library.
using ControlEntry = PFN_BemaSim_Control;

ControlEntry LoadControl(const char* library, const char* symbol) {
    platform::LibHandle lib = platform::LoadLibrary(library);
    if (lib == 0) throw std::runtime_error(std::string("cannot load the printer library ") + library);
    void* found = platform::GetProcAddress(lib, symbol);
    if (!found)
        throw std::runtime_error(std::string(library) + " has no " + symbol + ": it is not the virtual printer");
    return reinterpret_cast<ControlEntry>(found);
}

// Loaded once and kept: the module binds the same libraries, and a printer's state must not be
// torn down between two commands. "printer": "Mp2032" addresses the non-fiscal printer.
ControlEntry Entry(const Json& command) {
    if (command.contains("printer") && command["printer"] == "Mp2032") {
        static ControlEntry mp2032 = LoadControl("Mp2032.dll", "Mp2032Sim_Control");
        return mp2032;
    }
    static ControlEntry fiscal = LoadControl("BemaFI32.dll", "BemaSim_Control");
    return fiscal;
}

}  // namespace

namespace {

Json Parse(const std::vector<char>& area) {
    std::string text(area.data());
    Json parsed = Json::parse(text, nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object())
        throw std::runtime_error("the virtual printer answered something that is not a JSON object: " +
                                 text.substr(0, 200));
    return parsed;
}

// Sends one request. The entry cuts a reply to the area given and answers its full length; a
// request that only reads ("journal" and "roll" without "clear", "state") is sent again with room
// for the whole reply. Any other command is never sent twice: its reply must fit.
Json Exchange(const Json& request, std::size_t firstArea, bool readOnly) {
    ControlEntry entry = Entry(request);
    const std::string text = request.dump();
    std::vector<char> area(std::max<std::size_t>(firstArea, 2), '\0');
    int written = entry(text.c_str(), area.data(), static_cast<int>(area.size()));
    if (written >= static_cast<int>(area.size())) {
        if (!readOnly)
            throw std::runtime_error("the virtual printer's reply is longer than " + std::to_string(area.size()) +
                                     " bytes");
        area.assign(static_cast<std::size_t>(written) + 1, '\0');
        written = entry(text.c_str(), area.data(), static_cast<int>(area.size()));
        if (written >= static_cast<int>(area.size()))
            throw std::runtime_error("the virtual printer's reply kept growing while it was read");
    }
    area.back() = '\0';
    return Parse(area);
}

}  // namespace

Json SimControl(const Json& command, std::size_t firstArea) {
    const std::string name =
        command.contains("sim") && command["sim"].is_string() ? command["sim"].get<std::string>() : "";
    const bool clears = command.contains("clear") && command["clear"] != false && !command["clear"].is_null();
    if ((name == "journal" || name == "roll") && clears) {
        // Read first, then clear: a retried read must not find the journal emptied by its first try.
        Json read = command;
        read.erase("clear");
        Json reply = Exchange(read, firstArea, true);
        Json cleared = Exchange(command, std::max<std::size_t>(firstArea, reply.dump().size() + 1024), true);
        if (cleared.contains("error")) return cleared;
        return reply;
    }
    return Exchange(command, firstArea, name == "journal" || name == "roll" || name == "state");
}

}  // namespace orb::bridge
