// The non-fiscal receipt printer's three entry points.
#include "slips/ReceiptPrinter.h"

#include "driver/DebugLog.h"
#include "driver/PrinterCall.h"

namespace Orb00100::slips {

namespace {

constexpr int kFont = 2;

template <class Pfn>
Pfn Find(orb::platform::LibHandle library, const char* name) {
    return library ? reinterpret_cast<Pfn>(orb::platform::GetProcAddress(library, name)) : nullptr;
}

}  // namespace

ReceiptPrinter::ReceiptPrinter()
    : library_(orb::platform::LoadLibrary("Mp2032.dll")),
      open_(Find<PFN_IniciaPorta>(library_, "IniciaPorta")),
      print_(Find<PFN_FormataTX>(library_, "FormataTX")),
      close_(Find<PFN_FechaPorta>(library_, "FechaPorta")),
      command_(Find<PFN_ComandoTX>(library_, "ComandoTX")) {}

ReceiptPrinter::~ReceiptPrinter() {
    try {
        Close();
    } catch (...) {
        // A debug line that cannot be written must not stop the port's release.
    }
    if (library_) orb::platform::FreeLibrary(library_);
}

bool ReceiptPrinter::Open(const std::string& port) {
    std::string name = port;
    const int code = Invoke(open_, name.data());
    portOpen_ = code > 0;
    ImpFisDebug("IniciaPorta : " + port + " - " + std::to_string(code));
    return portOpen_;
}

void ReceiptPrinter::Print(const std::string& text, bool expanded) {
    std::string line = text;
    Invoke(print_, line.data(), kFont, 0, 0, expanded ? 1 : 0, 0);
    ImpFisDebug("FormataTX: " + text);
}

bool ReceiptPrinter::PrintStyled(const std::string& text, int style, bool bold) {
    std::string line = text;
    const int code = Invoke(print_, line.data(), style, 0, 0, 0, bold ? 1 : 0);
    ImpFisDebug("FormataTX: " + text + " - " + std::to_string(code));
    return code > 0;
}

bool ReceiptPrinter::Command(const std::string& bytes) {
    std::string raw = bytes;
    const int code = Invoke(command_, raw.data(), static_cast<int>(raw.size()));
    ImpFisDebug("ComandoTX - " + std::to_string(code));
    return code > 0;
}

void ReceiptPrinter::Close() {
    if (!portOpen_) return;
    portOpen_ = false;
    Invoke(close_);
    ImpFisDebug("FechaPorta");
}

}  // namespace Orb00100::slips
