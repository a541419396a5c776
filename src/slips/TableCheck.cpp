// The table check.
#include "slips/TableCheck.h"

#include "driver/DataModule.h"
#include "external/hostlib/Dialogs.h"
#include "external/hostlib/HostLib.h"
#include "framework/NumberFormat.h"
#include "slips/ReceiptPrinter.h"
#include "slips/SlipText.h"

namespace Orb00100 {

namespace {

using namespace slips;
using orb::fw::FormatFloat;
using orb::hostlib::PadL;

constexpr char kEnd[] = "\r\n";
constexpr int kFeedLines = 10;

std::string Money(double value) { return PadL(FormatFloat("0.00", value), 22); }

std::string ProductLines(orb::fw::ClientDataSet& products, std::string& second) {
    const double quantity = products.FieldByName("QTPRODCOMVEN").AsFloat();
    const double price = products.FieldByName("VRPRECCOMVEN").AsFloat();
    second = PadL(FormatFloat("0.000", quantity), 10) + "   X " + PadL(FormatFloat("0.00", price), 6) + "     " +
             Money(orb::fw::DecimalMultiply(price, quantity)) + kEnd;
    return products.FieldByName("CDARVPROD").AsString() + "  " + products.FieldByName("NMPRODUTO").AsString() + kEnd;
}

void PrintCharges(ReceiptPrinter& printer, double discount, double minimumConsumption, double coverCharge,
                  double serviceCharge, double persons, double total) {
    const std::string people = orb::fw::FloatToStr(persons) + " " + Msg("pessoas");
    if (discount > 0) printer.Print(Msg("Desconto") + Spaces(17) + "-" + Money(discount) + kEnd);
    if (minimumConsumption > 0) printer.Print(Msg("Consuma_Min") + Spaces(8) + Money(minimumConsumption) + kEnd);
    if (serviceCharge > 0) printer.Print(Msg("Tx_Serv") + Spaces(10) + Money(serviceCharge) + kEnd);
    if (coverCharge > 0)
        printer.Print(Msg("Couvert") + "  X  " + people + "    " +
                      Money(orb::fw::DecimalMultiply(persons, coverCharge)) + kEnd);
    if (persons > 1)
        printer.Print(Msg("APROX") + " " + PadL(FormatFloat("###0.00", total / persons), 5) + " " + Msg("POR_PESS") +
                      " (" + people + ")" + kEnd);
}

}  // namespace

bool Parcial_BematechNFiscal(const std::string& port, const std::string& orderPad, const std::string& table,
                             const std::string& waiter, const std::string& /*unused*/, const orb::fw::Variant& products,
                             double discount, double minimumConsumption, double coverCharge, double serviceCharge,
                             double persons, double total) {
    TdtmBematech100& dm = EnsureDataModule();
    ReceiptPrinter printer;
    if (!printer.Open(port)) {
        orb::hostlib::Inform("", Msg("ERRO_IMP"), orb::hostlib::DialogKind::Error);
        return false;
    }
    dm.cdsTeste.Close();
    LoadPacket(dm.cdsTeste, products);

    printer.Print(Msg("CONF_MES") + kEnd + kEnd, true);
    printer.Print(Msg("COMANDA") + orderPad + kEnd);
    printer.Print(Msg("Mesa") + ": " + table + kEnd);
    printer.Print(Msg("Garcom") + ":   " + waiter + kEnd);
    printer.Print(Msg("Emissao") + ": " + NowText() + kEnd);
    printer.Print(Dashes() + kEnd);
    printer.Print(Dashes() + kEnd);
    for (dm.cdsTeste.First(); !dm.cdsTeste.Eof(); dm.cdsTeste.Next()) {
        std::string amounts;
        printer.Print(ProductLines(dm.cdsTeste, amounts));
        printer.Print(amounts);
    }
    PrintCharges(printer, discount, minimumConsumption, coverCharge, serviceCharge, persons, total);
    printer.Print(Msg("TOTAL_CUP") + Spaces(9) + PadL(FormatFloat("#########0.00", total), 9) + kEnd, true);
    printer.Print(Dashes() + kEnd);
    printer.Print(Msg("DOC_SEM_VAL_FIS") + kEnd);
    std::string feed;
    for (int i = 0; i < kFeedLines; ++i) feed += kEnd;
    printer.Print(feed);
    printer.Close();
    return true;
}

}  // namespace Orb00100
