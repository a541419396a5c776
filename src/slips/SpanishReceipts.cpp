// The Spanish-language receipts.
#include "slips/SpanishReceipts.h"

#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "external/hostlib/HostLib.h"
#include "framework/Cp1252.h"
#include "framework/DateFormat.h"
#include "framework/DateTime.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "nonfiscal/LinkedSlips.h"
#include "nonfiscal/ManagementReports.h"
#include "platform/Platform.h"
#include "slips/AccountText.h"

namespace Orb00100 {

namespace {

using namespace slips;
using orb::fw::FormatFloat;
using orb::hostlib::PadL;
using orb::hostlib::PadR;
using orb::hostlib::TamFixo;
using orb::hostlib::TamFixoR;

// The printer takes a little less than a slip's block in one piece of these receipts.
constexpr int kPieceLimit = 618;

std::string Separator() { return Ln(Dashes()); }
std::string Password(const std::string& password) { return Ln(CP("seña: ") + password); }
std::string Contact() { return Ln(ContactLine()); }
std::string DateAndTime(const char* date, const char* time) {
    const orb::fw::TDateTime now = orb::fw::Now();
    return Ln(date + orb::fw::DateToStr(now) + time + orb::fw::TimeToStr(now));
}

// Opens the report, sends the pieces and closes it. A refused piece is reported by the status
// analysis; the others and the closing are still sent, so the report never stays open.
void Receipt(const char* name, const std::string& counterId1, const std::string& counterId2, const std::string& scheme,
             const std::vector<std::string>& pieces) {
    EnsureDataModule();
    ImpFisDebug(std::string("Inicia - ") + name);
    Relatorio_Gerencial_Imp(scheme, counterId1, counterId2, "", "");
    for (const std::string& piece : pieces) SendWhole(scheme, piece, kPieceLimit);
    FechRelatGerenc(scheme, true, false);
    ImpFisDebug(std::string("Fim - ") + name);
}

const char kExempt1[] = "Su compra contiene productos exentos de\n";

}  // namespace

void ImprimeNaoFiscal(const std::string& counterId1, const std::string& counterId2, const std::string& scheme,
                      double saleTotal, const std::string& password, const std::string& saleNumber,
                      const std::string& operatorText, const std::string& note, orb::fw::ClientDataSet* payments) {
    orb::fw::ClientDataSet& rows = Required(payments, "payments");
    std::string head = "\n" + (saleNumber.empty() ? PadR("Caja: 0001", 15) : PadR("Venta: " + saleNumber, 30)) + "\n" +
                       Separator() + TamFixo("TOTAL", 25) + TamFixoR(FormatFloat("#,##0", saleTotal), 13) + "\n\n";
    // Only cash and change are listed; the rows are picked here rather than by a filter, which
    // would leave the host's table filtered.
    std::string methods;
    for (rows.First(); !rows.Eof(); rows.Next()) {
        const std::string kind = orb::fw::Trim(rows.FieldByName("IDTIPORECE").AsString());
        if (kind != "5" && kind != "7") continue;
        methods += TamFixo(rows.FieldByName("DSIMPFISCAL").AsString(), 25) +
                   TamFixoR(FormatFloat(",##0", rows.FieldByName("VRMOVIVEND").AsFloat()), 13) + "\n";
    }
    methods += "\n";
    Receipt("ImprimeNaoFiscal", counterId1, counterId2, scheme,
            {head, methods,
             DateAndTime("        Fecha:", "    Hora:") + Ln(operatorText) + Password(password) + Separator(),
             Ln(note) + Contact()});
}

void IsentoCompos(const std::string& counterId1, const std::string& counterId2, const std::string& scheme,
                  const std::string& taxedTotal, const std::string& exemptTotal, const std::string& /*unused1*/,
                  const std::string& operatorText, const std::string& /*unused2*/, const std::string& password,
                  const std::string& note, double /*unused3*/, double purchaseTotal, double change) {
    Receipt(
        "Isent_Compos", counterId1, counterId2, scheme,
        {"\n" + Ln(PadR("Total Afecto:", 15) + PadL(taxedTotal, 10)) + Ln(PadR("Exento:", 15) + PadL(exemptTotal, 10)) +
             Ln(PadR("Total Compra:", 15) + PadL(FormatFloat("#,##0", purchaseTotal), 10)),
         Ln(PadR("Vuelto:", 15) + PadL(FormatFloat("#,##0", change), 10)) + "\n" + kExempt1 +
             "I.V.A por lo cual su boleta tiene un\ndesglose adicional\n",
         Ln(operatorText) + Password(password) + Separator() + Ln(note) + Contact()});
}

void IsentoSimpl(const std::string& counterId1, const std::string& counterId2, const std::string& scheme,
                 const std::string& exemptTotal, const std::string& /*unused1*/, const std::string& cashierText,
                 const std::string& /*unused2*/, const std::string& password, const std::string& note, double change) {
    const std::string changeLine = change != 0 ? Ln("Vuelto:        " + PadR(FormatFloat("#,##0", change), 10)) : "";
    Receipt(
        "Isent_Simpl", counterId1, counterId2, scheme,
        {"\n" + Ln("Exento:        " + exemptTotal) + Ln("Total Compra:  " + exemptTotal),
         changeLine + DateAndTime("        Fecha:", "    Hora:") + kExempt1 + "I.V.A por lo cual su boleta tiene un \n",
         "desglose adicional\n" + Ln(cashierText) + Password(password) + Separator() + Ln(note) + "\n" + Contact()});
}

void ImpDebito_Consumidor(const std::string& counterId1, const std::string& counterId2, const std::string& scheme,
                          const std::string& password, const std::string& consumerName, const std::string& cashierText,
                          const std::string& note, double balanceBefore, double balanceAddition,
                          orb::fw::ClientDataSet* products) {
    orb::fw::ClientDataSet& rows = Required(products, "products");
    EnsureDataModule();
    std::vector<std::string> pieces;
    double total = 0;
    for (rows.First(); !rows.Eof(); rows.Next()) {
        const double quantity = rows.FieldByName("QTPRODCOMVEN").AsFloat();
        const double net = orb::fw::DecimalSubtract(rows.FieldByName("VRPRECCOMVEN").AsFloat(),
                                                    rows.FieldByName("VRDESCCOMVEN").AsFloat());
        const double amount = orb::hostlib::Trunc2(orb::fw::DecimalMultiply(net, quantity));
        total = orb::fw::DecimalAdd(total, amount);
        pieces.push_back((pieces.empty() ? "\n" : "") + TamFixo(orb::fw::FloatToStr(quantity), 5) +
                         TamFixo(rows.FieldByName("NMPRODUTO").AsString(), 29) + "  " +
                         TamFixoR(orb::fw::FloatToStr(amount), 10) + "\n");
    }
    const double balance = orb::fw::DecimalAdd(orb::fw::DecimalSubtract(balanceBefore, total), balanceAddition);
    pieces.push_back(TamFixoR("Total", 20) + "  " + TamFixoR(orb::fw::FloatToStr(total), 24) + "\n\n" +
                     DateAndTime("Fecha: ", " Hora: ") + Separator() + Ln(Msg("Consumidor") + "  : " + consumerName) +
                     Ln(Msg("Sald_Cons") + " " + orb::fw::FloatToStr(balance)) + Ln(cashierText) + "\n" +
                     (password.empty() ? "" : Password(password)));
    pieces.push_back(Separator() + Ln(note) + "\n");
    pieces.push_back(Contact());
    Receipt("ImpDebito_Consumidor", counterId1, counterId2, scheme, pieces);
}

std::string Formata_Bematech_MP100(const std::string& text, const std::string& port) {
    SerialText(text, port);
    return "";
}

namespace slips {

bool SerialText(const std::string& text, const std::string& port) {
    namespace platform = orb::platform;
    const platform::PortHandle handle = platform::OpenPort(port + ":");
    const char* failed = nullptr;
    if (handle == -1)
        failed = "abertura";
    else if (!platform::ConfigurePort(handle, 19200, 8, 'N', 1))
        failed = "configuracao";
    else if (!platform::SetPortTimeouts(handle, 1000, 1000))
        failed = "tempos";
    else if (!platform::WritePort(handle, text))
        failed = "escrita";
    if (handle != -1) platform::ClosePort(handle);
    if (failed) ImpFisDebug("Formata_Bematech_MP100: falha na " + std::string(failed) + " da porta " + port);
    return failed == nullptr;
}

}  // namespace slips

}  // namespace Orb00100
