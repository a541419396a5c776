// The product sales report.
#include "slips/ProductReport.h"

#include "driver/DataModule.h"
#include "external/hostlib/Dialogs.h"
#include "external/hostlib/HostLib.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "nonfiscal/Ledger.h"
#include "nonfiscal/ManagementReports.h"
#include "queries/Queries.h"
#include "slips/SlipText.h"

namespace Orb00100 {

namespace {

using namespace slips;
using orb::fw::ClientDataSet;
using orb::fw::DecimalAdd;
using orb::hostlib::TamFixo;
using orb::hostlib::TamFixoR;

constexpr int kReportOpen = 4;

struct Sums {
    double quantity = 0, total = 0, surcharges = 0, discounts = 0;
    void Add(ClientDataSet& row) {
        quantity = DecimalAdd(quantity, row.FieldByName("QTPRODVEND").AsFloat());
        total = DecimalAdd(total, row.FieldByName("VRTOTAL").AsFloat());
        surcharges = DecimalAdd(surcharges, row.FieldByName("VRACRE").AsFloat());
        discounts = DecimalAdd(discounts, row.FieldByName("VRDESC").AsFloat());
    }
};

std::string Header(const std::string& kind, const std::string& counterId1, const std::string& counterId2) {
    const std::string title = Msg(kind == "D" ? "RelProdutoDia" : "RelProdutoAbe");
    return "\n" + orb::hostlib::Centraliza(title, 47) + "\n\n" + orb::fw::UpperCase(Msg("Filial")) + " " + counterId1 +
           "  " + orb::fw::UpperCase(Msg("Caixa")) + " " + counterId2 + "\n" + Dashes() + "\n" +
           TamFixo(Msg("Nome"), 34) + TamFixo(Msg("Qtde_"), 7) + TamFixo(Msg("Valor2"), 10) + "\n";
}

// The tax situation's name for a rate of zero: substitution, not levied, exempt.
std::string ZeroRateLabel(const std::string& taxKind) {
    if (taxKind == "F") return Msg("SubTrib");
    if (taxKind == "N") return Msg("NIncide");
    if (taxKind == "I") return Msg("Isento");
    return "";
}

void PrepareSummary(ClientDataSet& summary) {
    if (!summary.Active() || !summary.FindField("VRTOTALALIQ")) {
        summary.Close();
        summary.ClearFieldDefs();
        summary.AddFieldDef("IDTPIMPOSFIS", orb::fw::FieldType::String, 1);
        summary.AddFieldDef("VRPERCSITTRIB", orb::fw::FieldType::Float);
        summary.AddFieldDef("VRTOTALALIQ", orb::fw::FieldType::Float);
        summary.CreateDataSet();
    }
    summary.SetFiltered(false);
    summary.SetIndexFieldNames("");
    summary.EmptyDataSet();
}

void AddToSummary(ClientDataSet& summary, const std::string& taxKind, double rate, double total) {
    for (summary.First(); !summary.Eof(); summary.Next()) {
        if (summary.FieldByName("IDTPIMPOSFIS").AsString() == taxKind &&
            summary.FieldByName("VRPERCSITTRIB").AsFloat() == rate) {
            summary.Edit();
            summary.FieldByName("VRTOTALALIQ")
                .SetAsFloat(DecimalAdd(summary.FieldByName("VRTOTALALIQ").AsFloat(), total));
            summary.Post();
            return;
        }
    }
    summary.Append();
    summary.FieldByName("IDTPIMPOSFIS").SetAsString(taxKind);
    summary.FieldByName("VRPERCSITTRIB").SetAsFloat(rate);
    summary.FieldByName("VRTOTALALIQ").SetAsFloat(total);
    summary.Post();
}

void PrintGrouped(const std::string& scheme, TdtmBematech100& dm, Sums& sums) {
    ClientDataSet& products = dm.cdsProdVend;
    PrepareSummary(dm.cdsAliqProduto);
    products.AddIndex("idxTributacao", "IDTPIMPOSFIS;VRPEALIMPFIS");
    products.SetIndexName("idxTributacao");
    bool first = true;
    std::string lastRate, lastKind;
    for (products.First(); !products.Eof(); products.Next()) {
        const double rate = products.FieldByName("VRPEALIMPFIS").AsFloat();
        const std::string rateText = Fixed(rate, 2);
        const std::string taxKind = products.FieldByName("IDTPIMPOSFIS").AsString();
        if (first || rateText != lastRate || taxKind != lastKind) {
            const std::string heading = rate == 0 ? ZeroRateLabel(taxKind) : Msg("TRIBUTACAO") + "  " + rateText;
            if (!heading.empty()) SendBlock(scheme, heading + "\n");
            first = false;
            lastRate = rateText;
            lastKind = taxKind;
        }
        std::string code = products.FieldByName("CDPRODIMPFIS").AsString();
        if (code.empty()) code = products.FieldByName("CDPRODUTO").AsString();
        SendBlock(scheme, TamFixo(code, 14) + " " + TamFixo(products.FieldByName("NMPRODUTO").AsString(), 18) + " " +
                              TamFixo(Fixed(products.FieldByName("QTPRODVEND").AsFloat(), 2), 6) + " " +
                              TamFixo(Fixed(products.FieldByName("VRTOTAL").AsFloat(), 2), 10) + "\n");
        sums.Add(products);
        AddToSummary(dm.cdsAliqProduto, taxKind, rate, products.FieldByName("VRTOTAL").AsFloat());
    }
    SendBlock(scheme, TamFixo(Msg("Valor_"), 32) + TamFixoR(Fixed(sums.quantity, 2), 9) +
                          TamFixoR(Fixed(sums.total, 2), 10) + "\n\n" + TamFixo(Msg("RESUMOTRIBUTACAO"), 35) + "\n" +
                          Dashes(51) + "\n");
    ClientDataSet& summary = dm.cdsAliqProduto;
    for (summary.First(); !summary.Eof(); summary.Next()) {
        const double rate = summary.FieldByName("VRPERCSITTRIB").AsFloat();
        const std::string label =
            rate == 0 ? ZeroRateLabel(summary.FieldByName("IDTPIMPOSFIS").AsString()) : Fixed(rate, 2);
        SendBlock(scheme,
                  TamFixo(label, 35) + TamFixoR(Fixed(summary.FieldByName("VRTOTALALIQ").AsFloat(), 2), 13) + "\n");
    }
}

void PrintPlain(const std::string& scheme, ClientDataSet& products, Sums& sums) {
    for (products.First(); !products.Eof(); products.Next()) {
        SendBlock(scheme, TamFixo(products.FieldByName("NMPRODUTO").AsString(), 33) + " " +
                              TamFixo(Fixed(products.FieldByName("QTPRODVEND").AsFloat(), 2), 6) + " " +
                              TamFixo(Fixed(products.FieldByName("VRTOTAL").AsFloat(), 2), 10) + "\n");
        sums.Add(products);
    }
}

std::string Totals(const Sums& sums) {
    return "\n" + TamFixo(Msg("Tot_Acre"), 42) + TamFixo(Fixed(sums.surcharges, 2), 13) + "\n\n" +
           TamFixo(Msg("Tot_Desc"), 42) + TamFixo(Fixed(sums.discounts, 2), 13) + "\n\n" +
           TamFixo(Msg("Tot_Valor"), 34) + TamFixo(Fixed(sums.quantity, 2), 6) + " " +
           TamFixo(Fixed(sums.total, 2), 10) + "\n\n\n";
}

}  // namespace

void Relatorio_Produto(const std::string& /*unused*/, const std::string& kind, const std::string& serial,
                       const std::string& counterId1, const std::string& counterId2, std::string& couponNumber,
                       ClientDataSet* products, const std::string& confirmMode, const std::string& grouped,
                       const std::string& scheme, bool& reportOpen) {
    TdtmBematech100& dm = EnsureDataModule();
    LoadTable(dm.cdsProdVend, products);
    Sums sums;

    if (confirmMode == "S") {
        if (!orb::hostlib::AskYesNo(scheme, Msg("ConfRelProds"), orb::hostlib::DialogKind::Confirmation)) return;
    } else if (confirmMode != "N") {
        return;
    }
    // The caller's report is closed only when one is open: another document the printer holds
    // (a card slip) is not the caller's to close.
    if (!reportOpen && (nonfiscal::ExtendedStatus() & kReportOpen) != 0) FechRelatGerenc(scheme, true, true);
    reportOpen = true;

    if (dm.cdsProdVend.IsEmpty()) return;
    const bool opened = Relatorio_Gerencial_Imp(scheme, counterId1, counterId2, "", "");
    couponNumber = Nr_Cupom("", scheme);

    SendBlock(scheme, Header(kind, counterId1, counterId2));
    if (grouped == "S")
        PrintGrouped(scheme, dm, sums);
    else
        PrintPlain(scheme, dm.cdsProdVend, sums);
    SendBlock(scheme, Totals(sums));
    // A report that never opened is neither closed nor recorded: the close would take whatever
    // else the printer holds open, and the ledger would record a document that does not exist.
    if (!opened) return;
    FechRelatGerenc(scheme, true, true);
    GravaDocumentosNaoFiscais(serial, scheme, "RG", "", "");
}

}  // namespace Orb00100
