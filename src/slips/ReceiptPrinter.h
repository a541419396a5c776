#pragma once
// The non-fiscal receipt printer, reached through its maker's library, loaded for the length of
// one document. The port is closed on every way out, an exception included: a port left open
// would refuse the next document.
#include <string>

#include "orb00100/VendorApi.h"
#include "platform/Platform.h"

namespace Orb00100::slips {

class ReceiptPrinter {
public:
    ReceiptPrinter();
    ~ReceiptPrinter();
    ReceiptPrinter(const ReceiptPrinter&) = delete;
    ReceiptPrinter& operator=(const ReceiptPrinter&) = delete;

    // True when a printer answers on the port. A library that cannot be loaded answers false,
    // as a printer that cannot be reached does.
    bool Open(const std::string& port);
    // One text in the printer's font 2, expanded or not.
    void Print(const std::string& text, bool expanded = false);
    // One text in the given style, bold or not; false when the printer refused it.
    bool PrintStyled(const std::string& text, int style, bool bold);
    // Raw bytes for the printer (a model's control string).
    bool Command(const std::string& bytes);
    void Close();

private:
    orb::platform::LibHandle library_ = 0;
    PFN_IniciaPorta open_ = nullptr;
    PFN_FormataTX print_ = nullptr;
    PFN_FechaPorta close_ = nullptr;
    PFN_ComandoTX command_ = nullptr;
    bool portOpen_ = false;
};

}  // namespace Orb00100::slips
