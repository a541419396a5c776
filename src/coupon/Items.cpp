// Registering and cancelling the items of the open coupon.
#include "coupon/Items.h"

#include <exception>

#include "coupon/ItemFields.h"
#include "coupon/TransferRetry.h"
#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "driver/Globals.h"
#include "driver/Params.h"
#include "driver/StatusAnalysis.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
#include "framework/Text.h"
#include "driver/PrinterCall.h"

namespace Orb00100 {

namespace {

using orb::fw::Copy;
using orb::fw::Variant;

// One attempt at the printer: the entry point of the model, and its debug line.
int SendItem(ItemFields f, bool model34) {
    int code = 0;
    if (model34) {
        code =
            Invoke(Bematech_FI_VendeItemArredondamentoMFD, f.code.data(), f.description.data(), f.tax.data(),
                      f.unit.data(), f.quantity.data(), f.unitPrice.data(), f.surcharge.data(), f.discount.data(), 0);
        ImpFisDebug("Bematech_FI_VendeItemArredondamentoMFD: " + f.code + " - " + f.description + " - " + f.tax +
                    " - " + f.unit + " - " + f.quantity + " - " + f.unitPrice + " - " + f.surcharge + " - " +
                    f.discount + " - False");
    } else {
        code = Invoke(Bematech_FI_VendeItemDepartamento, f.code.data(), f.description.data(), f.tax.data(),
                         f.unitPrice.data(), f.quantity.data(), f.surcharge.data(), f.discount.data(),
                         f.department.data(), f.unit.data());
        ImpFisDebug("Bematech_FI_VendeItemDepartamento : " + f.code + " - " + Copy(f.description, 1, 29) + " - " +
                    f.tax + " - " + f.unitPrice + " - " + f.quantity + " - " + f.surcharge + " - " + f.discount +
                    " - " + f.department + " - " + f.unit);
    }
    return code;
}

std::string RetryQuestion(const ItemInput& item, const TransferUse& transfer) {
    const auto& catalog = DataModule().msgPadrao;
    if (transfer.Active()) return catalog.Msg("Imp_N_Resp");
    return catalog.Msg("ErroItem") + "\r\n" + item.code + " - " + Copy(item.name, 1, 20) + "\r\n" +
           catalog.Msg("Deseja");
}

bool RegisterItem(Variant& params) {
    stMensagemTaa.clear();
    const std::string scheme = ParamText(params, "ESQUEMACOR");
    const int tefError = ParamInt(params, "INTEFERRO");
    ItemInput item;
    item.code = ParamText(params, "CDARVPROD");
    item.name = ParamText(params, "NMPROD");
    item.taxCode = ParamText(params, "CDALIQ");
    item.quantity = orb::hostlib::RecebeParams(params, "QTDE").ToDouble();
    item.price = orb::hostlib::RecebeParams(params, "VALOR").ToDouble();
    item.discount = orb::hostlib::RecebeParams(params, "DESCONT").ToDouble();
    item.unit = ParamText(params, "UNIDADE");
    ParamText(params, "TIPOTICKET");  // read like the rest; not used
    item.ratePercent = ParamText(params, "VRPERCALIQ");
    TransferUse transfer;
    transfer.kind = ParamText(params, "IDUTILTEF");
    transfer.inUse = ParamBool(params, "UTILTEF");
    item.surcharge = orb::hostlib::RecebeParams(params, "ACRESCIMO").ToDouble();

    const bool model34 = inTipoImpFis == 34;
    const ItemFields fields = BuildItemFields(item, model34);

    bool ok = false;
    for (;;) {
        const int code = SendItem(fields, model34);
        ok = AnalisaRetorno(scheme, code, boNUtilTaa, false, false);
        if (!ok) boClieUtil = false;
        if (ok || !boNUtilTaa) break;
        if (!AskPrintAgain(scheme, RetryQuestion(item, transfer))) return false;
    }

    boClieUtil = false;
    ReplaceParams(params, {{"INTTEFERRO", Variant(tefError)}, {"MENSAGEMTAA", Variant(stMensagemTaa)}});
    return ok;
}

}  // namespace

bool VendaItem(Variant& params) {
    // A parameter the host sent in a form that does not convert, or a failure on the way, is the
    // item not registered: the host learns it from the result alone.
    try {
        return RegisterItem(params);
    } catch (const std::exception&) {
        return false;
    }
}

bool Cancela_ItGenerico(const std::string& scheme, const std::string& itemNumber, const std::string&,
                        const std::string&, const std::string&, const std::string&, const std::string&,
                        const std::string&, const std::string&, double, double) {
    // The host numbers items in five digits and the printer takes four. A shorter number is
    // zero-filled first, so "12" still means item 12 and not item 2.
    const std::string number =
        itemNumber.size() < 5 ? orb::hostlib::AjustaZero(orb::fw::Trim(itemNumber), 5) : itemNumber;
    std::string sent = Copy(number, 2, 4);
    const int code = Invoke(Bematech_FI_CancelaItemGenerico, sent.data());
    ImpFisDebug("Bematech_FI_CancelaItemGenerico : " + sent);
    return AnalisaRetorno(scheme, code, false, false, false);
}

bool Cancela_UltimoItem(const std::string& scheme) {
    const int code = Invoke(Bematech_FI_CancelaItemAnterior);
    ImpFisDebug("Bematech_FI_CancelaItemAnterior");
    return AnalisaRetorno(scheme, code, true, false, false);
}

bool Acrescimo_Imp(const std::string& scheme, std::string& total) {
    AnswerArea area(14);
    const int code = Invoke(Bematech_FI_Acrescimos, area.data());
    total = area.Text();
    ImpFisDebug(AnswerLabel("Bematech_FI_Acrescimos") + total);
    return AnalisaRetorno(scheme, code, false, true, false);
}

}  // namespace Orb00100
