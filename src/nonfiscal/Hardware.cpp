#include "nonfiscal/Hardware.h"

#include <array>
#include <string_view>

#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "driver/StatusAnalysis.h"
#include "external/hostlib/Dialogs.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
#include "framework/NumberFormat.h"
#include "nonfiscal/ManagementReports.h"
#include "driver/PrinterCall.h"

namespace Orb00100 {

namespace {


constexpr int kFeedLines = 5;
constexpr int kCutMode = 1;

// PDF417 goes out with a fixed shape: error-correction level, module height, module width and
// columns (0: the printer chooses).
constexpr int kPdf417Level = 4, kPdf417Height = 8, kPdf417Width = 2, kPdf417Columns = 0;

using BarCodeEntry = int(ORB_VENDOR_CALL*)(char*);

struct BarCodeType {
    std::string_view type;
    std::string_view entryName;
    BarCodeEntry* entry;  // the bound entry-point variable, read at the moment of the call
    int width;            // the code is fitted to this many characters; 0 leaves it as given
};

const std::array<BarCodeType, 12> kBarCodeTypes{{
    {"CODABAR", "Bematech_FI_CodigoBarrasCODABARMFD", &Bematech_FI_CodigoBarrasCODABARMFD, 8},
    {"CODE128", "Bematech_FI_CodigoBarrasCODE128MFD", &Bematech_FI_CodigoBarrasCODE128MFD, 16},
    {"CODE39", "Bematech_FI_CodigoBarrasCODE39MFD", &Bematech_FI_CodigoBarrasCODE39MFD, 0},
    {"CODE93", "Bematech_FI_CodigoBarrasCODE93MFD", &Bematech_FI_CodigoBarrasCODE93MFD, 0},
    {"EAN13", "Bematech_FI_CodigoBarrasEAN13MFD", &Bematech_FI_CodigoBarrasEAN13MFD, 12},
    {"EAN8", "Bematech_FI_CodigoBarrasEAN8MFD", &Bematech_FI_CodigoBarrasEAN8MFD, 7},
    {"ISBN", "Bematech_FI_CodigoBarrasISBNMFD", &Bematech_FI_CodigoBarrasISBNMFD, 9},
    {"ITF", "Bematech_FI_CodigoBarrasITFMFD", &Bematech_FI_CodigoBarrasITFMFD, 14},
    {"MSI", "Bematech_FI_CodigoBarrasMSIMFD", &Bematech_FI_CodigoBarrasMSIMFD, 7},
    {"PLESSEY", "Bematech_FI_CodigoBarrasPLESSEYMFD", &Bematech_FI_CodigoBarrasPLESSEYMFD, 7},
    {"UPCA", "Bematech_FI_CodigoBarrasUPCAMFD", &Bematech_FI_CodigoBarrasUPCAMFD, 11},
    {"UPCE", "Bematech_FI_CodigoBarrasUPCEMFD", &Bematech_FI_CodigoBarrasUPCEMFD, 0},
}};

bool PrintsBarCodes(int printerModel) {
    return printerModel == 18 || printerModel == 19 || printerModel == 27 || printerModel == 34;
}

// Sends the bar code and writes its debug line; the return code of the printer.
int SendBarCode(const std::string& code, const std::string& type) {
    if (type == "PDF417") {
        std::string sent = code;
        const int rc = Invoke(Bematech_FI_CodigoBarrasPDF417MFD, kPdf417Level, kPdf417Height, kPdf417Width,
                                 kPdf417Columns, sent.data());
        ImpFisDebug("Bematech_FI_CodigoBarrasPDF417MFD : " + code);
        return rc;
    }
    for (const BarCodeType& t : kBarCodeTypes) {
        if (t.type != type) continue;
        std::string sent = t.width > 0 ? orb::hostlib::Ajusta(code, t.width) : code;
        const std::string logged = sent;  // the library may write into the text it was given
        const int rc = Invoke(*t.entry, sent.data());
        ImpFisDebug(std::string(t.entryName) + " : " + logged);
        return rc;
    }
    // An unknown type prints nothing and is no printer failure.
    ImpFisDebug("Bematech_FI CODIGO BARRA INDEFINIDO : " + code);
    return 1;
}

}  // namespace

bool Abre_Gaveta_Imp(const std::string& scheme, bool /*unused*/) {
    const int rc = Invoke(Bematech_FI_AcionaGaveta);
    ImpFisDebug("Bematech_FI_AcionaGaveta");
    return AnalisaRetorno(scheme, rc, true, false, false);
}

std::string Estado_Gaveta_Imp(const std::string& scheme) {
    int state = 1;
    const int rc = Invoke(Bematech_FI_VerificaEstadoGaveta, &state);
    ImpFisDebug("Bematech_FI_VerificaEstadoGaveta: " + orb::fw::IntToStr(state));
    if (!AnalisaRetorno(scheme, rc, true, true, false)) return "";
    return state == 1 ? "01" : "00";
}

bool Guilhotina(const std::string& scheme, int /*unused*/) {
    const int rc = Invoke(Bematech_FI_AvancaPapelAcionaGuilhotinaMFD, kFeedLines, kCutMode);
    ImpFisDebug("Bematech_FI_AcionaGuilhotinaMFD");
    return AnalisaRetorno(scheme, rc, false, false, false);
}

bool CodigoBarra(const std::string& scheme, const std::string& counterId1, const std::string& counterId2,
                 int printerModel, const std::string& code, const std::string& type) {
    if (!PrintsBarCodes(printerModel)) return true;
    // A report that did not open still gets the bar code tried: the printer's answer to it is
    // what the operator is told.
    Relatorio_Gerencial_Imp(scheme, counterId1, counterId2, "", "");
    const int rc = SendBarCode(code, type);
    if (!AnalisaRetorno(scheme, rc, true, false, false)) {
        orb::hostlib::Inform(scheme, DataModule().msgPadrao.Msg("ErroComando"), orb::hostlib::DialogKind::Notice);
        return false;
    }
    FechRelatGerenc(scheme, true, false);
    return true;
}

}  // namespace Orb00100
