// The sale-register report of a table or order pad.
#include "driver/DataModule.h"
#include "external/hostlib/HostLib.h"
#include "framework/Cp1252.h"
#include "framework/NumberFormat.h"
#include "nonfiscal/ManagementReports.h"
#include "slips/SlipText.h"
#include "slips/TableOpening.h"

namespace Orb00100 {

namespace {

using namespace slips;

// The host numbers its tables with four characters; any other text names an order pad.
constexpr std::size_t kTableNumberLength = 4;

std::string Header(const std::string& tableOrPad) {
    const std::string heading = tableOrPad.size() == kTableNumberLength
                                    ? CP("       Relatório de abertura da mesa ") + tableOrPad
                                    : CP("   Relatório de abertura da comanda ") + tableOrPad;
    return Spaces(kLineWidth) + "\n" + heading + "\n" + Spaces(kLineWidth) + "\n" + Dashes() + "\n" + Spaces(15) +
           Msg("RegVen") + "\n" + Dashes() + "\n" + "\n" + ProductColumns() + "\n";
}

std::string ItemBlock(orb::fw::ClientDataSet& items) {
    const double quantity = items.FieldByName("STQTDE").AsFloat();
    const double price = items.FieldByName("STVALOR").AsFloat();
    // Rounded here, where the table-opening slip truncates: the register shows what was sold.
    const double lineTotal = orb::fw::DecimalMultiply(price, quantity);
    return items.FieldByName("CDPROD").AsString() + " " + items.FieldByName("NMPROD").AsString() + "\n" +
           Fixed(quantity, 2) + "   X " + Fixed(price, 2) + "     " + orb::hostlib::TamFixoR(Fixed(lineTotal, 2), 29) +
           "\n";
}

}  // namespace

bool RegistroVenda(const std::string& counterId1, const std::string& counterId2, const std::string& scheme,
                   orb::fw::ClientDataSet* items, const std::string& tableOrPad) {
    TdtmBematech100& dm = EnsureDataModule();
    LoadTable(dm.cdsItemsReg, items);
    const std::string header = Header(tableOrPad);

    Relatorio_Gerencial_Imp(scheme, counterId1, counterId2, "", "");
    SendBlock(scheme, header);
    for (dm.cdsItemsReg.First(); !dm.cdsItemsReg.Eof(); dm.cdsItemsReg.Next())
        SendBlock(scheme, ItemBlock(dm.cdsItemsReg));
    SendBlock(scheme, Spaces(kLineWidth) + "\n" + Dashes() + "\n" + ContactLine() + " ");
    FechRelatGerenc(scheme, true, false);
    return true;
}

}  // namespace Orb00100
