// The credit purchase receipt on the non-fiscal printers.
#include "slips/CreditReceiptPrinter.h"

#include "connection/PrinterData.h"
#include "driver/DebugLog.h"
#include "external/hostlib/HostLib.h"
#include "framework/DateFormat.h"
#include "framework/DateTime.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "platform/Platform.h"
#include "slips/AccountText.h"
#include "slips/ReceiptPrinter.h"
#include "slips/SlipText.h"
#include "slips/SpanishReceipts.h"

namespace Orb00100 {

namespace slips {

std::string CreditReceiptLines(const std::string& consumerName, const std::string& familyName, double sum,
                               double previousBalance) {
    return Ln48(Msg("NmCons") + consumerName) + Ln48(Msg("NmFami") + familyName) + Ln48(Msg("VrCupom") + Money(sum)) +
           Ln48(Msg("VrSaldo") + Money(orb::fw::DecimalAdd(sum, previousBalance)));
}

}  // namespace slips

namespace {

using namespace slips;

constexpr int kStyle = 3;
constexpr int kFeedLines = 6;

double Sum(orb::fw::ClientDataSet* payments) {
    orb::fw::ClientDataSet& rows = Required(payments, "payments");
    double sum = 0;
    for (rows.First(); !rows.Eof(); rows.Next())
        sum = orb::fw::DecimalAdd(sum, rows.FieldByName("VRMOVIVEND").AsFloat());
    return sum;
}

std::string Repeat(const std::string& text, int n) { return orb::hostlib::Replicate(text, n); }

std::string PlainReceipt(const std::string& depositNumber, const std::string& consumerName,
                         const std::string& familyName, double sum, double previousBalance) {
    return Ln(orb::hostlib::Centraliza(Msg("ComprCredito"))) + Ln(Dashes()) + Ln() +
           Ln48(Msg("Nr_Deposito") + depositNumber) + Ln(Spaces(kLineWidth)) +
           CreditReceiptLines(consumerName, familyName, sum, previousBalance);
}

// Prints the copies through the receipt printer's library; the port must be attached and
// answer. The control string, when given, follows the copies.
bool PrintCopies(const std::string& port, const std::string& text, const std::string& lineEnd, int copies,
                 const std::string& control, bool withControl) {
    const std::string device = orb::fw::UpperCase(port) + ":";
    if (!orb::platform::ReceiptPortPresent(device)) {
        ImpFisDebug("Impressora nao fiscal: porta inexistente " + device);
        return false;
    }
    ReceiptPrinter printer;
    if (!printer.Open(port)) return false;
    bool printed = true;
    for (int i = 0; i < copies && printed; ++i)
        printed = printer.PrintStyled(text + lineEnd, kStyle, true) &&
                  printer.PrintStyled(Repeat(lineEnd, kFeedLines), kStyle, true);
    if (printed && withControl) printed = printer.Command(control);
    printer.Close();
    return printed;
}

int Copies(const std::string& copies) { return static_cast<int>(orb::fw::StrToIntDef(orb::fw::Trim(copies), 1)); }

std::string Centred(const std::string& text, int columns) { return orb::hostlib::Centraliza(text, columns); }

}  // namespace

bool Compr_Cred_Bematech_MP100(std::string& /*unused1*/, orb::fw::ClientDataSet* payments, double previousBalance,
                               const std::string& consumerName, const std::string& depositNumber,
                               const std::string& familyName, const std::string& copies, const std::string& /*unused2*/,
                               const std::string& port, const std::string& /*unused3*/, bool /*unused4*/) {
    const std::string text = PlainReceipt(depositNumber, consumerName, familyName, Sum(payments), previousBalance);
    return PrintCopies(port, text, "\n\r", Copies(copies), "", false);
}

bool Compr_Cred_Bematech_NFISC(std::string& /*unused1*/, orb::fw::ClientDataSet* payments, double previousBalance,
                               const std::string& consumerName, const std::string& depositNumber,
                               const std::string& rechargeText, const std::string& copies,
                               const std::string& countryCode, const std::string& printerModel, const std::string& port,
                               const std::string& ticketNumber, const std::string& header1, const std::string& header2,
                               const std::string& header3, const std::string& header4,
                               const std::string& registrationNumber, const std::string& serial,
                               const std::string& footerText, bool /*unused2*/) {
    const double sum = Sum(payments);
    unsigned char width = kLineWidth;
    std::string lineEnd, control;
    DefineParametrosImpressora(width, lineEnd, control, printerModel);
    const int columns = width;
    const orb::fw::TDateTime now = orb::fw::Now();
    const std::string date = orb::fw::DateToStr(now), time = orb::fw::TimeToStr(now);
    const std::string dashes = Dashes(columns);
    std::vector<std::string> lines;
    auto add = [&](const std::string& line) { lines.push_back(line); };
    if (countryCode == "01") {
        for (const std::string* h : {&header1, &header2, &header3, &header4}) add(Centred(*h, columns));
        add(Centred(Msg2("INSCMUNICIPAL") + " " + registrationNumber, columns));
        add(dashes);
        add(orb::hostlib::PadR(Msg2("NRSERIE"), 12) + " " + serial);
        add(orb::hostlib::PadR(Msg2("DATA"), 12) + " " + date + " " + time);
        add(orb::hostlib::PadR(Msg2("NRCUPOM"), 12) + " " + ticketNumber);
        add(orb::hostlib::PadR(Msg2("NRDEPOSITO"), 12) + " " + depositNumber);
        add(dashes);
        add("Recarga " + rechargeText);
        add(Msg("NmCons") + consumerName);
        add(Msg("VrCupom") + Money(sum));
        add(Msg("VrSaldo") + Money(orb::fw::DecimalAdd(sum, previousBalance)));
        add(dashes);
        if (!footerText.empty()) add(Centred(footerText, columns));
        add(Centred(ContactLine(), columns));
    } else if (countryCode == "02") {
        add(Centred(header1, columns));
        add(Centred("RUC: " + registrationNumber, columns));
        add(Centred(header3, columns));
        add(Centred("PUNTO DE VENTA: " + header1, columns));
        add(dashes);
        add("NR.SERIE...: " + serial + " CAJA: " + kSpanishCashRegister);
        add("NR.TICKET..: " + ticketNumber);
        add("FECHA......: " + date + " HORA: " + time);
        add("NR.DEPOSITO: " + depositNumber);
        add(dashes);
        add("RECARGA " + rechargeText);
        add("CONSUMIDOR..: " + consumerName);
        add("VALOR ......: " + Money(sum));
        add("SALDO FINAL.: " + Money(orb::fw::DecimalAdd(sum, previousBalance)));
    } else {
        const std::string plain = PlainReceipt(depositNumber, consumerName, "", sum, previousBalance);
        for (std::size_t start = 0; start < plain.size();) {
            const std::size_t end = plain.find('\n', start);
            add(plain.substr(start, end - start));
            start = end + 1;
        }
    }
    std::string text;
    for (const std::string& line : lines) text += line + lineEnd;
    if (printerModel == "7") return SerialText(text + Repeat(lineEnd, 10), port);
    return PrintCopies(port, text.substr(0, text.size() - lineEnd.size()), lineEnd, Copies(copies), control, true);
}

}  // namespace Orb00100
