// The shared pieces of the slips.
#include "slips/SlipText.h"

#include "driver/Catalogs.h"
#include "driver/DataModule.h"
#include "external/hostlib/HostLib.h"
#include "framework/DateFormat.h"
#include "framework/DateTime.h"
#include "framework/Exceptions.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "nonfiscal/LinkedSlips.h"

namespace Orb00100::slips {

std::string ContactLine() { return kMakerContactLine; }

std::string Msg(std::string_view key) { return DataModule().msgPadrao.Msg(key); }

std::string Spaces(int n) { return orb::hostlib::Replicate(" ", n); }

std::string Dashes(int n) { return orb::hostlib::Replicate("-", n); }

std::string Fixed(double value, int decimals) { return orb::fw::FloatToStrFixed(value, decimals); }

std::string NowText() { return orb::fw::FormatDateTime("dd/mm/yyyy hh:nn:ss", orb::fw::Now()); }

bool SendBlock(const std::string& scheme, std::string_view block) {
    return Usa_CompNFis(scheme, orb::fw::Copy(block, 1, kBlockLimit));
}

void LoadPacket(orb::fw::ClientDataSet& table, const orb::fw::Variant& packet) {
    table.SetFiltered(false);
    table.SetFilter("");
    table.SetIndexFieldNames("");
    table.SetData(packet.AsDataPacket());
}

void LoadTable(orb::fw::ClientDataSet& table, const orb::fw::ClientDataSet* source) {
    if (!source) throw orb::fw::EDatabaseError("Missing data provider or data packet");
    table.SetFiltered(false);
    table.SetFilter("");
    table.SetIndexFieldNames("");
    table.CopyDataFrom(*source);
}

orb::fw::ClientDataSet& Required(orb::fw::ClientDataSet* table, std::string_view role) {
    if (!table) throw orb::fw::EDatabaseError("Missing data provider or data packet: " + std::string(role));
    return *table;
}

}  // namespace Orb00100::slips
