// Management reports and linked slips: opening, text, closing, the reversal of a linked slip,
// bar codes and the paper cutter inside them.
#include "fiscal/Entry.h"

namespace orb::sim::fiscal {
namespace {

bool DocumentOpen(const State& s) { return s.docs.open == "report" || s.docs.open == "slip"; }

int OpenReport(Call& c, int slot) {
    State& s = c.s;
    if (int rc = CheckNewDocument(c, DocKind::Report)) return rc;
    ++s.counters.cer;
    std::string title = "RELATÓRIO GERENCIAL";
    StartDocument(c, DocKind::Report, title);
    if (slot > 0) {
        ReportTitle& r = s.reports.at(static_cast<std::size_t>(slot - 1));
        ++r.count;
        c.Print(Columns(Call::Utf8(r.title), "CER:" + Digits(s.counters.cer, 4)));
    } else {
        c.Print(Columns("Geral", "CER:" + Digits(s.counters.cer, 4)));
    }
    s.docs.open = "report";
    s.docs.openCoo = s.counters.coo;
    return kOk;
}

int PrintInto(Call& c, const std::string& text) {
    if (!DocumentOpen(c.s)) return c.Refuse(0, st2::kNotExecuted);
    if (int rc = CheckPrinting(c)) return rc;
    c.PrintText(text);
    return kOk;
}

// Both closings close whichever of the two documents is open, as the printer's one command does.
int CloseDocument(Call& c) {
    if (!DocumentOpen(c.s)) return c.Refuse(0, st2::kNotExecuted);
    if (int rc = CheckPrinting(c)) return rc;
    EndDocument(c);
    c.s.docs.open.clear();
    c.s.docs.openCoo = 0;
    return kOk;
}

bool NeedsDetailMemory(Call& c, int& rc) {
    if (HasDetailMemory(c.s.id.model)) return false;
    rc = c.Refuse(st1::kUnknownCommand, 0);
    return true;
}

int Slot(const std::string& text) {
    std::string t = Trim(text);
    if (!AllDigits(t) || t.size() > 2) return -1;
    return std::stoi(t);
}

}  // namespace
}  // namespace orb::sim::fiscal

using namespace orb::sim;
using namespace orb::sim::fiscal;

ORB_SIM_ENTRY(Bematech_FI_RelatorioGerencial)(char* text) {
    return Run(__func__, {In(text)}, [](Call& c) {
        if (c.s.docs.open != "report") {
            if (int rc = OpenReport(c, 0)) return rc;
        }
        return PrintInto(c, c.Text(0));
    });
}

