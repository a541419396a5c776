#pragma once
// The fiscal library this process loads under the maker's name, and the virtual printer's
// control entry when that library is the virtual printer.
#include <nlohmann/json.hpp>
#include <string>

namespace orb::bench {

// The file the module loads for "BemaFI32.dll" ("" when only the system's rule is left).
std::string PrinterLibraryFile();

// True when the loaded library is the virtual printer (it exports the control entry).
bool IsVirtualPrinter();

// A control request to the virtual printer. Raises std::runtime_error when the library is not
// the virtual printer or refuses the request.
nlohmann::json ControlVirtualPrinter(const nlohmann::json& request);

}  // namespace orb::bench
