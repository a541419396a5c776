// The printer's programmed tax rates as the host's code table: each rate under its slot code,
// marked as sales tax or service tax, and the three situations that carry no rate.
#include "config/Config.h"

#include <algorithm>
#include <vector>

#include "config/ConfigCalls.h"
#include "driver/PrinterCall.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
#include "framework/Exceptions.h"
#include "framework/FormatSettings.h"
#include "framework/Text.h"

namespace Orb00100 {

namespace {

using orb::fw::ClientDataSet;
using orb::fw::FieldType;

constexpr int kRateListWidth = 80;
constexpr int kProbeWidth = 79;
constexpr std::size_t kEntryStep = 5;  // four digits and ","

bool ReadRates(const std::string& scheme, int width, std::string& rates) {
    return Query(scheme, {}, ORB_ENTRY(Bematech_FI_RetornoAliquotas), width, rates);
}
bool ReadServiceRates(const std::string& scheme, int width, std::string& rates) {
    return Query(scheme, {}, ORB_ENTRY(Bematech_FI_VerificaAliquotasIss), width, rates);
}

// The service-tax list names its rates by their four digits, as the rate list does; a rate is
// a service-tax rate when its digits stand there as an entry of their own.
bool IsServiceRate(const std::vector<std::string>& serviceRates, const std::string& digits) {
    return std::find(serviceRates.begin(), serviceRates.end(), digits) != serviceRates.end();
}

void RebuildRateTable(ClientDataSet& rates) {
    rates.Close();
    rates.ClearFieldDefs();
    rates.AddFieldDef("CDALIQIMPFIS", FieldType::String, 10);
    rates.AddFieldDef("VRALIQIMPFIS", FieldType::Float);
    rates.AddFieldDef("IDALIQIMPFIS", FieldType::String, 1);
    rates.AddIndex("IdxIdAliqVrAliq", "IDALIQIMPFIS;VRALIQIMPFIS");
    rates.SetIndexName("IdxIdAliqVrAliq");
    rates.CreateDataSet();
}

void AppendRate(ClientDataSet& rates, const std::string& code, double value, const std::string& kind) {
    rates.Append();
    rates.FieldByName("CDALIQIMPFIS").SetAsString(code);
    rates.FieldByName("VRALIQIMPFIS").SetAsFloat(value);
    rates.FieldByName("IDALIQIMPFIS").SetAsString(kind);
    rates.Post();
}

}  // namespace

void CarregaAliquota(const std::string& scheme, orb::fw::ClientDataSet*& table) {
    if (table == nullptr) throw orb::fw::Exception("CarregaAliquota: no table was passed to receive the tax rates");
    TdtmBematech100& dm = DataModule();

    std::string rates, service;
    ReadRates(scheme, kRateListWidth, rates);
    ReadServiceRates(scheme, kRateListWidth, service);

    std::vector<std::string> serviceRates;
    for (const std::string& entry : orb::fw::SplitString(orb::fw::Trim(service), ','))
        serviceRates.push_back(orb::fw::Trim(entry));

    ClientDataSet& cds = dm.cdsAliqImpFis;
    RebuildRateTable(cds);
    std::string list = orb::fw::Trim(rates);
    // Codes are positional: an entry that is zero or unreadable still uses up its slot number.
    for (int slot = 1; !orb::hostlib::EmptyString(list); ++slot) {
        const std::string digits = orb::fw::Copy(list, 1, 4);
        const std::string text =
            orb::fw::Copy(digits, 1, 2) + orb::fw::Settings().DecimalSeparator + orb::fw::Copy(digits, 3, 2);
        double value = 0;
        if (orb::fw::TryStrToFloat(text, value) && value != 0)
            AppendRate(cds, config::SlotText(slot), value,
                       IsServiceRate(serviceRates, orb::fw::Trim(digits)) ? "S" : "T");
        list.erase(0, std::min(list.size(), kEntryStep));
    }
    AppendRate(cds, "NN", 0, "N");
    AppendRate(cds, "II", 0, "I");
    AppendRate(cds, "FF", 0, "F");

    table->CopyDataFrom(cds);
}

bool Retorno_Aliquotas_Imp(const std::string& scheme) {
    std::string rates, service;
    ReadRates(scheme, kProbeWidth, rates);
    return ReadServiceRates(scheme, kProbeWidth, service);
}

}  // namespace Orb00100
