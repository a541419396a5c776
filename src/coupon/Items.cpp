// Registering and cancelling the items of the open coupon.
#include "coupon/Items.h"

#include <exception>
#include <initializer_list>
#include <string_view>

#include "coupon/ItemFields.h"
#include "coupon/TransferRetry.h"
#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "driver/Globals.h"
#include "driver/Params.h"
#include "driver/PrinterCall.h"
#include "external/hostlib/Dialogs.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
#include "framework/Cp1252.h"
#include "framework/Text.h"

namespace Orb00100 {

namespace {

using orb::fw::Copy;
using orb::fw::Variant;

// An item's log line: the heading, then its fields apart by " - ", built in one piece (it is
// written for every item of every sale).
std::string LogLine(std::string_view heading, std::initializer_list<std::string_view> fields) {
    std::size_t size = heading.size();
    for (const std::string_view field : fields) size += field.size() + 3;
    std::string line;
    line.reserve(size);
    line += heading;
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first) line += " - ";
        line += field;
        first = false;
    }
    return line;
}

// One attempt at the printer: the entry point of the model, its debug line, the verdict. The
// fields are a copy, so a retry sends what the first attempt sent.
bool SendItem(const std::string& scheme, ItemFields f, bool model34) {
    const StatusCheck check{.show = boNUtilTaa};
    if (model34) {
        const int code =
            Invoke(Bematech_FI_VendeItemArredondamentoMFD, f.code.data(), f.description.data(), f.tax.data(),
                   f.unit.data(), f.quantity.data(), f.unitPrice.data(), f.surcharge.data(), f.discount.data(), 0);
        return Conclude(
            scheme, code,
            LogLine("Bematech_FI_VendeItemArredondamentoMFD: ",
                    {f.code, f.description, f.tax, f.unit, f.quantity, f.unitPrice, f.surcharge, f.discount, "False"}),
            check);
    }
    const int code =
        Invoke(Bematech_FI_VendeItemDepartamento, f.code.data(), f.description.data(), f.tax.data(), f.unitPrice.data(),
               f.quantity.data(), f.surcharge.data(), f.discount.data(), f.department.data(), f.unit.data());
    return Conclude(scheme, code,
                    LogLine("Bematech_FI_VendeItemDepartamento : ",
                            {f.code, std::string_view(f.description).substr(0, 29), f.tax, f.unitPrice, f.quantity,
                             f.surcharge, f.discount, f.department, f.unit}),
                    check);
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
    if (const char* key = ValueOutOfRange(item, fields, model34)) {
        const std::string text = CP("Valor fora do limite da impressora: ") + key;
        ImpFisDebug("ERRO!!! " + text);
        boClieUtil = false;
        if (boNUtilTaa) {
            orb::hostlib::Inform(scheme, text, orb::hostlib::DialogKind::Error);
        } else {
            stMensagemTaa += " " + text;
            ReplaceParams(params, {{"INTTEFERRO", Variant(tefError)}, {"MENSAGEMTAA", Variant(stMensagemTaa)}});
        }
        return false;
    }

    bool ok = false;
    for (;;) {
        ok = SendItem(scheme, fields, model34);
        if (!ok) boClieUtil = false;
        if (ok || !boNUtilTaa) break;
        if (!orb::hostlib::AskYesNo(scheme, RetryQuestion(item, transfer))) return false;
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
    return Call(scheme, {}, "Bematech_FI_CancelaItemGenerico : " + sent, Bematech_FI_CancelaItemGenerico, sent.data());
}

bool Cancela_UltimoItem(const std::string& scheme) {
    return Call(scheme, {.show = true}, "Bematech_FI_CancelaItemAnterior", Bematech_FI_CancelaItemAnterior);
}

bool Acrescimo_Imp(const std::string& scheme, std::string& total) {
    return Query(scheme, {.cancelOpenCoupon = true}, ORB_ENTRY(Bematech_FI_Acrescimos), 14, total);
}

}  // namespace Orb00100
