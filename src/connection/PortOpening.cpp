#include "connection/PortOpening.h"

#include "connection/PrinterData.h"
#include "connection/Recovery.h"
#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "driver/Params.h"
#include "driver/PrinterCall.h"
#include "driver/StatusAnalysis.h"
#include "external/hostlib/Dialogs.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
#include "framework/NumberFormat.h"
#include "platform/Platform.h"

namespace Orb00100 {

namespace {

void ShowError(TdtmBematech100& dm, const char* key, const std::string& scheme) {
    orb::hostlib::Inform(scheme, dm.msgPadrao.Msg(key), orb::hostlib::DialogKind::Error);
}

}  // namespace

bool AbrePorta(const orb::fw::Variant& params) {
    TdtmBematech100& dm = EnsureDataModule();
    PortParams port;
    port.branch = ParamText(params, "CDFILIAL");
    port.till = ParamText(params, "CDCAIXA");
    port.serial = ParamText(params, "NRSERIEIMP");
    port.scheme = ParamText(params, "ESQUEMA");
    port.port = ParamText(params, "CDPORTAIMPFIS");

    // The library takes the port from its own configuration.
    const int rc = Invoke(Bematech_FI_AbrePortaSerial);
    if (!Conclude(port.scheme, rc, "Bematech_FI_AbrePortaSerial: " + orb::fw::IntToStr(rc), {.show = true})) {
        ImpFisDebug("ERRO!!! Abrindo porta " + port.port);
        ShowError(dm, "ErroPorta", port.scheme);
        return false;
    }

    orb::fw::TDateTime fiscalDate;
    if (!VerificaData(port.scheme, fiscalDate, "", "", true)) return false;

    if (Invoke(Bematech_FI_VerificaImpressoraLigada) == -6) {
        ImpFisDebug("ERRO!!! " + dm.msgPadrao.Msg("ImpDeslig"));
        ShowError(dm, "ImpDeslig", port.scheme);
        return false;
    }

    // A linked receipt or a management report the last run left open would refuse the sale.
    Invoke(Bematech_FI_FechaComprovanteNaoFiscalVinculado);
    Invoke(Bematech_FI_FechaRelatorioGerencial);

    int extendedStatus = 0;
    Invoke(Bematech_FI_StatusEstendidoMFD, &extendedStatus);
    if (extendedStatus == 33) {
        std::string taxNumber, name, address;
        Invoke(Bematech_FI_CancelaRecebimentoNaoFiscalMFD, taxNumber.data(), name.data(), address.data());
    }

    int ack = 0, st1 = 0, st2 = 0;
    Invoke(Bematech_FI_RetornoImpressora, &ack, &st1, &st2);

    // Only a coupon open and nothing else on the printer, or the host's files of a sale in
    // progress, mean an interrupted sale.
    const bool interrupted = st1 == 2 || orb::platform::FileExists(SaleRecoveryPath()) ||
                             orb::platform::FileExists(CancelledItemsRecoveryPath());
    if (!interrupted) return true;

    RecuperaVendaInterrompida(port, extendedStatus, (st1 & 2) != 0);
    return true;
}

}  // namespace Orb00100
