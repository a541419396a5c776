#include "connection/Recovery.h"

#include "connection/GrandTotalGuard.h"
#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "driver/PrinterCall.h"
#include "external/hostlib/Dialogs.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
#include "framework/Cp1252.h"
#include "framework/NumberFormat.h"
#include "nonfiscal/Ledger.h"
#include "nonfiscal/Reversal.h"
#include "platform/Platform.h"
#include "queries/Queries.h"

namespace Orb00100 {

namespace {

std::string HostFile(const char* name) { return orb::platform::JoinPath(orb::platform::HostDirectory(), name); }

}  // namespace

std::string SaleRecoveryPath() { return HostFile("cdsVenda.cds"); }
std::string CancelledItemsRecoveryPath() { return HostFile("cdsItensCancelados.cds"); }
std::string LastTefRecoveryPath() { return HostFile("ultTef.cds"); }

namespace {

void CancelCoupon(const std::string& scheme) {
    Call(scheme, {.show = true}, "Bematech_FI_CancelaCupom", Bematech_FI_CancelaCupom);
}

void ReportCompletedSale(const std::string& scheme) {
    const std::string text = CP("Venda interrompida não cancelada: não há cupom aberto na impressora (último COO ") +
                             Nr_Cupom("", scheme) + CP("). Confira o cupom antes de registrar a venda novamente.");
    ImpFisDebug(text);
    orb::hostlib::Inform(scheme, text, orb::hostlib::DialogKind::Error);
}

}  // namespace

void RecuperaVendaInterrompida(const PortParams& params, int& extendedStatus, bool couponOpen) {
    TdtmBematech100& dm = EnsureDataModule();
    const orb::fw::Variant guardParams = orb::hostlib::MakeParams({{"CDFILIAL", params.branch},
                                                                   {"CDCAIXA", params.till},
                                                                   {"NRSERIEIMP", params.serial},
                                                                   {"ESQUEMACOR", params.scheme},
                                                                   {"IDVALIDA", "N"}});

    bool leftAlone = false;  // the last transfer record says the sale stands
    bool cancel = couponOpen;
    const std::string lastTef = LastTefRecoveryPath();
    if (orb::platform::FileExists(lastTef)) {
        Invoke(Bematech_FI_StatusEstendidoMFD, &extendedStatus);
        dm.cdsUltTef.LoadFromFile(lastTef);
        dm.cdsUltTef.First();
        leftAlone = dm.cdsUltTef.FieldByName("IdSituVenda").AsString() == "O";
        if (!leftAlone) {
            if (extendedStatus >= 64) {
                // A linked receipt is pending: the card payment never got its slip, so the sale
                // did not complete. The receipt is reversed and recorded before the coupon goes.
                orb::fw::StrToInt(Nr_Cupom("", params.scheme));
                EstornoNaoFiscal(params.scheme, "", "", "");
                GravaDocumentosNaoFiscais(params.serial, params.scheme, "NC", "", "");
                cancel = true;
            } else {
                Nr_Cupom("", params.scheme);
            }
        }
    }
    if (!leftAlone) {
        if (cancel)
            CancelCoupon(params.scheme);
        else
            ReportCompletedSale(params.scheme);
    }

    Atu_TotGeral(guardParams);
}

}  // namespace Orb00100
