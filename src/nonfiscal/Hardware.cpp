#include "nonfiscal/Hardware.h"

#include <array>
#include <string_view>

#include "driver/DataModule.h"
#include "driver/PrinterCall.h"
#include "external/hostlib/Dialogs.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
#include "framework/NumberFormat.h"
#include "nonfiscal/ManagementReports.h"

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

// Sends the bar code, writes its debug line and judges the printer's answer (messages shown).
bool SendBarCode(const std::string& scheme, const std::string& code, const std::string& type) {
    const StatusCheck check{.show = true};
    if (type == "PDF417") {
        std::string sent = code;
        return Call(scheme, check, "Bematech_FI_CodigoBarrasPDF417MFD : " + code, Bematech_FI_CodigoBarrasPDF417MFD,
                    kPdf417Level, kPdf417Height, kPdf417Width, kPdf417Columns, sent.data());
    }
    for (const BarCodeType& t : kBarCodeTypes) {
        if (t.type != type) continue;
        std::string sent = t.width > 0 ? orb::hostlib::Ajusta(code, t.width) : code;
        // Logged as sent: the line is made before the library can write into the text.
        return Call(scheme, check, std::string(t.entryName) + " : " + sent, *t.entry, sent.data());
    }
    // An unknown type prints nothing and is no printer failure.
    return Conclude(scheme, 1, "Bematech_FI CODIGO BARRA INDEFINIDO : " + code, check);
}

}  // namespace

bool Abre_Gaveta_Imp(const std::string& scheme, bool /*unused*/) {
    return Call(scheme, {.show = true}, "Bematech_FI_AcionaGaveta", Bematech_FI_AcionaGaveta);
}

std::string Estado_Gaveta_Imp(const std::string& scheme) {
    int state = 1;
    const int rc = Invoke(Bematech_FI_VerificaEstadoGaveta, &state);
    if (!Conclude(scheme, rc, "Bematech_FI_VerificaEstadoGaveta: " + orb::fw::IntToStr(state),
                  {.show = true, .cancelOpenCoupon = true}))
        return "";
    return state == 1 ? "01" : "00";
}

bool Guilhotina(const std::string& scheme, int /*unused*/) {
    return Call(scheme, {}, "Bematech_FI_AcionaGuilhotinaMFD", Bematech_FI_AvancaPapelAcionaGuilhotinaMFD, kFeedLines,
                kCutMode);
}

bool CodigoBarra(const std::string& scheme, const std::string& counterId1, const std::string& counterId2,
                 int printerModel, const std::string& code, const std::string& type) {
    if (!PrintsBarCodes(printerModel)) return true;
    // A report that did not open still gets the bar code tried: the printer's answer to it is
    // what the operator is told.
    Relatorio_Gerencial_Imp(scheme, counterId1, counterId2, "", "");
    if (!SendBarCode(scheme, code, type)) {
        orb::hostlib::Inform(scheme, DataModule().msgPadrao.Msg("ErroComando"), orb::hostlib::DialogKind::Notice);
        return false;
    }
    FechRelatGerenc(scheme, true, false);
    return true;
}

}  // namespace Orb00100
