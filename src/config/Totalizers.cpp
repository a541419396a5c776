// The non-fiscal totalizers the host addresses by slot number: found in the printer's list by
// their catalog names, or programmed into the first free slots.
#include "config/Config.h"

#include <algorithm>

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

constexpr int kListWidth = 179;  // nine records of 19 characters, each followed by ","
constexpr int kRecordWidth = 19;

// How much of a catalog name the model's list keeps; 0 for a model whose list is not read.
int ComparedWidth(int model) {
    switch (model) {
        case 14:
        case 18:
            return 19;
        case 19:
        case 27:
        case 34:
            return 15;
        default:
            return 0;
    }
}

struct Totalizer {
    const char* compareKey;
    const char* programKey;  // the report totalizer is found as "RELATORIO", named as "Relatorio"
    std::string* slot;
};

}  // namespace

void CarregaTotalizador(std::string& cvEmitido, std::string& vendaCons, std::string& compraCred, std::string& cancCred,
                        std::string& relatorio, const std::string& scheme, int model,
                        orb::fw::ClientDataSet*& /*unused*/) {
    EnsureDataModule();

    std::string list;
    Query(scheme, {}, ORB_ENTRY(Bematech_FI_VerificaTotalizadoresNaoFiscais), kListWidth, list);

    const Totalizer scanned[] = {
        {"CV-EMITIDO", "CV-EMITIDO", &cvEmitido},    {"VENDA-CONS", "VENDA-CONS", &vendaCons},
        {"Compra-Cred", "Compra-Cred", &compraCred}, {"RELATORIO", "Relatorio", &relatorio},
        {"Canc-Cred", "Canc-Cred", &cancCred},
    };

    // The slot counter ends on the first free slot: the list stops at its first empty record.
    int next = 1;
    if (const int width = ComparedWidth(model); width > 0) {
        while (!Trim(Copy(list, 1, kRecordWidth)).empty()) {
            const std::string name = Trim(Copy(list, 1, kRecordWidth));
            for (const Totalizer& t : scanned)
                if (name == Trim(Copy(CatalogText(t.compareKey), 1, width))) *t.slot = SlotText(next);
            list.erase(0, std::min<std::size_t>(list.size(), kRecordWidth + 1));
            ++next;
        }
    }

    // Programmed in this order, so an installation's slots stay where they have always been.
    const Totalizer programmed[] = {scanned[0], scanned[2], scanned[3], scanned[1], scanned[4]};
    for (const Totalizer& t : programmed) {
        if (!t.slot->empty()) continue;
        const std::string text = CatalogText(t.programKey);
        std::string name = text;
        const int slot = next++;
        // A slot the printer refused (full, or busy with a document) does not exist there: the
        // host must not address receipts to it.
        if (Call(scheme, {}, "Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms : " + orb::fw::IntToStr(slot) + " - " + text,
                 Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms, slot, name.data()))
            *t.slot = SlotText(slot);
    }
}

bool Nomeia_TotParcial_Bematech(const std::string& /*name*/, const std::string& /*index*/,
                                const std::string& /*scheme*/, const std::string& /*spare*/, bool /*show*/,
                                bool /*spareFlag*/) {
    return false;
}

}  // namespace Orb00100