ORB_SIM_ENTRY(Bematech_FI_AbreRelatorioGerencialMFD)(char* slot) {
    return Run(__func__, {In(slot)}, [](Call& c) {
        int rc = 0;
        if (NeedsDetailMemory(c, rc)) return rc;
        int n = Slot(c.Text(0));
        if (n < 1 || n > kReportSlots) return kBadArgument;
        if (Trim(c.s.reports.at(static_cast<std::size_t>(n - 1)).title).empty()) return c.Refuse(0, st2::kNotExecuted);
        if (int r = OpenReport(c, n); r != kOk) return r;
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_UsaRelatorioGerencialMFD)(char* text) {
    return Run(__func__, {In(text)}, [](Call& c) {
        int rc = 0;
        if (NeedsDetailMemory(c, rc)) return rc;
        return PrintInto(c, c.Text(0));
    });
}

ORB_SIM_ENTRY(Bematech_FI_FechaRelatorioGerencial)(void) {
    return Run(__func__, {}, [](Call& c) { return CloseDocument(c); });
}

ORB_SIM_ENTRY(Bematech_FI_AbreComprovanteNaoFiscalVinculado)(char* method, char* amount, char* coo) {
    return Run(__func__, {In(method), In(amount), In(coo)}, [](Call& c) {
        State& s = c.s;
        std::string wanted = UpperCp1252(Trim(c.Text(0)));
        bool programmed = false;
        for (const auto& m : s.payments)
            if (!wanted.empty() && UpperCp1252(Trim(Call::Utf8(m.name))) == wanted) programmed = true;
        if (!programmed) return kPaymentNotProgrammed;
        std::int64_t asked = 0;
        std::string cooText = Trim(c.Text(2));
        if (!ParseMoney(c.Text(1), asked) || (!cooText.empty() && !AllDigits(cooText))) return kBadArgument;
        if (int rc = CheckNewDocument(c, DocKind::Slip)) return rc;
        // A slip belongs to the document printed just before it, while nothing else came after it:
        // a payment of the last coupon, or the non-fiscal receipt just registered.
        const bool onReceipt = s.docs.receiptCancellable;
        if (!onReceipt && (!s.docs.lastCancellable || s.docs.coupon.cancelled)) return c.Refuse(0, st2::kNotExecuted);
        const int ownerCoo = onReceipt ? s.docs.receipt.coo : s.docs.coupon.coo;
        if (!cooText.empty() && std::stoll(cooText) != ownerCoo) return c.Refuse(0, st2::kNotExecuted);
        std::int64_t limit = -1;
        if (onReceipt) {
            if (UpperCp1252(Trim(Call::Utf8(s.docs.receipt.method))) == wanted) limit = s.docs.receipt.amount;
        } else {
            for (const auto& p : s.docs.coupon.payments)
                if (UpperCp1252(Trim(Call::Utf8(p.method))) == wanted) limit = (limit < 0 ? 0 : limit) + p.amount;
        }
        if (limit < 0 || asked > limit) return c.Refuse(0, st2::kNotExecuted);
        ++s.counters.cdc;
        StartDocument(c, DocKind::Slip, "COMPROVANTE CRÉDITO OU DÉBITO", true);
        c.Print(Columns(onReceipt ? "COO DO COMPROVANTE:" : "COO DO CUPOM FISCAL:", Digits(ownerCoo, 6)));
        c.Print(Columns(Trim(c.Text(0)), Money(asked > 0 ? asked : limit)));
        s.docs.open = "slip";
        s.docs.openCoo = s.counters.coo;
        // Only a coupon's slip can be reversed.
        if (!onReceipt) s.docs.slipPending = true;
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_UsaComprovanteNaoFiscalVinculado)(char* text) {
    return Run(__func__, {In(text)}, [](Call& c) { return PrintInto(c, c.Text(0)); });
}

ORB_SIM_ENTRY(Bematech_FI_FechaComprovanteNaoFiscalVinculado)(void) {
    return Run(__func__, {}, [](Call& c) { return CloseDocument(c); });
}

ORB_SIM_ENTRY(Bematech_FI_EstornoNaoFiscalVinculadoMFD)(char* taxNumber, char* name, char* address) {
    return Run(__func__, {In(taxNumber), In(name), In(address)}, [](Call& c) {
        State& s = c.s;
        if (!s.docs.slipPending || !s.docs.open.empty() || s.docs.couponOpen) return c.Refuse(0, st2::kNotExecuted);
        if (int rc = CheckPrinting(c)) return rc;
        StartDocument(c, DocKind::Slip, "ESTORNO DE COMPROVANTE DE CRÉDITO OU DÉBITO", true);
        c.Print(Columns("COO DO CUPOM FISCAL:", Digits(s.docs.coupon.coo, 6)));
        if (!Trim(c.Text(0)).empty()) c.Print("CPF/CNPJ consumidor: " + Trim(c.Text(0)));
        EndDocument(c);
        s.docs.slipPending = false;
        return kOk;
    });
}

// ---- bar codes: printed inside an open report or slip -----------------------------------------

namespace {

int BarCode(Call& c, const char* symbology, std::size_t minDigits, std::size_t maxDigits, bool numeric) {
    std::string code = c.Text(c.entry == "Bematech_FI_CodigoBarrasPDF417MFD" ? 4 : 0);
    if (code.empty() || code.size() < minDigits || code.size() > maxDigits || (numeric && !AllDigits(code)))
        return kBadArgument;
    if (!DocumentOpen(c.s)) return c.Refuse(0, st2::kNotExecuted);
    if (int rc = CheckPrinting(c)) return rc;
    c.Print(std::string("[") + symbology + " " + code + "]");
    return kOk;
}

}  // namespace

#define ORB_SIM_BARCODE(name, symbology, minDigits, maxDigits, numeric)                           \
    ORB_SIM_ENTRY(name)(char* code) {                                                             \
        return Run(__func__, {In(code)},                                                          \
                   [](Call& c) { return BarCode(c, symbology, minDigits, maxDigits, numeric); }); \
    }

ORB_SIM_BARCODE(Bematech_FI_CodigoBarrasCODABARMFD, "CODABAR", 1, 30, false)
ORB_SIM_BARCODE(Bematech_FI_CodigoBarrasCODE128MFD, "CODE128", 1, 48, false)
ORB_SIM_BARCODE(Bematech_FI_CodigoBarrasCODE39MFD, "CODE39", 1, 48, false)
ORB_SIM_BARCODE(Bematech_FI_CodigoBarrasCODE93MFD, "CODE93", 1, 48, false)
ORB_SIM_BARCODE(Bematech_FI_CodigoBarrasEAN13MFD, "EAN13", 12, 13, true)
ORB_SIM_BARCODE(Bematech_FI_CodigoBarrasEAN8MFD, "EAN8", 7, 8, true)
ORB_SIM_BARCODE(Bematech_FI_CodigoBarrasISBNMFD, "ISBN", 9, 13, false)
ORB_SIM_BARCODE(Bematech_FI_CodigoBarrasITFMFD, "ITF", 1, 30, true)
ORB_SIM_BARCODE(Bematech_FI_CodigoBarrasMSIMFD, "MSI", 1, 30, true)
ORB_SIM_BARCODE(Bematech_FI_CodigoBarrasPLESSEYMFD, "PLESSEY", 1, 30, true)
ORB_SIM_BARCODE(Bematech_FI_CodigoBarrasUPCAMFD, "UPCA", 11, 12, true)
ORB_SIM_BARCODE(Bematech_FI_CodigoBarrasUPCEMFD, "UPCE", 6, 8, true)

ORB_SIM_ENTRY(Bematech_FI_CodigoBarrasPDF417MFD)(int errorCorrection, int height, int width, int columns, char* code) {
    return Run(__func__, {Int(errorCorrection), Int(height), Int(width), Int(columns), In(code)}, [](Call& c) {
        if (c.Int(0) < 0 || c.Int(0) > 8 || c.Int(1) < 1 || c.Int(1) > 24 || c.Int(2) < 1 || c.Int(2) > 5 ||
            c.Int(3) < 0 || c.Int(3) > 30)
            return kBadArgument;
        return BarCode(c, "PDF417", 1, 900, false);
    });
}

// ---- the cutter ------------------------------------------------------------------------------

namespace {

int Cut(Call& c, int lines) {
    if (lines < 0 || lines > 99) return kBadArgument;
    if (int rc = CheckPrinting(c)) return rc;
    for (int i = 0; i < lines; ++i) c.Print("");
    c.Print(std::string(20, '~') + " corte " + std::string(21, '~'));
    return kOk;
}

}  // namespace

ORB_SIM_ENTRY(Bematech_FI_AcionaGuilhotinaMFD)(int mode) {
    return Run(__func__, {Int(mode)},
               [](Call& c) { return c.Int(0) == 0 || c.Int(0) == 1 ? Cut(c, 0) : kBadArgument; });
}

ORB_SIM_ENTRY(Bematech_FI_AvancaPapelAcionaGuilhotinaMFD)(int lines, int mode) {
    return Run(__func__, {Int(lines), Int(mode)},
               [](Call& c) { return c.Int(1) == 0 || c.Int(1) == 1 ? Cut(c, c.Int(0)) : kBadArgument; });
}
