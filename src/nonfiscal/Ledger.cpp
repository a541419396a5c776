#include "nonfiscal/Ledger.h"

#include <exception>

#include "external/hostlib/Dialogs.h"
#include "external/hostlib/HostLib.h"
#include "framework/DateFormat.h"
#include "framework/Text.h"
#include "queries/Queries.h"

namespace Orb00100 {

using orb::fw::Copy;

namespace {

bool IsOneOf(const std::string& type, std::initializer_list<const char*> codes) {
    for (const char* code : codes)
        if (type == code) return true;
    return false;
}

// The printer's DDMMYYHHMMSS as a date-time, through the system's own conversion.
orb::fw::TDateTime PrinterDateTime(const std::string& text) {
    return orb::fw::StrToDateTime(Copy(text, 1, 2) + "/" + Copy(text, 3, 2) + "/" + Copy(text, 5, 2) + " " +
                                  Copy(text, 7, 2) + ":" + Copy(text, 9, 2) + ":" + Copy(text, 11, 2));
}

}  // namespace

void GravaDocumentosNaoFiscais(const std::string& serial, const std::string& scheme, const std::string& docType,
                               const std::string& freeField1, const std::string& freeField2) {
    try {
        std::string operations, reports, creditSlips;
        if (!IsOneOf(docType, {"NC", "LX", "MF"})) NumeroOperacoesNaoFiscais(scheme, operations);
        const std::string coupon = Nr_Cupom("", scheme);
        if (IsOneOf(docType, {"CM", "RV", "RG"}))
            ContadorRelatoriosGerenciaisMFD(scheme, reports);
        else if (docType == "CC")
            ContadorComprovantesCreditoMFD(scheme, creditSlips);

        const orb::fw::TDateTime movement = DataMoviFiscal(scheme);
        std::string printerNow;
        Data_Imp(scheme, printerNow);

        const orb::fw::TDateTime printed = PrinterDateTime(printerNow);
        // Only the date of the movement day is recorded.
        const orb::fw::TDateTime movementDay = orb::fw::StrToDate(orb::fw::DateToStr(movement));

        orb::hostlib::setDocNaoFiscaisECF(serial, coupon, operations, reports, creditSlips, docType, freeField1,
                                          printed, movementDay, freeField2);
    } catch (const std::exception& e) {
        orb::hostlib::Inform(scheme, e.what(), orb::hostlib::DialogKind::Error);
    }
}

}  // namespace Orb00100
