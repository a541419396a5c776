// Whole texts printed as one management report.
#include "nonfiscal/ReportDocuments.h"

#include "driver/DataModule.h"
#include "nonfiscal/Ledger.h"
#include "nonfiscal/LinkedSlips.h"
#include "nonfiscal/ManagementReports.h"
#include "queries/Queries.h"

namespace Orb00100 {

namespace nonfiscal {

namespace {
constexpr std::size_t kPieceSize = 500;
}

std::vector<std::string> ReportPieces(std::string_view text) {
    std::vector<std::string> pieces;
    std::string piece;
    while (!text.empty()) {
        const std::size_t lineFeed = text.find('\n');
        const std::size_t take = lineFeed == std::string_view::npos ? text.size() : lineFeed + 1;
        piece.append(text.substr(0, take));
        text.remove_prefix(take);
        if (piece.size() >= kPieceSize || text.empty()) {
            pieces.push_back(std::move(piece));
            piece.clear();
        }
    }
    return pieces;
}

void PrintReportText(const std::string& scheme, std::string_view text) {
    for (const std::string& piece : ReportPieces(text)) Usa_CompNFis(scheme, piece);
}

}  // namespace nonfiscal

namespace {

// The close after the text, whatever became of the opening and the pieces: the printer must not
// be left with the report open. The callers answer true only when a report was really opened:
// when the printer refused every opening nothing was printed, and the close then finds nothing
// to close and would read as success.
bool PrintAndClose(const std::string& scheme, const std::string& text) {
    nonfiscal::PrintReportText(scheme, text);
    return FechRelatGerenc(scheme, true, false);
}

}  // namespace

bool Relatorio_Generico(const std::string& scheme, const std::string& counterId1, const std::string& counterId2,
                        const std::string& text, const std::string& serial, const std::string& /*unused*/) {
    const bool opened = Relatorio_Gerencial_Imp(scheme, counterId1, counterId2, "", "");
    const bool printed = PrintAndClose(scheme, text) && opened;
    if (printed) GravaDocumentosNaoFiscais(serial, scheme, "RG", "", "");
    return printed;
}

bool Cupom_Troca(const std::string& scheme, const std::string& counterId1, const std::string& counterId2,
                 const std::string& text) {
    const bool opened = Relatorio_Gerencial_Imp(scheme, counterId1, counterId2, "", "");
    return PrintAndClose(scheme, text) && opened;
}

bool Conferencia_Formatada(const std::string& scheme, const std::string& counterId1, const std::string& counterId2,
                           const std::string& serial, const std::string& reportIndex, const std::string& tableMark,
                           std::string& couponNumber, const std::string& text) {
    try {
        const bool opened = Abre_RelGerencial_MFD(scheme, counterId1, counterId2, reportIndex, "incCer") ||
                            Relatorio_Gerencial_Imp(scheme, counterId1, counterId2, "", "incCer");
        couponNumber = Nr_Cupom("", scheme);
        const bool closed = PrintAndClose(scheme, text);
        // The table check is recorded whatever became of the paper: the host keeps it with the table.
        GravaDocumentosNaoFiscais(serial, scheme, tableMark.empty() ? "RG" : "CM", tableMark, "");
        return closed && opened;
    } catch (...) {
        return false;
    }
}

bool imprimeTipoRece(const std::string& counterId1, const std::string& counterId2, const std::string& scheme,
                     const std::string& serial, const std::string& text, const std::string& reportIndex) {
    try {
        EnsureDataModule();
        const bool opened = Abre_RelGerencial_MFD(scheme, counterId1, counterId2, reportIndex, "") ||
                            Relatorio_Gerencial_Imp(scheme, counterId1, counterId2, "", "");
        const bool printed = PrintAndClose(scheme, text) && opened;
        if (printed) GravaDocumentosNaoFiscais(serial, scheme, "RG", "", "");
        return printed;
    } catch (...) {
        return false;
    }
}

}  // namespace Orb00100
