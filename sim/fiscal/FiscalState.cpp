#include "fiscal/FiscalState.h"

namespace orb::sim::fiscal {

bool KnownModel(int model) { return model == 14 || model == 18 || model == 19 || model == 27 || model == 34; }

bool HasDetailMemory(int model) { return model == 19 || model == 27 || model == 34; }

// The older models keep 9 totalizers; the detail-memory ones 28 of the user's, slots 29 and 30
// being the fixed withdrawal and supply totalizers.
int TotalizerCapacity(int model) { return HasDetailMemory(model) ? 28 : 9; }

std::size_t TotalizerNameWidth(int model) { return HasDetailMemory(model) ? 15 : 19; }

std::size_t PaymentNameWidth(int model) { return model == 19 ? 15 : 16; }

State FactoryState(int model) {
    State s;
    s.id.model = model;
    s.id.serial = "SIM" + std::string(15, '0') + (model < 10 ? "0" : "") + std::to_string(model);
    switch (model) {
        case 14:
            s.id.firmware = "010302";
            s.id.modelName = "VIRTUAL FI 14";
            break;
        case 18:
            s.id.firmware = "010303";
            s.id.modelName = "VIRTUAL FI 18";
            break;
        case 19:
            s.id.firmware = "010100";
            s.id.modelName = "VIRTUAL TH FI 19";
            break;
        case 27:
            s.id.firmware = "010002";
            s.id.modelName = "VIRTUAL TH FI 27";
            break;
        default:
            s.id.firmware = "010101";
            s.id.modelName = "VIRTUAL TH FI 34";
            break;
    }
    s.rates = {{1800, false, 0}, {1200, false, 0}, {700, false, 0}, {500, true, 0}};
    s.payments = {{"Dinheiro", false, 0}};
    s.reports.assign(kReportSlots, ReportTitle{});
    return s;
}

}  // namespace orb::sim::fiscal
