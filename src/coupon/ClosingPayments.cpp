// The sale's cash movements consolidated per payment type, and the payments registered in the
// printer in the order they were taken.
#include "coupon/ClosingInput.h"

#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "driver/Globals.h"
#include "driver/PrinterCall.h"
#include "external/hostlib/Dialogs.h"
#include "external/vendor/EntryPoints.h"
#include "framework/Exceptions.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"

namespace Orb00100::closing {

namespace {

using orb::fw::ClientDataSet;
using orb::fw::Variant;

bool IsPayment(const std::string& kind) { return kind == "E" || kind == "T"; }

void AppendCopy(const ClientDataSet& from, ClientDataSet& to) {
    auto& source = const_cast<ClientDataSet&>(from);
    to.Append();
    for (int i = 0; i < source.FieldCount(); ++i) {
        orb::fw::Field& field = source.FieldAt(i);
        if (orb::fw::Field* target = to.FindField(field.FieldName())) target->SetValue(field.Value());
    }
    to.Post();
}

}  // namespace

bool OfferRetry(const ClosingInput& in, bool& retried) {
    if (boNUtilTaa && in.transfer.Active()) {
        if (!orb::hostlib::AskYesNo(in.scheme, DataModule().msgPadrao.Msg("Imp_N_Resp"))) return false;
        retried = true;
        return true;
    }
    boClieUtil = false;
    return false;
}

double Consolidate(const ClosingInput& in) {
    TdtmBematech100& dm = DataModule();
    ClientDataSet& moves = dm.cdsMovCaixa;
    ClientDataSet& paid = dm.cdsMovCaixaTef;
    const bool transfer = in.transfer.kind == "S" || in.transfer.kind == "T";

    ImpFisDebug("Registros cdsMovCaixa: " + orb::fw::IntToStr(moves.RecordCount()));
    double total = 0;
    for (moves.First(); !moves.Eof(); moves.Next()) {
        const std::string kind = moves.FieldByName("IDTIPOMOVIVE").AsString();
        const double amount = moves.FieldByName("VRMOVIVEND").AsFloat();
        if (transfer && IsPayment(kind)) {
            const Variant key = Variant::MakeArray({moves.FieldByName("CDTIPORECE").Value(), Variant("E")});
            if (paid.Locate("CDTIPORECE;IDTIPOMOVIVE", key)) {
                paid.Edit();
                orb::fw::Field& sum = paid.FieldByName("VRMOVIVEND");
                sum.SetAsFloat(orb::fw::DecimalRound(orb::fw::DecimalAdd(sum.AsFloat(), amount), 2));
                paid.Post();
            } else {
                AppendCopy(moves, paid);
            }
            total = orb::fw::DecimalAdd(total, amount);
        } else {
            AppendCopy(moves, paid);
            if (kind == "E") total = orb::fw::DecimalAdd(total, amount);
        }
    }
    return orb::fw::DecimalRound(total, 2);
}

PaymentsOutcome RegisterPayments(const ClosingInput& in, bool& retried) {
    TdtmBematech100& dm = DataModule();
    ClientDataSet& paid = dm.cdsMovCaixaTef;
    ClientDataSet& types = dm.cdsRecebAux;
    PaymentsOutcome out;

    ImpFisDebug("Registros cdsMovCaixaTef: " + orb::fw::IntToStr(paid.RecordCount()));
    for (paid.First(); !paid.Eof(); paid.Next()) {
        if (!IsPayment(paid.FieldByName("IDTIPOMOVIVE").AsString())) continue;
        // A card payment is known to the printer by the type it was taken under.
        const std::string typeCode = paid.FieldByName("CDBANCARTCR").AsString().empty()
                                         ? paid.FieldByName("CDTIPORECE").AsString()
                                         : paid.FieldByName("CDTIPORECEORIG").AsString();
        // Paying under whatever type the cursor happened to rest on would print a wrong document.
        if (!types.Locate("CDTIPORECE", Variant(typeCode)))
            throw orb::fw::EDatabaseError("FechaCupom: payment type '" + typeCode + "' not found");
        const std::string kind = types.FieldByName("IDTIPORECE").AsString();
        const double amount = paid.FieldByName("VRMOVIVEND").AsFloat();
        if (kind == "8") out.agreement = true;
        if (kind == "9" || kind == "A") out.accountDebits = orb::fw::DecimalAdd(out.accountDebits, amount);

        const std::string name = orb::fw::Copy(types.FieldByName("NMTIPORECE").AsString(), 1, 16);
        const std::string amountText = orb::fw::FormatFloat("#0.00", amount);
        for (;;) {
            std::string nameArg = name, amountArg = amountText;
            if (Call(in.scheme, {.show = in.show}, "Bematech_FI_EfetuaFormaPagamento : " + name + " - " + amountText,
                     Bematech_FI_EfetuaFormaPagamento, nameArg.data(), amountArg.data()))
                break;
            if (!OfferRetry(in, retried)) return out;
        }
        ++out.accepted;
    }
    out.ended = true;
    return out;
}

}  // namespace Orb00100::closing
