// The management-report titles of the detail-memory printers: each found in the printer's
// numbered list by its catalog text, or programmed into a free slot.
#include "config/Config.h"

#include <algorithm>
#include <array>

#include "config/ConfigCalls.h"
#include "driver/PrinterCall.h"
#include "external/vendor/EntryPoints.h"
#include "framework/Text.h"

namespace Orb00100 {

namespace {

using config::CatalogText;
using config::SlotText;
using orb::fw::Copy;
using orb::fw::Trim;

// Thirty records of 21 characters (a counter of 4, the title in 17), each followed by ",".
constexpr int kListWidth = 659;
constexpr std::size_t kRecordStep = 22;
constexpr int kTitleWidth = 17;

bool HasReportTitles(int model) { return model == 19 || model == 27 || model == 34; }

void DropRecord(std::string& list) { list.erase(0, std::min(list.size(), kRecordStep)); }

}  // namespace

void CarregaRelatorioGer(std::string& meiosPgto, std::string& identPafEcf, std::string& paramConfig,
                         std::string& transMesa, std::string& confMesa, std::string& mesasAbertas,
                         const std::string& scheme, int model) {
    EnsureDataModule();
    const std::array<const char*, 6> keys = {"Meios-Pgto", "Ident-PafEcf", "Param-Config",
                                             "Trans-Mesa", "Conf-Mesa",    "Mesas-Abertas"};
    const std::array<std::string*, 6> slots = {&meiosPgto, &identPafEcf, &paramConfig,
                                               &transMesa, &confMesa,    &mesasAbertas};
    for (std::string* slot : slots) slot->clear();

    std::string list;
    Query(scheme, {}, ORB_ENTRY(Bematech_FI_VerificaRelatorioGerencialMFD), kListWidth, list);
    if (!HasReportTitles(model)) return;

    // A title the printer refused is not offered the next free slot again: whatever stopped it
    // (a document open, a printer off line) would stop it there too.
    std::array<bool, 6> attempted{};
    int next = 1;
    while (!list.empty()) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const std::string text = CatalogText(keys[i]);
            const std::string held = Trim(Copy(list, 5, kTitleWidth));
            if (held == Trim(Copy(text, 1, kTitleWidth))) {
                *slots[i] = SlotText(next);
            } else if (held.empty() && slots[i]->empty() && !attempted[i]) {
                // Free slot: program it, and compare the next title with the next record.
                attempted[i] = true;
                std::string number = SlotText(next);
                std::string title = text;
                if (Call(scheme, {},
                         "Bematech_FI_NomeiaRelatorioGerencialMFD : " + orb::fw::IntToStr(next) + " - " + text,
                         Bematech_FI_NomeiaRelatorioGerencialMFD, number.data(), title.data()))
                    *slots[i] = number;
                ++next;
                DropRecord(list);
            }
        }
        ++next;
        DropRecord(list);
    }
}

}  // namespace Orb00100
