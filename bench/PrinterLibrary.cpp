#include "PrinterLibrary.h"

#include <algorithm>
#include <stdexcept>

#include "orb00100/VendorApi.h"
#include "platform/Platform.h"

namespace orb::bench {

namespace {

// The library is the one the module loads (the same handle, one reference more); this
// reference is kept for the life of the process, so the entry found stays valid across the
// module's starts and stops.
PFN_BemaSim_Control ControlEntry() {
    static const platform::LibHandle lib = platform::LoadLibrary("BemaFI32.dll");
    if (lib == 0) throw std::runtime_error("BemaFI32.dll cannot be loaded: " + platform::LastErrorMessage());
    return reinterpret_cast<PFN_BemaSim_Control>(platform::GetProcAddress(lib, "BemaSim_Control"));
}

}  // namespace

std::string PrinterLibraryFile() { return platform::FindLibraryFile("BemaFI32.dll"); }

bool IsVirtualPrinter() { return ControlEntry() != nullptr; }

nlohmann::json ControlVirtualPrinter(const nlohmann::json& request) {
    const PFN_BemaSim_Control control = ControlEntry();
    if (control == nullptr) throw std::runtime_error("the fiscal library loaded is not the virtual printer");
    const std::string text = request.dump();
    std::string reply(16 * 1024, '\0');
    int length = control(text.c_str(), reply.data(), static_cast<int>(reply.size()));
    if (length >= static_cast<int>(reply.size())) {
        reply.assign(static_cast<std::size_t>(length) + 1, '\0');
        length = control(text.c_str(), reply.data(), static_cast<int>(reply.size()));
    }
    reply.resize(std::min(reply.find('\0'), reply.size()));
    if (length < 0) throw std::runtime_error("the virtual printer refused " + text + ": " + reply);
    return nlohmann::json::parse(reply);
}

}  // namespace orb::bench
