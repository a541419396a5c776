// The table-opening slip.
#include "slips/TableOpening.h"

#include "driver/DataModule.h"
#include "external/hostlib/HostLib.h"
#include "framework/FormatSettings.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "nonfiscal/CashMovements.h"
#include "nonfiscal/LinkedSlips.h"
#include "nonfiscal/ManagementReports.h"
#include "queries/Queries.h"
#include "slips/SlipText.h"

namespace Orb00100 {

using orb::hostlib::TamFixo;
using orb::hostlib::TamFixoR;

namespace slips {

std::string ProductColumns() {
    return TamFixo(Msg("Codigo"), 11) + TamFixo(Msg("Nome"), 4) + "\n" + TamFixoR(Msg("Qtde_"), 4) +
           TamFixoR(Msg("VrUnit"), 12) + TamFixoR(Msg("Valor2"), 32) + "\n";
}

}  // namespace slips

namespace {

using namespace slips;

constexpr double kReceiptAmount = 0.01;

// The printer's fixed-width amount: twelve integer digits and the cents, without the separator.
std::string FourteenDigits(double amount) {
    return orb::fw::StringReplaceAll(orb::fw::FormatFloat("000000000000.00", amount),
                                     std::string(1, orb::fw::Settings().DecimalSeparator), "");
}

std::string Header(const std::string& table, const std::string& emission) {
    return Spaces(kLineWidth) + "\n" + Spaces(kLineWidth) + "\n" + Dashes() + "\n" + Spaces(kLineWidth) + "\n" +
           Spaces(15) + Msg("Aber_mesa") + "\n" + Spaces(kLineWidth) + "\n" + Msg("Mesa") + ": " + table + "\n" +
           Msg("Emissao") + ": " + emission + "\n" + Dashes() + "\n";
}

std::string ProductBlock(orb::fw::ClientDataSet& products) {
    const double quantity = products.FieldByName("QTPRODCOMVEN").AsFloat();
    const double price = products.FieldByName("VRPRECCOMVEN").AsFloat();
    const double lineTotal = orb::hostlib::Trunc2(orb::fw::DecimalMultiply(price, quantity));
    return products.FieldByName("CDARVPROD").AsString() + " " + products.FieldByName("NMPRODUTO").AsString() + "\n" +
           Fixed(quantity, 3) + "   X " + Fixed(price, 2) + "     " + TamFixoR(Fixed(lineTotal, 2), 27) + "\n";
}

std::string Totals(double serviceCharge, double surcharge, double discount) {
    std::string block = Spaces(kLineWidth) + "\n";
    if (serviceCharge > 0) block += Msg("Tx_Serv") + ": " + TamFixoR(Fixed(serviceCharge, 2), 30) + "\n";
    if (surcharge > 0) block += Msg("Acrescimo") + ": " + TamFixoR(Fixed(surcharge, 2), 35) + "\n";
    if (discount > 0) block += Msg("Desconto") + ": " + TamFixoR(Fixed(discount, 2), 37) + "\n";
    return block;
}

}  // namespace

bool Abertura_Mesa(const std::string& totalizer, const std::string& scheme, const std::string& /*unused1*/,
                   const std::string& table, const std::string& /*unused2*/, const std::string& emission,
                   const orb::fw::Variant& products, double discount, double /*unused3*/, double /*unused4*/,
                   double serviceCharge, double /*unused5*/, double total, double surcharge) {
    TdtmBematech100& dm = EnsureDataModule();
    LoadPacket(dm.cdsParcProdutos, products);

    const std::string amount = FourteenDigits(kReceiptAmount);
    const std::string method = orb::fw::Copy(Msg("RelGerencial"), 1, 16);
    // The slip needs a document to ride on; the receipt stands whatever becomes of the slip.
    Cupom_NFiscNVinc(scheme, totalizer, amount, method);
    const bool opened = Abre_Comp_NFiscalVinc(scheme, method, amount, Nr_Cupom("", scheme));

    SendBlock(scheme, Header(table, emission));
    SendBlock(scheme, ProductColumns() + "\n");
    for (dm.cdsParcProdutos.First(); !dm.cdsParcProdutos.Eof(); dm.cdsParcProdutos.Next())
        SendBlock(scheme, ProductBlock(dm.cdsParcProdutos));
    SendBlock(scheme, Totals(serviceCharge, surcharge, discount));
    SendBlock(scheme, Dashes() + "\n" + Msg("Total") + ": " + TamFixoR(Fixed(orb::hostlib::Trunc2(total), 2), 35) +
                          "\n" + Spaces(kLineWidth) + "\n" + ContactLine());
    FechRelatGerenc(scheme, true, false);
    return opened;
}

}  // namespace Orb00100
