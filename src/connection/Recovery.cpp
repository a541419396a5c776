#include "connection/Recovery.h"

#include "connection/GrandTotalGuard.h"
#include "driver/DataModule.h"
#include "driver/PrinterCall.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
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

void RecuperaVendaInterrompida(const PortParams& params, int& extendedStatus) {
    TdtmBematech100& dm = EnsureDataModule();
    const orb::fw::Variant guardParams = orb::hostlib::MakeParams({{"CDFILIAL", params.branch},
                                                                   {"CDCAIXA", params.till},
                                                                   {"NRSERIEIMP", params.serial},
                                                                   {"ESQUEMACOR", params.scheme},
                                                                   {"IDVALIDA", "N"}});

    const std::string lastTef = LastTefRecoveryPath();
    if (orb::platform::FileExists(lastTef)) {
        Invoke(Bematech_FI_StatusEstendidoMFD, &extendedStatus);
        dm.cdsUltTef.LoadFromFile(lastTef);
        dm.cdsUltTef.First();
        const std::string situation = dm.cdsUltTef.FieldByName("IdSituVenda").AsString();
        if (situation != "O") {
            if (extendedStatus >= 64) {
                // A linked receipt is pending: it is reversed and recorded before the coupon goes.
                orb::fw::StrToInt(Nr_Cupom("", params.scheme));
                EstornoNaoFiscal(params.scheme, "", "", "");
                GravaDocumentosNaoFiscais(params.serial, params.scheme, "NC", "", "");
            } else {
                Nr_Cupom("", params.scheme);
            }
            Invoke(Bematech_FI_CancelaCupom);
        }
    } else {
        Invoke(Bematech_FI_CancelaCupom);
    }

    Atu_TotGeral(guardParams);
}

}  // namespace Orb00100
