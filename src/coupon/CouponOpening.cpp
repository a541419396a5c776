// Opening a fiscal coupon: the consumer's identification, the transfer retry and the answer
// with the new coupon's number and the printer's coupon counter.
#include "coupon/CouponOpening.h"

#include "coupon/TransferRetry.h"
#include "driver/DataModule.h"
#include "driver/Globals.h"
#include "driver/Params.h"
#include "driver/PrinterCall.h"
#include "external/hostlib/Dialogs.h"
#include "external/vendor/EntryPoints.h"
#include "framework/Text.h"
#include "queries/Queries.h"

namespace Orb00100 {

namespace {

using orb::fw::Copy;
using orb::fw::Variant;

struct OpeningInput {
    std::string scheme;
    int tefError = 0;
    std::string taxNumber, name, address;
    std::string couponNumber, couponCounter;
    TransferUse transfer;
};

OpeningInput ReadInput(const Variant& params) {
    OpeningInput in;
    in.scheme = ParamText(params, "ESQUEMACOR");
    in.tefError = ParamInt(params, "INTTEFERRO");
    in.taxNumber = ParamText(params, "INCLUICPF");
    in.name = ParamText(params, "INCLUINOME");
    in.address = ParamText(params, "INCLUIENDERECO");
    in.couponNumber = ParamText(params, "CUPNR");
    in.couponCounter = ParamText(params, "CONTCUPOM");
    // Read like the rest, so a value the host cannot convert fails here as well; not used.
    for (const char* unused : {"TIPOTICKET", "IVACOMP", "IVAPROP", "TIPODOC", "NRDOC", "MESA"})
        ParamText(params, unused);
    in.transfer.kind = ParamText(params, "IDUTILTEF");
    in.transfer.inUse = ParamBool(params, "UTILTEF");
    // A name or an address without a tax number identifies nobody.
    if (in.taxNumber.empty()) {
        in.name.clear();
        in.address.clear();
    }
    return in;
}

// The printer's coupon counter of the coupon just opened. The counter query proper would cancel
// a coupon it finds open, which right after an opening is always this one; the read here is the
// same call and log line, but leaves the coupon alone.
std::string CouponCounter(const std::string& scheme) {
    std::string answer;
    Query(scheme, {}, ORB_ENTRY(Bematech_FI_ContadorCupomFiscalMFD), 6, answer);
    return answer;
}

}  // namespace

bool AbreCupom(Variant& params) {
    OpeningInput in = ReadInput(params);

    bool opened = false;
    for (;;) {
        std::string taxNumber = Copy(in.taxNumber, 1, 29);
        std::string name = Copy(in.name, 1, 30);
        std::string address = Copy(in.address, 1, 80);
        const int code = Invoke(Bematech_FI_AbreCupomMFD, taxNumber.data(), name.data(), address.data());
        // Only this attempt's messages go back to the host.
        stMensagemTaa.clear();
        opened = Conclude(in.scheme, code,
                          "Bematech_FI_AbreCupomMFD :" + in.taxNumber + " - " + in.name + " - " + in.address,
                          {.show = boNUtilTaa, .warnLowPaper = true});
        if (!opened && boNUtilTaa && in.transfer.Active()) {
            if (!orb::hostlib::AskYesNo(in.scheme, DataModule().msgPadrao.Msg("Imp_N_Resp"))) return false;
            in.tefError = 1;
            continue;
        }
        if (opened || !boNUtilTaa) boClieUtil = false;
        break;
    }

    if (opened) {
        in.couponNumber = Nr_Cupom("", in.scheme);
        in.couponCounter = CouponCounter(in.scheme);
    }
    ReplaceParams(params, {{"INTTEFERRO", Variant(in.tefError)},
                           {"INCLUICPF", Variant(in.taxNumber)},
                           {"INCLUINOME", Variant(in.name)},
                           {"INCLUIENDERECO", Variant(in.address)},
                           {"CUPNR", Variant(in.couponNumber)},
                           {"CONTCUPOM", Variant(in.couponCounter)},
                           {"MENSAGEMTAA", Variant(stMensagemTaa)}});
    return opened;
}

}  // namespace Orb00100
