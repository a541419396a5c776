// Closing a fiscal coupon: the steps in the order the printer takes them, and the answer.
#include "coupon/Closing.h"

#include "coupon/ClosingInput.h"
#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "driver/Globals.h"
#include "driver/PrinterCall.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
#include "framework/Cp1252.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "queries/Queries.h"

namespace Orb00100 {

namespace {

using namespace closing;
using orb::fw::ClientDataSet;
using orb::fw::Variant;

// Filter and index of an earlier call must not refuse a packet of another structure.
void Load(ClientDataSet& table, const Variant& packet) {
    table.SetFiltered(false);
    table.SetFilter("");
    table.SetIndexFieldNames("");
    table.SetData(packet.AsDataPacket());
}

// The balance tables are optional: one the host did not pass is left closed.
void LoadOptional(ClientDataSet& table, const Variant& packet) {
    if (packet.Type() == orb::fw::VarType::DataPacket) {
        Load(table, packet);
    } else {
        table.Close();
    }
}

void LoadTables(const ClosingInput& in) {
    TdtmBematech100& dm = EnsureDataModule();
    for (ClientDataSet* moves : {&dm.cdsMovCaixa, &dm.cdsMovCaixaTef}) {
        Load(*moves, in.movements);
        moves->AddIndex("idxDTHRINCMOV", "DTHRINCMOV");
        moves->AddIndex("idxNRORDTROCO", "DTHRINCMOV;NRORDTROCO");
        moves->SetIndexName("idxNRORDTROCO");
    }
    dm.cdsMovCaixaTef.EmptyDataSet();
    Load(dm.cdsRecebAux, in.paymentTypes);
    LoadOptional(dm.cdsSaldCred, in.creditBalances);
    LoadOptional(dm.cdsFamiliaSaldo, in.familyBalances);
    LoadOptional(dm.cdsEmprestimo, in.loans);
    LoadOptional(dm.cdsVrSaldConsumi, in.consumption);
}

// The conference counters as the footer prints them.
void AdjustCounters(ClosingInput& in) {
    if (!in.conferenceCoo.empty()) in.conferenceCoo = orb::hostlib::Ajusta(in.conferenceCoo, 6);
    if (!in.conferenceCer.empty())
        in.conferenceCer = orb::hostlib::Ajusta(orb::fw::IntToStr(orb::fw::StrToInt(in.conferenceCer)), 6);
}

// With a transfer pending, the printer must answer before anything is sent.
bool TransferPreCheck(const ClosingInput& in, bool& retried) {
    if (!(in.transfer.kind == "T" && in.transfer.inUse)) return true;
    while (!Estado_Imp(in.scheme)) {
        if (!OfferRetry(in, retried)) return false;
    }
    return true;
}

bool StartClosing(const ClosingInput& in, bool& retried) {
    std::string kind = "d";
    std::string amount;
    if (in.discount > 0) {
        amount = orb::fw::FormatFloat("0.00", orb::hostlib::Trunc2(in.discount));
    } else if (in.surcharge > 0) {
        kind = "a";
        amount = orb::fw::FormatFloat("0.00", orb::hostlib::Trunc2(in.surcharge));
    } else {
        amount = orb::fw::FloatToStr(in.discount);
    }
    for (;;) {
        std::string kindArg = kind, valueKind = "$", amountArg = amount;
        if (Call(in.scheme, {.show = in.show}, "Bematech_FI_IniciaFechamentoCupom : " + kind + " - $ - " + amount,
                 Bematech_FI_IniciaFechamentoCupom, kindArg.data(), valueKind.data(), amountArg.data()))
            return true;
        if (!OfferRetry(in, retried)) return false;
        Invoke(Bematech_FI_IniciaModoTEF);
    }
}

// The change as a cash receipt. A refusal does not undo the sale, which the printer has closed,
// but the host must learn that the change went unrecorded: no counter, and the amount in the
// messages it is handed.
std::string ChangeReceipt(const ClosingInput& in) {
    const std::string method = orb::fw::Copy(DataModule().msgPadrao.Msg("Dinheiro"), 1, 16);
    const std::string amount = orb::fw::FormatFloat("0.00", in.change);
    std::string totalizerArg = in.receiptTotalizer, amountArg = amount, methodArg = method;
    if (!Call(in.scheme, {.show = in.show},
              "Bematech_FI_RecebimentoNaoFiscal : " + in.receiptTotalizer + " - " + amount + " - " + method,
              Bematech_FI_RecebimentoNaoFiscal, totalizerArg.data(), amountArg.data(), methodArg.data())) {
        stMensagemTaa += " " + CP("Troco não registrado: ") + amount;
        return "";
    }
    std::string counter;
    NumeroOperacoesNaoFiscais(in.scheme, counter);
    return counter;
}

void FillResult(Variant& result, bool retried, const std::string& stateNumber, const std::string& counter) {
    if (!result.IsArray()) result = Variant::MakeArray(4);
    while (result.ArraySize() < 4) result.AsArray().emplace_back();
    result[0] = Variant(retried ? 1 : 0);
    result[1] = Variant(stateNumber);
    result[2] = Variant(counter);
    result[3] = Variant(stMensagemTaa);
}

}  // namespace

bool FechaCupom(std::span<const Variant> params, orb::fw::StringList* lines, Variant& result) {
    ClosingInput in = ReadClosingInput(params);
    bool retried = false;
    std::string counter;
    try {
        stMensagemTaa.clear();
        AdjustCounters(in);
        LoadTables(in);

        // A refused step answers false with the host's result array as it came.
        if (!TransferPreCheck(in, retried) || !StartClosing(in, retried)) return false;
        const double paid = Consolidate(in);
        const PaymentsOutcome payments = RegisterPayments(in, retried);
        if (!payments.ended) return false;
        const double net = orb::fw::DecimalRound(orb::fw::DecimalSubtract(paid, in.change), 2);
        if (payments.accepted == 0) {
            // A coupon cannot be ended without a payment: the sale is still open on the printer.
            ImpFisDebug("FechaCupom : nenhum pagamento registrado");
            boClieUtil = false;
            FillResult(result, retried, in.stateNumber, counter);
            return false;
        }
        if (!EndCoupon(in, payments, net, lines, retried)) return false;
        if (in.changeReceipt) counter = ChangeReceipt(in);
    } catch (const std::exception& e) {
        ImpFisDebug(std::string("FechaCupom : ") + e.what());
        FillResult(result, retried, in.stateNumber, counter);
        return false;
    }
    FillResult(result, retried, in.stateNumber, counter);
    boClieUtil = stMensagemTaa.empty();
    return true;
}

}  // namespace Orb00100
