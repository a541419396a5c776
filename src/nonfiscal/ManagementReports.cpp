// Opening, printing into and closing management reports.
#include "nonfiscal/ManagementReports.h"

#include "driver/DebugLog.h"
#include "driver/Globals.h"
#include "driver/StatusAnalysis.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
#include "driver/PrinterCall.h"
#include "queries/Queries.h"

namespace Orb00100 {

namespace {

constexpr int kReportOpen = 4;

// A report or slip is open while any of the three lowest bits of the extended status is set.
bool DocumentOpen(int extendedStatus) { return (extendedStatus & 7) != 0; }

// The host's report-counter record of a report just opened, when the caller asked for one.
void CountReport(const std::string& scheme, const std::string& counterId1, const std::string& counterId2,
                 const std::string& counterFlag) {
    if (!counterFlag.empty()) orb::hostlib::GravaCER(counterId1, counterId2, DataMoviFiscal(scheme));
}

}  // namespace

namespace nonfiscal {

int ExtendedStatus() {
    int status = 0;
    Invoke(Bematech_FI_StatusEstendidoMFD, &status);
    return status;
}

}  // namespace nonfiscal

bool Relatorio_Gerencial_Imp(const std::string& scheme, const std::string& counterId1, const std::string& counterId2,
                             const std::string& /*unused*/, const std::string& counterFlag) {
    // A report left open by an earlier run would take this report's text as its own.
    if (nonfiscal::ExtendedStatus() == kReportOpen) FechRelatGerenc(scheme, true, false);
    std::string blank = " ";
    const int code = Invoke(Bematech_FI_RelatorioGerencial, blank.data());
    ImpFisDebug("Bematech_FI_RelatorioGerencial");
    const bool opened = AnalisaRetorno(scheme, code, boNUtilTaa, false, false);
    if (opened) CountReport(scheme, counterId1, counterId2, counterFlag);
    return opened;
}

bool Abre_RelGerencial_MFD(const std::string& scheme, const std::string& counterId1, const std::string& counterId2,
                           const std::string& reportIndex, const std::string& counterFlag) {
    std::string index = reportIndex;
    const int code = Invoke(Bematech_FI_AbreRelatorioGerencialMFD, index.data());
    ImpFisDebug("Bematech_FI_AbreRelatorioGerencialMFD");
    const bool opened = AnalisaRetorno(scheme, code, false, false, false);
    if (opened) CountReport(scheme, counterId1, counterId2, counterFlag);
    return opened;
}

bool Imprime_RelGerencial_MFD(const std::string& scheme, const std::string& text) {
    std::string body = text;
    const int code = Invoke(Bematech_FI_UsaRelatorioGerencialMFD, body.data());
    ImpFisDebug("Bematech_FI_UsaRelatorioGerencialMFD: " + text);
    return AnalisaRetorno(scheme, code, boNUtilTaa, false, false);
}

bool FechRelatGerenc(const std::string& scheme, bool show, bool cancelOpenCoupon) {
    if (!DocumentOpen(nonfiscal::ExtendedStatus())) return true;
    const int code = Invoke(Bematech_FI_FechaRelatorioGerencial);
    ImpFisDebug("Bematech_FI_FechaRelatorioGerencial");
    return AnalisaRetorno(scheme, code, show, cancelOpenCoupon, false);
}

}  // namespace Orb00100
