// Cash supply, withdrawal and totalizer receipts: one printer call each.
#include "nonfiscal/CashMovements.h"

#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "driver/Globals.h"
#include "driver/StatusAnalysis.h"
#include "external/hostlib/Dialogs.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "driver/PrinterCall.h"

namespace Orb00100 {

namespace {

constexpr char kCash[] = "Dinheiro";

// A refused movement is told to the operator in words of its own: the status analysis may only
// have named a status bit.
bool Verdict(const std::string& scheme, int code) {
    if (AnalisaRetorno(scheme, code, true, false, false)) return true;
    orb::hostlib::Inform(scheme, DataModule().msgPadrao.Msg("ErroComando"), orb::hostlib::DialogKind::Notice);
    return false;
}

}  // namespace

bool Suprimento(const std::string& /*unused*/, const std::string& scheme, double amount) {
    EnsureDataModule();
    std::string text = orb::fw::FormatFloat("0.00", amount);
    // Judged on the amount as sent: a fraction of a cent would go out as "0,00", which the
    // printer refuses.
    if (!(orb::fw::DecimalRound(amount, 2) > 0)) return true;
    std::string method = orb::fw::Copy(kCash, 1, 16);
    const int code = Invoke(Bematech_FI_Suprimento, text.data(), method.data());
    ImpFisDebug("Bematech_FI_Suprimento : " + text + " - " + method);
    return Verdict(scheme, code);
}

bool Sangria(const std::string& /*unused*/, const std::string& scheme, double amount) {
    EnsureDataModule();
    // A zero withdrawal is still documented on the printer, as one cent.
    if (orb::fw::DecimalRound(amount, 2) == 0) amount = 0.01;
    std::string text = orb::fw::FormatFloat("0.00", amount);
    const int code = Invoke(Bematech_FI_Sangria, text.data());
    ImpFisDebug("Bematech_FI_Sangria : " + text);
    return Verdict(scheme, code);
}

bool Cupom_NFiscNVinc(const std::string& scheme, const std::string& totalizer, const std::string& amount,
                      const std::string& method) {
    std::string index = totalizer, value = amount, name = method;
    const int code = Invoke(Bematech_FI_RecebimentoNaoFiscal, index.data(), value.data(), name.data());
    ImpFisDebug("Bematech_FI_RecebimentoNaoFiscal : " + totalizer + " - " + amount + " - " + method);
    return AnalisaRetorno(scheme, code, boNUtilTaa, false, false);
}

}  // namespace Orb00100
