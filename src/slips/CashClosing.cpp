// The till's closing receipts and reports.
#include "slips/CashClosing.h"

#include "driver/DataModule.h"
#include "external/hostlib/Dialogs.h"
#include "external/hostlib/HostLib.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "nonfiscal/Ledger.h"
#include "nonfiscal/ManagementReports.h"
#include "queries/Queries.h"
#include "readings/Readings.h"
#include "slips/ProductReport.h"
#include "slips/SlipText.h"

namespace Orb00100 {

namespace {

using namespace slips;
using orb::fw::ClientDataSet;
using orb::fw::DecimalAdd;
using orb::fw::DecimalSubtract;
using orb::hostlib::PadL;
using orb::hostlib::TamFixo;

std::string Amount(double value) { return Fixed(value, 2); }
bool Blank(const std::string& text) { return orb::fw::Trim(text).empty(); }

// What one run of the operation shares: where its texts go, and whether all of it printed.
struct Run {
    const std::string& serial;
    const std::string& counterId1;
    const std::string& counterId2;
    const std::string& scheme;
    std::string& firstDocument;
    bool allPrinted = true;
    bool reportOpen = false;  // a management report of ours is open

    void Send(const std::string& text) { allPrinted = SendBlock(scheme, text) && allPrinted; }
    void Close() {
        if (!reportOpen) return;
        allPrinted = FechRelatGerenc(scheme, true, true) && allPrinted;
        reportOpen = false;
    }
    void NoteFirstDocument(const std::string& number) {
        if (Blank(firstDocument)) firstDocument = number;
    }
    void OpenReport() {
        reportOpen = Relatorio_Gerencial_Imp(scheme, counterId1, counterId2, "", "");
        if (reportOpen)
            GravaDocumentosNaoFiscais(serial, scheme, "RG", "", "");
        else
            allPrinted = false;
        NoteFirstDocument(Nr_Cupom("", scheme));
    }
};

void PrintCopy(Run& run, int copy, const std::string& envelopeHeading, bool typedAmounts, const std::string& reason,
               const std::string& remark, int& lines, std::string text) {
    TdtmBematech100& dm = DataModule();
    text += orb::hostlib::Centraliza(Msg(copy == 1 ? "RecSangria3" : "RecSangria1"), kLineWidth) + "\n";
    ++lines;
    text += Dashes() + "\n";
    if (!Blank(reason)) text += Msg("Motivo") + reason + "\n";
    if (!Blank(remark)) text += Msg("Observacao") + remark + "\n";
    if (!Blank(reason) || !Blank(remark)) text += Dashes() + "\n";
    if (envelopeHeading == "S") text += Msg("Envelope") + " ";
    text += TamFixo(Msg("Modalidade"), 25) + " " + PadL(Msg("Valor_"), 15) + "\n";
    lines += 2;
    run.Send(text);

    double total = 0;
    ClientDataSet& amounts = dm.cdsMovFecha;
    for (amounts.First(); !amounts.Eof(); amounts.Next()) {
        const double amount = amounts.FieldByName(typedAmounts ? "VRFECHADIG" : "VRFECHAINF").AsFloat();
        run.Send(amounts.FieldByName("NRENVELOPE").AsString() + " " +
                 TamFixo(amounts.FieldByName("NMTIPORECE").AsString(), 25) + " " + PadL(Amount(amount), 15) + "\n");
        ++lines;
        total = DecimalAdd(total, amount);
    }

    text = TamFixo(Msg("Sangrias"), 27) + PadL(Amount(total), 15) + "\n\n";
    lines += 2;
    // Keeps the copies apart on the printer's page as the stores know them.
    if ((lines - 3) % 10 == 0) {
        text += "\n";
        ++lines;
    }
    text += Dashes() + "\n";
    ClientDataSet& staff = dm.cdsOperadorSup;
    staff.First();
    const std::string signature = copy == 1 ? Msg("Superv") + " : " + staff.FieldByName("CDSUPERVISOR").AsString() +
                                                  " " + staff.FieldByName("NMSUPERVISOR").AsString()
                                            : Msg("Operador") + " : " + staff.FieldByName("CDOPERADOR").AsString() +
                                                  " " + staff.FieldByName("NMOPERADOR").AsString();
    text += orb::fw::Copy(signature, 1, kLineWidth) + "\n\n\n";
    lines += 2;
    run.Send(text);
}

void PrintWithdrawalReceipts(Run& run, const std::string& envelopeHeading, bool typedAmounts, const std::string& reason,
                             const std::string& remark) {
    int lines = 1;
    PrintCopy(run, 1, envelopeHeading, typedAmounts, reason, remark, lines, "\n");
    PrintCopy(run, 2, envelopeHeading, typedAmounts, reason, remark, lines, "");
}

double SumOfSales(ClientDataSet* sales) {
    double sum = 0;
    ClientDataSet& table = Required(sales, "sales");
    for (table.First(); !table.Eof(); table.Next()) sum = DecimalAdd(sum, table.FieldByName("VRTOTAL").AsFloat());
    return sum;
}

// What a closing report sets against the sales, and how its lines are drawn.
struct ClosingLayout {
    const char* productKind;  // the product report's kind
    ClientDataSet* sales;     // the product report's rows and the sales
    const char* titleKey;
    ClientDataSet* movements;  // nullptr: none listed
    int dashesAfterCredit, dashesBeforeWithdrawals;
};

struct Movements {
    double withdrawals = 0, vouchersIssued = 0, cashSupply = 0, vouchersReceived = 0;
};

// Withdrawals one line each; of the voucher and supply kinds the last row counts.
Movements PrintMovements(Run& run, ClientDataSet* movements) {
    Movements m;
    if (!movements) return m;
    for (movements->First(); !movements->Eof(); movements->Next()) {
        const std::string kind = movements->FieldByName("IDTIPOREG").AsString();
        const double amount = movements->FieldByName("VRSAIDA").AsFloat();
        if (kind == "1" || kind == "5") {
            run.Send(TamFixo(movements->FieldByName("NMTIPORECE").AsString(), 33) + PadL(Amount(amount), 15) + "\n");
            m.withdrawals = DecimalAdd(m.withdrawals, amount);
        } else if (kind == "2") {
            m.vouchersIssued = amount;
        } else if (kind == "3") {
            m.cashSupply = amount;
        } else if (kind == "4") {
            m.vouchersReceived = amount;
        }
    }
    return m;
}

std::string Line(const std::string& label, double amount) {
    return TamFixo(label, 33) + PadL(Amount(amount), 15) + "\n";
}

void PrintClosingReport(Run& run, const ClosingLayout& layout, bool productReportOpen, const std::string& confirmMode,
                        const std::string& grouped, double creditPurchases) {
    TdtmBematech100& dm = DataModule();
    std::string coupon;
    bool handedOver = productReportOpen;
    Relatorio_Produto("", layout.productKind, run.serial, run.counterId1, run.counterId2, coupon, layout.sales,
                      confirmMode, grouped, run.scheme, handedOver);
    // Handed over, our report was closed by the product report (when it was open at all).
    if (handedOver && !productReportOpen) run.reportOpen = false;
    run.NoteFirstDocument(coupon);
    if (dm.cdsMovTot.IsEmpty()) {
        run.Close();
        return;
    }
    if (handedOver) run.OpenReport();

    const double sales = SumOfSales(layout.sales);
    run.Send(orb::hostlib::Centraliza(Msg(layout.titleKey), 47) + "\n\n" + TamFixo(Msg("Vendas"), 35) +
             PadL(Amount(sales), 13) + "\n" + TamFixo("Compra de Credito", 35) + PadL(Amount(creditPurchases), 13) +
             "\n" + Dashes(layout.dashesAfterCredit) + "\n");
    const Movements m = PrintMovements(run, layout.movements);
    const double withdrawn =
        DecimalSubtract(DecimalSubtract(DecimalAdd(m.withdrawals, m.vouchersReceived), m.cashSupply), m.vouchersIssued);
    const double difference = DecimalSubtract(DecimalSubtract(withdrawn, sales), creditPurchases);
    run.Send(Line(Msg("CV-RECEBIDO") + "(+)", m.vouchersReceived) + Line(Msg("CV-EMITIDO") + "(-)", m.vouchersIssued) +
             Line(orb::fw::UpperCase(Msg("Suprimento")) + "(-)", m.cashSupply) +
             Dashes(layout.dashesBeforeWithdrawals) + "\n" + TamFixo(Msg("Sangrias"), 33) +
             PadL(Amount(withdrawn), 15) + "\n\n" + Line(Msg(difference < 0 ? "Falta" : "Sobra"), difference));
    run.Close();
}

double CreditPurchases(ClientDataSet* table) {
    return Required(table, "credit purchases").FieldByName("VRCARGACREDITO").AsFloat();
}

void LoadTables(TdtmBematech100& dm, bool keepTables, ClientDataSet* closingAmounts, ClientDataSet* withdrawals,
                ClientDataSet* staff, ClientDataSet* paymentTypes, ClientDataSet* openingMovements,
                ClientDataSet* dayMovements) {
    if (!keepTables) {
        LoadTable(dm.cdsMovFecha, closingAmounts);
        LoadTable(dm.cdsSangria, withdrawals);
        LoadTable(dm.cdsOperadorSup, staff);
        LoadTable(dm.cdsTipoReceAux, paymentTypes);
        LoadTable(dm.cdsMovAbertura, openingMovements);
    }
    LoadTable(dm.cdsMovTot, dayMovements);
}

}  // namespace

bool GeraReciboSangria(const std::string& /*unused1*/, const std::string& serial, const std::string& counterId1,
                       const std::string& counterId2, const std::string& /*unused2*/, int /*unused3*/,
                       std::string& firstDocument, ClientDataSet* closingAmounts, ClientDataSet* withdrawals,
                       ClientDataSet* openingSales, ClientDataSet* staff, ClientDataSet* dayMovements,
                       ClientDataSet* openingMovements, ClientDataSet* daySales, ClientDataSet* creditPurchases,
                       orb::fw::TDateTime /*unused4*/, bool printReceipts, bool reductionAllowed, bool /*unused5*/,
                       ClientDataSet*& /*unused6*/, ClientDataSet*& /*unused7*/, ClientDataSet*& /*unused8*/,
                       ClientDataSet*& /*unused9*/, bool& tillClosed, ClientDataSet* paymentTypes,
                       const std::string& productConfirmMode, const std::string& productGrouped,
                       const std::string& xReading, const std::string& envelopeHeading, const std::string& scheme,
                       bool withdrawalOnly, bool keepTables, bool reductionConfirmed, const std::string& reason,
                       const std::string& remark) {
    TdtmBematech100& dm = EnsureDataModule();
    LoadTables(dm, keepTables, closingAmounts, withdrawals, staff, paymentTypes, openingMovements, dayMovements);
    tillClosed = false;
    const double credit = CreditPurchases(creditPurchases);
    Run run{serial, counterId1, counterId2, scheme, firstDocument};

    if (printReceipts) {
        if (xReading == "S" && Leitura_X_Imp(serial, "", scheme, "")) firstDocument = Nr_Cupom("", scheme);
        run.OpenReport();
        if (run.reportOpen) PrintWithdrawalReceipts(run, envelopeHeading, withdrawalOnly, reason, remark);
        if (withdrawalOnly) {
            run.Close();
            return run.allPrinted;
        }
        ClientDataSet* listed = openingMovements && !openingMovements->IsEmpty() ? &dm.cdsMovAbertura : nullptr;
        PrintClosingReport(run, {"A", openingSales, "RelFechamento", listed, 48, 51}, false, productConfirmMode,
                           productGrouped, credit);
    }
    if (withdrawalOnly) return false;

    if (!keepTables && orb::hostlib::AskYesNo(scheme, Msg("AbreCaixa"), orb::hostlib::DialogKind::Confirmation))
        return true;
    if (!keepTables) {
        if (!(reductionAllowed && reductionConfirmed)) return false;
        if (!orb::hostlib::AskYesNo(scheme, Msg("ConfReducao"), orb::hostlib::DialogKind::Confirmation)) return false;
    }
    if (orb::hostlib::AskYesNo(scheme, Msg("ConfRelFechamento"), orb::hostlib::DialogKind::Confirmation))
        PrintClosingReport(run, {"D", daySales, "relFechamentoGeral", &dm.cdsMovTot, 51, 48}, true, productConfirmMode,
                           productGrouped, credit);
    if (!keepTables) tillClosed = true;
    return false;
}

}  // namespace Orb00100
