#include "SimControl.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace orb::cli {

namespace {

using ControlEntry = int (*)(const char* requestJson, char* reply, int replySize);

ControlEntry Entry() {
    // Loaded once and kept: the module binds the same library, and the printer's state must not
    // be torn down between two commands.
    static ControlEntry entry = [] {
        platform::LibHandle lib = platform::LoadLibrary("BemaFI32.dll");
        if (lib == 0) throw std::runtime_error("cannot load the fiscal printer library BemaFI32.dll");
        void* symbol = platform::GetProcAddress(lib, "BemaSim_Control");
        if (!symbol)
            throw std::runtime_error("BemaFI32.dll has no BemaSim_Control: it is not the virtual printer");
        return reinterpret_cast<ControlEntry>(symbol);
    }();
    return entry;
}

}  // namespace

Json SimControl(const Json& command) {
    ControlEntry entry = Entry();
    const std::string request = command.dump();
    // The journal and the roll can be long; the entry answers the size it needs when the
    // area is too small, and we ask again with room for it.
    std::vector<char> reply(1 << 16);
    for (int attempt = 0;; ++attempt) {
        std::fill(reply.begin(), reply.end(), '\0');
        int size = static_cast<int>(reply.size());
        int written = entry(request.c_str(), reply.data(), size);
        if (written >= size && attempt < 4) {
            reply.resize(static_cast<std::size_t>(written) + 1);
            continue;
        }
        break;
    }
    reply.back() = '\0';
    std::string text(reply.data());
    Json parsed = Json::parse(text, nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object())
        throw std::runtime_error("the virtual printer answered something that is not a JSON object: " +
                                 text.substr(0, 200));
    return parsed;
}

}  // namespace orb::cli
