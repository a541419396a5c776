// Transfer receipts: the copies of each transaction, the cuts between them, and the reprint
// inside a management report when the printer stops.
#include "nonfiscal/TransferReceipts.h"

#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "driver/Globals.h"
#include "driver/PrinterCall.h"
#include "external/hostlib/Dialogs.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
#include "framework/Text.h"
#include "nonfiscal/Ledger.h"
#include "nonfiscal/LinkedSlips.h"
#include "nonfiscal/ManagementReports.h"
#include "queries/Queries.h"

namespace Orb00100 {

namespace nonfiscal {

std::vector<std::string> ReceiptPieces(std::string_view copy) {
    constexpr int kStepsPerPiece = 4;
    std::vector<std::string> pieces;
    while (!copy.empty()) {
        std::string piece;
        for (int step = 0; step < kStepsPerPiece && !copy.empty(); ++step) {
            const std::size_t lineFeed = copy.find('\n');
            const std::size_t line = lineFeed == std::string_view::npos ? copy.size() : lineFeed + 1;
            piece.append(copy.substr(0, line));
            copy.remove_prefix(line);
            const std::size_t backslash = copy.find('\\');
            if (backslash != std::string_view::npos) {
                piece.append(copy.substr(0, backslash));
                piece += '\n';
                copy.remove_prefix(backslash + 1);
            }
        }
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

}  // namespace nonfiscal

namespace {

enum class Failure { None, Piece, Close };

// What one call of ImprimeTef prints, and for whom.
struct Receipts {
    const std::string& serial;
    const std::string& counterId1;
    const std::string& counterId2;
    const std::string& scheme;
    std::vector<std::string> first;
    std::vector<std::string> second;
    bool printFirst;   // the first copies are wanted
    bool printSecond;  // not a self-service host
    bool cutBetween;   // both lists hold some text
};

std::vector<std::string> Items(const orb::fw::StringList* list) {
    return list ? list->Lines() : std::vector<std::string>{};
}

// The list's whole text, each item with its CR LF, is what tells whether it holds anything.
bool HoldsText(const orb::fw::StringList* list) { return list && list->Text().size() > 2; }

// Only a staff-operated terminal is asked; a self-service one gives up at once.
bool OperatorWantsAgain(const std::string& scheme) {
    return boNUtilTaa && orb::hostlib::AskYesNo(scheme, DataModule().msgPadrao.Msg("Imp_N_Resp"));
}

void Cut() { Invoke(Bematech_FI_AvancaPapelAcionaGuilhotinaMFD, 5, 1); }

bool PrintCopy(const std::string& scheme, std::string copy) {
    if (copy.empty() || copy.back() != '\n') copy += '\n';
    for (const std::string& piece : nonfiscal::ReceiptPieces(copy))
        if (!Usa_CompNFis(scheme, piece)) return false;
    return true;
}

bool OpenReport(const Receipts& r) { return Relatorio_Gerencial_Imp(r.scheme, r.counterId1, r.counterId2, "", ""); }

bool OpenInReport(const Receipts& r) {
    if (nonfiscal::ExtendedStatus() == 4) FechRelatGerenc(r.scheme, true, false);
    if (!OpenReport(r)) return false;
    GravaDocumentosNaoFiscais(r.serial, r.scheme, "RG", "", "");
    return true;
}

bool OpenInSlip(const Receipts& r, const std::string& paymentMethod) {
    Nr_Cupom("", r.scheme);
    bool opened = false;
    if (!paymentMethod.empty()) {
        std::string method = orb::fw::Copy(paymentMethod, 1, 16), amount, coupon;
        opened = Call(r.scheme, {.show = boNUtilTaa}, "Bematech_FI_AbreComprovanteNaoFiscalVinculado : " + method,
                      Bematech_FI_AbreComprovanteNaoFiscalVinculado, method.data(), amount.data(), coupon.data());
    } else {
        // No payment to tie a slip to: the receipts go into a report, recorded as a slip all the same.
        opened = OpenReport(r);
        ImpFisDebug("Relatorio_Gerencial_Imp : " + r.scheme + " " + r.counterId1 + " " + r.counterId2 + " " + " ");
    }
    if (opened) GravaDocumentosNaoFiscais(r.serial, r.scheme, "CC", "", "");
    return opened;
}

// Every transaction once, from the first, then the close. Stops at the first refused piece.
Failure PrintPass(const Receipts& r) {
    for (std::size_t i = 0; i < r.first.size(); ++i) {
        if (r.printFirst) {
            if (i > 0) Cut();
            if (!PrintCopy(r.scheme, r.first[i])) return Failure::Piece;
        }
        if (r.printSecond) {
            if (r.cutBetween) Cut();
            if (i < r.second.size() && !PrintCopy(r.scheme, r.second[i])) return Failure::Piece;
        }
    }
    return FechRelatGerenc(r.scheme, true, false) ? Failure::None : Failure::Close;
}

// After a failed pass: the operator may have everything printed again in a management report.
// The document a refused piece left open is closed first; a refused close is not tried again.
bool ReopenForReprint(const Receipts& r, Failure failure) {
    bool closeFirst = failure == Failure::Piece;
    for (;;) {
        if (!OperatorWantsAgain(r.scheme)) return false;
        if (closeFirst) {
            closeFirst = false;
            if (!FechRelatGerenc(r.scheme, true, false)) continue;
        }
        if (OpenReport(r)) break;
    }
    GravaDocumentosNaoFiscais(r.serial, r.scheme, "RG", "", "");
    return true;
}

}  // namespace

bool ImprimeTef(const std::string& serial, const std::string& counterId1, const std::string& counterId2,
                const std::string& scheme, orb::fw::StringList* firstCopies, orb::fw::StringList* secondCopies,
                orb::fw::StringList* /*unused1*/, orb::fw::StringList* /*unused2*/, const std::string& /*unused3*/,
                const std::string& paymentMethod, const std::string& /*unused4*/, double /*unused5*/,
                double /*unused6*/, int documentMode, const std::string& firstCopiesFlag, const std::string& hostKind) {
    const Receipts receipts{serial,
                            counterId1,
                            counterId2,
                            scheme,
                            Items(firstCopies),
                            Items(secondCopies),
                            firstCopiesFlag == "N",
                            hostKind != "APC" && hostKind != "TAA",
                            HoldsText(firstCopies) && HoldsText(secondCopies)};

    while (!Estado_Imp(scheme))
        if (!OperatorWantsAgain(scheme)) return false;

    if (receipts.first.empty() && receipts.second.empty()) return false;

    bool inReport = documentMode == 2;
    while (!(inReport ? OpenInReport(receipts) : OpenInSlip(receipts, paymentMethod))) {
        if (!OperatorWantsAgain(scheme)) return false;
        inReport = true;
    }

    for (Failure failure = PrintPass(receipts); failure != Failure::None; failure = PrintPass(receipts))
        if (!ReopenForReprint(receipts, failure)) return false;
    return true;
}

}  // namespace Orb00100
