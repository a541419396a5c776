// The debit and credit sale receipts on a consumer's account.
#include "slips/ConsumerSales.h"

#include <functional>

#include "driver/DataModule.h"
#include "external/hostlib/HostLib.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "nonfiscal/LinkedSlips.h"
#include "nonfiscal/ManagementReports.h"
#include "queries/Queries.h"
#include "slips/AccountText.h"
#include "slips/SlipText.h"

namespace Orb00100 {

namespace {

using namespace slips;
using orb::fw::ClientDataSet;
using orb::fw::Copy;
using orb::fw::FormatFloat;
using orb::hostlib::PadL;
using orb::hostlib::TamFixo;

struct Sale {
    const std::string& scheme;
    double amount;
    const std::string& paymentMethod;
    const std::string& registration;
    const std::string& consumerName;
    const std::string& clientCode;
    const std::string& clientName;
    const std::string& orderPassword;
    double subsidisedPrice;
    double complement;
};

std::string Header(const Sale& sale, const std::string& titleKey) {
    return Ln() + Ln(orb::hostlib::Centraliza(Msg(titleKey))) + Ln(Dashes()) + Ln48(Msg("CDCLIE") + sale.clientCode) +
           Ln48(Spaces(9) + sale.clientName) + Ln(Dashes()) + Ln48(Msg("CDCons") + sale.registration) +
           Ln48(Msg("NmCons") + sale.consumerName) + Ln(Dashes()) + Ln(orb::hostlib::Centraliza(Msg("ProdVend"))) +
           Ln(Spaces(kLineWidth)) + Ln48(Msg("Cabecalho"));
}

std::string ProductLine(ClientDataSet& products, bool withUnitSupplement) {
    double price = products.FieldByName("VRPRECCOMVEN").AsFloat();
    if (withUnitSupplement) price = orb::fw::DecimalAdd(price, products.FieldByName("VRUNITVENDCL").AsFloat());
    const double quantity = products.FieldByName("QTPRODCOMVEN").AsFloat();
    const std::string left = Copy(products.FieldByName("CDARVPROD").AsString(), 1, 10) + " " +
                             Copy(products.FieldByName("NMPRODUTO").AsString(), 1, 12) + "  " +
                             FormatFloat("0.00#", quantity);
    return Ln(TamFixo(left, 30) + "  " + PadL(FormatFloat("0.00", price), 8) +
              PadL(FormatFloat("0.00", orb::hostlib::Trunc2(orb::fw::DecimalMultiply(price, quantity))), 8));
}

std::string AmountLine(std::string_view label, double value) {
    return Ln(TamFixo(label, 15) + PadL(FormatFloat("0.00", value), 33));
}

std::string FinalBalance(double value) { return Ln(orb::fw::StringReplaceAll(Msg2("SALDO_FIN"), "%s", Money(value))); }

// The password line and the subsidy lines that close both receipts.
std::string Tail(const Sale& sale) {
    const std::string password = sale.orderPassword.empty() ? "" : Msg("SEN_PED") + sale.orderPassword + "\r\n";
    return Ln(Copy(password, 1, kLineWidth));
}

std::string Subsidy(const Sale& sale) {
    std::string text;
    if (sale.subsidisedPrice > 0) text += Msg("PRECO_SUBSIDIO") + " " + Money(sale.subsidisedPrice);
    if (sale.complement > 0) text += Msg("VR_COMPLEMENTO") + " " + Money(sale.complement);
    return text;
}

// Opens the linked slip, prints header and products, then the closing block; the slip is
// closed on every way out.
bool PrintSale(const Sale& sale, const std::string& titleKey, ClientDataSet& products, bool debit,
               const std::function<std::string()>& closingBlock) {
    if (orb::hostlib::RoundDec(sale.amount, 2) <= 0) return true;
    const std::string amount14 = orb::fw::OnlyDigits(FormatFloat("000000000000.00", orb::hostlib::Trunc2(sale.amount)));
    const std::string coupon = Nr_Cupom("", sale.scheme);
    if (!Abre_Comp_NFiscalVinc(sale.scheme, Copy(sale.paymentMethod, 1, 16), amount14, coupon)) return false;
    if (!SendBlock(sale.scheme, Header(sale, titleKey))) return Abandon(sale.scheme);
    for (products.First(); !products.Eof(); products.Next())
        if (!SendBlock(sale.scheme, ProductLine(products, debit))) return Abandon(sale.scheme);
    // Many family lines or a long free text may pass one block: none of it is dropped.
    if (!SendWhole(sale.scheme, closingBlock())) return Abandon(sale.scheme);
    return FechRelatGerenc(sale.scheme, true, false);
}

double TextAmount(ClientDataSet& table, const char* field) {
    const std::string text = orb::fw::Trim(table.IsEmpty() ? "" : table.FieldByName(field).AsString());
    return text.empty() ? 0 : orb::fw::StrToFloat(text);
}

double LimitLeft(const std::string& limit, double consumed, double amount) {
    const double cap = orb::fw::Trim(limit).empty() ? 0 : orb::fw::StrToFloat(orb::fw::Trim(limit));
    return orb::fw::DecimalSubtract(cap, orb::fw::DecimalAdd(consumed, amount));
}

// The family value of the per-family balance lines: the receipt's balance less what the
// family held before, with the day's loan movement.
double FamilyValue(TdtmBematech100& dm, const std::string& family, double value) {
    bool known = false;
    if (dm.cdsFamiliaSaldo.Active() && dm.cdsFamiliaSaldo.Locate("CDFAMILISALD", orb::fw::Variant(family))) {
        known = true;
        value = orb::fw::DecimalSubtract(value, dm.cdsFamiliaSaldo.FieldByName("VRSALDCONFAM").AsFloat());
    }
    if (dm.cdsEmprestimo.Active() && dm.cdsEmprestimo.Locate("CDFAMILISALD", orb::fw::Variant(family))) {
        const std::string kind = dm.cdsEmprestimo.FieldByName("IDTPMOVEXT").AsString();
        const double movement = dm.cdsEmprestimo.FieldByName("VRMOVEXTCONS").AsFloat();
        if (kind == "D") value = orb::fw::DecimalSubtract(value, movement);
        if (kind == "C" && known) value = orb::fw::DecimalAdd(value, movement);
    }
    return value;
}

}  // namespace

bool Comp_DebitoCons(const std::string& scheme, const orb::fw::Variant& products, double amount,
                     const std::string& paymentMethod, const std::string& registration, const std::string& consumerName,
                     const std::string& clientCode, const std::string& clientName, const std::string& orderPassword,
                     double balance, double subsidisedPrice, double complement, const std::string& balanceMode,
                     const std::string& freeText, const std::string& limitKind, const std::string& dailyLimit,
                     const std::string& monthlyLimit, const orb::fw::Variant& consumption) {
    TdtmBematech100& dm = EnsureDataModule();
    LoadPacket(dm.cdsProdDeb, products);
    LoadPacket(dm.cdsVrSaldConsumi, consumption);
    const double finalBalance = orb::fw::DecimalSubtract(orb::fw::DecimalAdd(balance, subsidisedPrice), amount);
    const Sale sale{scheme,     amount,     paymentMethod, registration,    consumerName,
                    clientCode, clientName, orderPassword, subsidisedPrice, complement};
    return PrintSale(sale, "ComprDebito", dm.cdsProdDeb, true, [&] {
        ClientDataSet& rows = dm.cdsProdDeb;  // stands on the last product after the loop
        std::string block = Ln(Spaces(kLineWidth));
        if (!rows.IsEmpty() && rows.FieldByName("VRDESCCOMVEN").AsFloat() > 0)
            block += AmountLine("Desconto", rows.FieldByName("VRDESCCOMVEN").AsFloat());
        if (!rows.IsEmpty() && rows.FieldByName("VRACRCOMVEN").AsFloat() > 0)
            block += AmountLine("Acrescimo", rows.FieldByName("VRACRCOMVEN").AsFloat());
        block += AmountLine(Copy(Msg("Total"), 1, 40), amount) + Ln(Dashes());
        if (limitKind != "N") {
            const std::string today =
                FormatFloat("#0.00", LimitLeft(dailyLimit, TextAmount(dm.cdsVrSaldConsumi, "VALCONSUMDIA"), amount));
            const std::string month =
                FormatFloat("#0.00", LimitLeft(monthlyLimit, TextAmount(dm.cdsVrSaldConsumi, "VALCONSUMMES"), amount));
            if (limitKind == "D") block += Ln(Msg("LIMDIA") + today);
            if (limitKind == "M") block += Ln(Msg("LIMMES") + month);
            if (limitKind == "T") block += Ln(Msg("LIMDIA") + today + " - " + Msg("LIMMES") + month);
        }
        block += Tail(sale);
        if (balanceMode != "2") block += FinalBalance(finalBalance);
        if (!freeText.empty()) block += Ln(Spaces(kLineWidth)) + Ln(freeText);
        return block + Subsidy(sale);
    });
}

bool Imp_CompVenCred(const std::string& scheme, const orb::fw::Variant& products,
                     const orb::fw::Variant& familyBalances, double amount, const std::string& paymentMethod,
                     const std::string& registration, const std::string& consumerName, const std::string& clientCode,
                     const std::string& clientName, const std::string& orderPassword, double balance,
                     double subsidisedPrice, double complement, const std::string& balanceMode) {
    TdtmBematech100& dm = EnsureDataModule();
    LoadPacket(dm.cdsProdCred, products);
    LoadPacket(dm.cdsSaldCred, familyBalances);
    const double finalBalance = orb::fw::DecimalSubtract(
        orb::fw::DecimalAdd(orb::fw::DecimalAdd(balance, subsidisedPrice), complement), amount);
    const Sale sale{scheme,     amount,     paymentMethod, registration,    consumerName,
                    clientCode, clientName, orderPassword, subsidisedPrice, complement};
    return PrintSale(sale, "CompraCredito", dm.cdsProdCred, false, [&] {
        std::string block = Ln(Spaces(kLineWidth)) + AmountLine(Copy(Msg("Total"), 1, 40), amount) + Ln(Dashes());
        block += Tail(sale);
        ClientDataSet& families = dm.cdsSaldCred;
        if (balanceMode == "0") {
            double sum = finalBalance;
            for (families.First(); !families.Eof(); families.Next())
                sum = orb::fw::DecimalAdd(sum, families.FieldByName("VRSALDCONFAM").AsFloat());
            block += FinalBalance(sum);
        } else if (balanceMode == "1") {
            for (families.First(); !families.Eof(); families.Next()) {
                const double value = families.FieldByName("VRSALDCONFAM").AsFloat();
                if (value == 0) continue;
                const double shown = FamilyValue(dm, families.FieldByName("CDFAMILISALD").AsString(), value);
                block += Ln(TamFixo(families.FieldByName("NMFAMILISALD").AsString(), 25) +
                            orb::hostlib::TamFixoR(Fixed(shown, 2), 22));
            }
        }
        return block + Subsidy(sale);
    });
}

}  // namespace Orb00100
