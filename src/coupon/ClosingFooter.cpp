// The footer of the coupon being closed: its fixed pieces, the consumer's balance, the choice of
// form, and the end of the coupon with it.
#include "coupon/ClosingInput.h"
#include "coupon/Footer.h"

#include "driver/DataModule.h"
#include "driver/Globals.h"
#include "driver/PrinterCall.h"
#include "external/vendor/EntryPoints.h"
#include "framework/Cp1252.h"
#include "framework/DateFormat.h"
#include "framework/DateTime.h"
#include "framework/FormatSettings.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "queries/Queries.h"

namespace Orb00100::closing {

namespace {

using orb::fw::ClientDataSet;
using orb::fw::DecimalAdd;
using orb::fw::DecimalSubtract;
using orb::fw::Variant;

std::string Fixed2(double value) { return orb::fw::FloatToStrFixed(value, 2); }

// The family amount of a credit-balance row: less what the family balance holds, less the loan
// taken, or plus the loan given back when the family has a balance and took none.
double FamilyAmount(TdtmBematech100& dm, const std::string& family, double amount) {
    bool familyFound = false;
    ClientDataSet& families = dm.cdsFamiliaSaldo;
    if (families.Active() && families.Locate("CDFAMILISALD", Variant(family), orb::fw::loCaseInsensitive)) {
        familyFound = true;
        amount = DecimalSubtract(amount, families.FieldByName("VRSALDCONFAM").AsFloat());
    }
    ClientDataSet& loans = dm.cdsEmprestimo;
    if (loans.Active()) {
        if (loans.Locate("CDFAMILISALD;IDTPMOVEXT", Variant::MakeArray({Variant(family), Variant("D")}))) {
            amount = DecimalSubtract(amount, loans.FieldByName("VRMOVEXTCONS").AsFloat());
        } else if (familyFound &&
                   loans.Locate("CDFAMILISALD;IDTPMOVEXT", Variant::MakeArray({Variant(family), Variant("C")}))) {
            amount = DecimalAdd(amount, loans.FieldByName("VRMOVEXTCONS").AsFloat());
        }
    }
    return amount;
}

enum class Form { ConsumerPair = 1, BalanceBlock, TransferReceipt, Agreement, Selected2, Selected1, Standard };

Form ChooseForm(const ClosingInput& in, const PaymentsOutcome& payments) {
    if (in.selector35 == "2" && !in.consumerCode2.empty() && in.footerMode == "1") return Form::ConsumerPair;
    if (in.balanceMode == "1" && in.footerMode == "1") return Form::BalanceBlock;
    if (in.transfer.kind == "T" && in.transfer.inUse && in.transferReceipt == "S") return Form::TransferReceipt;
    if (payments.agreement) return Form::Agreement;
    if (!in.selector19.empty() && !in.selector20.empty()) return Form::Selected2;
    if (!in.selector19.empty()) return Form::Selected1;
    return Form::Standard;
}

std::string ComposeFooter(const ClosingInput& in, const PaymentsOutcome& payments, double net, Form form) {
    TdtmBematech100& dm = DataModule();
    const bool counters = form != Form::ConsumerPair;
    const bool second = in.printSecondConsumer;
    const std::string code2 =
        second && !orb::fw::Trim(in.consumerCode2).empty() ? orb::fw::Copy(in.consumerCode2, 1, 20) : "";
    const std::string name2 =
        second && !orb::fw::Trim(in.consumerName2).empty() ? orb::fw::Copy(in.consumerName2, 1, 20) : "";
    return Formata_rodape(
        8, in.footerMode, in.firstText, NoteLine(in.noteNumber), TaxLine(in.federalTax, in.stateTax),
        StateLine(in, net), orb::fw::Copy(in.consumerCode, 1, 20), orb::fw::Copy(in.consumerName, 1, 20), code2, name2,
        in.operatorCode, in.operatorName, TablePrefix(in.tableNumber), PasswordLine(in.password), "", "", "",
        in.freeText, counters ? in.printerNumber : "", counters ? in.conferenceCer : "",
        counters ? in.conferenceCoo : "", in.balanceMode, form == Form::Agreement ? "1" : "2",
        ConsumerBalance(in, payments.accountDebits), form == Form::Standard ? in.subsidised : 0.0, 0.0, &dm.cdsRodape,
        &dm.cdsRodape, &dm.cdsRodape, false, nullptr, LoyaltyLine(in.loyaltyPoints), "",
        form == Form::BalanceBlock ? BalanceBlock() : "", in.dailyConsumption);
}

}  // namespace

std::string TaxLine(double federal, double state) {
    return "Trib aprox R$: " + orb::fw::FormatFloat("#,##0.00", federal) + " Federal e " +
           orb::fw::FormatFloat("#,##0.00", state) + " Estadual\n\rFonte: IBPT";
}

std::string StateLine(const ClosingInput& in, double net) {
    if (in.stateCode != "PB") return {};
    // The net amount as the programme reads it: its cents, without a separator.
    const std::string netText = orb::fw::StringReplaceAll(orb::fw::FormatFloat(".00", net),
                                                          std::string(1, orb::fw::Settings().DecimalSeparator), "");
    return CP("PARAÍBA LEGAL - RECEITA CIDADÃ") +
           "\n\rTORPEDO PREMIADO: " + orb::fw::Copy(FormataCNPJ(in.companyTaxNumber), 1, 9) + " " +
           orb::fw::FormatDateTime("ddmmyyyy", orb::fw::Now()) + " " + in.stateNumber + " " + netText;
}

std::string PasswordLine(const std::string& password) {
    if (password.empty()) return {};
    return "\x1B"
           "E"
           "\x1B"
           "W1" +
           DataModule().msgPadrao.Msg("SENHA") + password +
           "\x1B"
           "F"
           "\x1B"
           "W0";
}

std::string LoyaltyLine(double points) {
    if (points == 0) return {};
    return orb::fw::StringReplaceAll(DataModule().msgPadrao2.Msg("DOTZ"), "%s", orb::fw::FloatToStr(points));
}

std::string NoteLine(const std::string& noteNumber) { return noteNumber.empty() ? "" : "NF:" + noteNumber; }

double ConsumerBalance(const ClosingInput& in, double accountDebits) {
    if (in.balanceMode == "0" && in.footerMode == "1") {
        double credit = 0;
        ClientDataSet& credits = DataModule().cdsSaldCred;
        if (credits.Active())
            for (credits.First(); !credits.Eof(); credits.Next())
                credit = DecimalAdd(credit, credits.FieldByName("VRSALDCONFAM").AsFloat());
        return orb::fw::DecimalRound(DecimalSubtract(credit, accountDebits), 2);
    }
    if ((in.balanceMode == "0" && in.footerMode == "2") || in.balanceMode == "1")
        return orb::fw::DecimalRound(DecimalAdd(DecimalSubtract(in.balanceBefore, accountDebits), in.subsidised), 2);
    return 0;
}

std::string BalanceBlock() {
    TdtmBematech100& dm = DataModule();
    ClientDataSet& credits = dm.cdsSaldCred;
    std::string block;
    if (!credits.Active()) return block;
    int entries = 0;
    for (credits.First(); !credits.Eof() && entries < 2; credits.Next()) {
        const double amount = credits.FieldByName("VRSALDCONFAM").AsFloat();
        if (amount == 0) continue;
        const std::string family = credits.FieldByName("CDFAMILISALD").AsString();
        block += credits.FieldByName("NMFAMILISALD").AsString() + ": " +
                 Fixed2(orb::fw::DecimalRound(FamilyAmount(dm, family, amount), 2)) + " ";
        ++entries;
    }
    return block;
}

bool EndCoupon(const ClosingInput& in, const PaymentsOutcome& payments, double net, orb::fw::StringList* lines,
               bool& retried) {
    const Form form = ChooseForm(in, payments);
    // The host prints the transfer receipt and ends the coupon itself when it has no lines for us.
    if (form == Form::TransferReceipt && lines == nullptr) return true;
    for (;;) {
        std::string footer = ComposeFooter(in, payments, net, form);
        if (Call(in.scheme, {.show = in.show}, "Bematech_FI_TerminaFechamentoCupom", Bematech_FI_TerminaFechamentoCupom,
                 footer.data()))
            return true;
        if (!OfferRetry(in, retried)) return false;
    }
}

}  // namespace Orb00100::closing
