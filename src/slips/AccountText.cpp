// The shared pieces of the consumer-account documents.
#include "slips/AccountText.h"

#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "nonfiscal/LinkedSlips.h"
#include "nonfiscal/ManagementReports.h"
#include "slips/SlipText.h"

namespace Orb00100::slips {

std::string Msg2(std::string_view key) { return DataModule().msgPadrao2.Msg(key); }

std::string Ln(std::string_view text) { return std::string(text) + "\n"; }

std::string Ln48(std::string_view text) { return orb::fw::Copy(text, 1, kLineWidth) + "\n"; }

std::string Money(double value) { return orb::fw::FloatToStrCurrency(value, 2); }

bool SendWhole(const std::string& scheme, std::string_view block, int limit) {
    while (!block.empty()) {
        std::size_t size = block.size();
        if (size > static_cast<std::size_t>(limit)) {
            // The last line end within the limit; a single line longer than that is cut.
            const std::size_t end = block.rfind('\n', limit - 1);
            size = end == std::string_view::npos ? limit : end + 1;
        }
        if (!Usa_CompNFis(scheme, std::string(block.substr(0, size)))) return false;
        block.remove_prefix(size);
    }
    return true;
}

bool Abandon(const std::string& scheme) {
    ImpFisDebug("Documento interrompido: fechando");
    FechRelatGerenc(scheme, true, false);
    return false;
}

}  // namespace Orb00100::slips
