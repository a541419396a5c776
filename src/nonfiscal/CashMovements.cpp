// Cash supply, withdrawal and totalizer receipts: one printer call each.
#include "nonfiscal/CashMovements.h"

#include "driver/DataModule.h"
#include "driver/Globals.h"
#include "driver/PrinterCall.h"
#include "external/hostlib/Dialogs.h"
#include "external/vendor/EntryPoints.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"

namespace Orb00100 {

namespace {

constexpr char kCash[] = "Dinheiro";

// A refused movement is told to the operator in words of its own: the status analysis may only
// have named a status bit.
bool Told(const std::string& scheme, bool accepted) {
    if (!accepted)
        orb::hostlib::Inform(scheme, DataModule().msgPadrao.Msg("ErroComando"), orb::hostlib::DialogKind::Notice);
    return accepted;
}

}  // namespace

bool Suprimento(const std::string& /*unused*/, const std::string& scheme, double amount) {
    EnsureDataModule();
    std::string text = orb::fw::FormatFloat("0.00", amount);
    // Judged on the amount the host gave: a fraction of a cent goes out as "0,00" and the
    // printer's refusal is what the operator hears of it.
    if (!(amount > 0)) return true;
    std::string method = orb::fw::Copy(kCash, 1, 16);
    return Told(scheme, Call(scheme, {.show = true}, "Bematech_FI_Suprimento : " + text + " - " + method,
                             Bematech_FI_Suprimento, text.data(), method.data()));
}

bool Sangria(const std::string& /*unused*/, const std::string& scheme, double amount) {
    EnsureDataModule();
    // A zero withdrawal is still documented on the printer, as one cent. Only zero itself: a
    // fraction of a cent goes out as "0,00", like any other amount, for the printer to judge.
    if (amount == 0) amount = 0.01;
    std::string text = orb::fw::FormatFloat("0.00", amount);
    return Told(scheme,
                Call(scheme, {.show = true}, "Bematech_FI_Sangria : " + text, Bematech_FI_Sangria, text.data()));
}

bool Cupom_NFiscNVinc(const std::string& scheme, const std::string& totalizer, const std::string& amount,
                      const std::string& method) {
    std::string index = totalizer, value = amount, name = method;
    return Call(scheme, {.show = boNUtilTaa},
                "Bematech_FI_RecebimentoNaoFiscal : " + totalizer + " - " + amount + " - " + method,
                Bematech_FI_RecebimentoNaoFiscal, index.data(), value.data(), name.data());
}

}  // namespace Orb00100
