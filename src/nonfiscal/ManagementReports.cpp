// Opening, printing into and closing management reports.
#include "nonfiscal/ManagementReports.h"

#include "driver/Globals.h"
#include "driver/PrinterCall.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
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
    const bool opened = Call(scheme, {.show = boNUtilTaa}, "Bematech_FI_RelatorioGerencial",
                             Bematech_FI_RelatorioGerencial, blank.data());
    if (opened) CountReport(scheme, counterId1, counterId2, counterFlag);
    return opened;
}

bool Abre_RelGerencial_MFD(const std::string& scheme, const std::string& counterId1, const std::string& counterId2,
                           const std::string& reportIndex, const std::string& counterFlag) {
    std::string index = reportIndex;
    // Nothing shown: a printer without numbered reports fails quietly and the caller falls back.
    const bool opened =
        Call(scheme, {}, "Bematech_FI_AbreRelatorioGerencialMFD", Bematech_FI_AbreRelatorioGerencialMFD, index.data());
    if (opened) CountReport(scheme, counterId1, counterId2, counterFlag);
    return opened;
}

bool Imprime_RelGerencial_MFD(const std::string& scheme, const std::string& text) {
    std::string body = text;
    return Call(scheme, {.show = boNUtilTaa}, "Bematech_FI_UsaRelatorioGerencialMFD: " + text,
                Bematech_FI_UsaRelatorioGerencialMFD, body.data());
}

bool FechRelatGerenc(const std::string& scheme, bool show, bool cancelOpenCoupon) {
    if (!DocumentOpen(nonfiscal::ExtendedStatus())) return true;
    return Call(scheme, {.show = show, .cancelOpenCoupon = cancelOpenCoupon}, "Bematech_FI_FechaRelatorioGerencial",
                Bematech_FI_FechaRelatorioGerencial);
}

}  // namespace Orb00100
