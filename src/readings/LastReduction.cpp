// The last reduction read back from the printer: its fixed record sliced into the host's result
// array and its taxed totals turned into the tax tables.
#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "driver/PrinterCall.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
#include "framework/DateFormat.h"
#include "framework/DateTime.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "queries/Queries.h"
#include "readings/Readings.h"
#include "readings/ReductionTables.h"

namespace Orb00100 {

namespace {

using orb::fw::ClientDataSet;
using orb::fw::FieldType;
using orb::fw::Variant;
using orb::hostlib::Ajusta;

constexpr int kRecordWidth = 1278;
constexpr int kRatesWidth = 79;
constexpr int kResultSize = 49;
constexpr int kPartialTotalsStart = 335, kPartialTotalsWidth = 224;
constexpr int kAmountWidth = 14;
// The amounts that, with the partial totals, make up the gross sales; the last two are the
// deductions (discounts and cancellations).
constexpr int kExemptAt = 560, kNonIncidenceAt = 575, kSubstitutionAt = 590, kDiscountsAt = 650, kCancellationsAt = 710;
constexpr int kMovementAt = 1273;

struct Slice {
    int start, width, index;
    bool amount;
};
// Fields in order; each is followed by one separator.
constexpr Slice kSlices[] = {
    {1, 2, 10, false},     {4, 4, 11, false},     {9, 4, 12, false},     {14, 6, 13, false},    {21, 6, 14, false},
    {28, 6, 15, false},    {35, 6, 16, false},    {42, 6, 17, false},    {49, 4, 18, false},    {54, 4, 19, false},
    {59, 120, 20, false},  {180, 120, 21, false}, {301, 4, 22, false},   {306, 4, 23, false},   {311, 4, 24, false},
    {316, 18, 25, true},   {335, 224, 26, false}, {560, 14, 27, true},   {575, 14, 28, true},   {590, 14, 29, true},
    {605, 14, 30, false},  {620, 14, 31, false},  {635, 14, 32, false},  {650, 14, 33, true},   {665, 14, 34, false},
    {680, 14, 35, true},   {695, 14, 36, false},  {710, 14, 37, true},   {725, 14, 38, false},  {740, 392, 39, false},
    {1133, 14, 40, false}, {1148, 14, 41, false}, {1163, 14, 42, false}, {1178, 14, 43, false}, {1193, 14, 44, false},
    {1208, 64, 45, false},
};

std::string At(const std::string& record, int start, int width) { return orb::fw::Copy(record, start, width); }

std::string Money(double value) { return orb::fw::FormatFloat("00.00", value); }

// "DDMMYY" as "DD/MM/YY".
std::string DateText(const std::string& ddmmyy) {
    return orb::fw::Copy(ddmmyy, 1, 2) + "/" + orb::fw::Copy(ddmmyy, 3, 2) + "/" + orb::fw::Copy(ddmmyy, 5, 2);
}

bool CaptureDetailRecord(const std::string& scheme, std::string& record) {
    AnswerArea area(kRecordWidth);
    const int code = Invoke(Bematech_FI_DadosUltimaReducaoMFD, area.data());
    record = area.Text();
    return Conclude(scheme, code, "Bematech_FI_DadosUltimaReducaoMFD" + record, {.show = true});
}

int CaptureCommaRecord(std::string& record) {
    AnswerArea area(kRecordWidth);
    const int code = Invoke(Bematech_FI_DadosUltimaReducaoCV0909, area.data());
    record = area.Text();
    ImpFisDebug("Bematech_FI_DadosUltimaReducaoCV0909 " + record);
    return code;
}

double DecimalSum(const std::string& record, bool inCents) {
    double sum = 0;
    auto add = [&](const std::string& field) {
        sum = orb::fw::DecimalAdd(
            sum, inCents ? static_cast<double>(orb::fw::StrToInt64(orb::fw::Trim(field))) : GetValue(field));
    };
    std::string block = At(record, kPartialTotalsStart, kPartialTotalsWidth);
    while (!block.empty()) {
        add(block.substr(0, kAmountWidth));
        block.erase(0, std::min<std::size_t>(block.size(), kAmountWidth));
    }
    for (int at : {kExemptAt, kNonIncidenceAt, kSubstitutionAt, kDiscountsAt, kCancellationsAt})
        add(At(record, at, kAmountWidth));
    return sum;
}

void RebuildTaxTable(ClientDataSet& t) {
    t.Close();
    t.ClearFieldDefs();
    t.AddFieldDef("CDALIQIMPFIS", FieldType::String, 10);
    t.AddFieldDef("VRALIQIMPFIS", FieldType::String, 14);
    t.AddFieldDef("VRIMPOSTO", FieldType::String, 14);
    t.AddFieldDef("VRVENDIDO", FieldType::String, 14);
    t.AddFieldDef("CDIMPOSTO", FieldType::String, 10);
    t.CreateDataSet();
}

// One row per rate slot with sales; the row's code is the slot's number, so codes may skip.
void FillTaxTable(ClientDataSet& t, std::string block, std::string rates) {
    RebuildTaxTable(t);
    for (int slot = 1; !block.empty(); ++slot) {
        const double sold = GetValue(block.substr(0, kAmountWidth));
        const double rate = rates.empty() ? 0 : GetValue(rates.substr(0, 4));
        if (sold > 0) {
            t.Append();
            t.FieldByName("CDIMPOSTO").SetAsString("00");
            t.FieldByName("CDALIQIMPFIS").SetAsString(Ajusta(std::to_string(slot), 2));
            t.FieldByName("VRVENDIDO").SetAsString(Money(sold));
            t.FieldByName("VRALIQIMPFIS").SetAsString(Money(rate));
            t.FieldByName("VRIMPOSTO")
                .SetAsString(Money(orb::hostlib::Trunc2(orb::fw::DecimalMultiply(sold, rate) / 100)));
            t.Post();
        }
        block.erase(0, std::min<std::size_t>(block.size(), kAmountWidth));
        rates.erase(0, std::min<std::size_t>(rates.size(), 5));
    }
}

void SliceRecord(const std::string& record, Variant& result) {
    for (const Slice& s : kSlices) {
        const std::string field = At(record, s.start, s.width);
        result[s.index] = s.amount ? Money(GetValue(field)) : field;
    }
    result[46] = DateText(At(record, kMovementAt, 6));
    const double gross = DecimalSum(record, false);
    result[47] = Money(gross);
    result[48] =
        Money(orb::fw::DecimalSubtract(orb::fw::DecimalSubtract(gross, GetValue(At(record, kCancellationsAt, 14))),
                                       GetValue(At(record, kDiscountsAt, 14))));
}

bool CommaPath(const std::string& scheme, Variant& result) {
    for (int i = 0; i < kResultSize; ++i) result[i] = "0";
    std::string record;
    const int code = CaptureCommaRecord(record);
    if (!CheckStatus(scheme, code, {.show = true})) return false;
    const auto fields = orb::fw::SplitString(record, ',');
    if (fields.size() < 2) return false;
    result[0] = fields[0];
    const std::string movement = fields[1];
    result[46] =
        orb::fw::Copy(movement, 1, 2) + "/" + orb::fw::Copy(movement, 3, 2) + "/" + orb::fw::Copy(movement, 7, 2);
    std::string rest = record.substr(std::min(record.size(), fields[0].size() + fields[1].size() + 2));
    const std::string date =
        orb::fw::Copy(rest, 1, 2) + "/" + orb::fw::Copy(rest, 3, 2) + "/" + orb::fw::Copy(rest, 7, 2);
    result[3] = orb::fw::StrToDate(date);
    rest.erase(0, std::min<std::size_t>(rest.size(), 16));
    const auto tail = orb::fw::SplitString(rest, ',');
    if (tail.size() < 5) return false;
    result[1] = tail[0];
    result[2] = orb::fw::StrToFloat(tail[4]);
    return true;
}

}  // namespace

bool DadosUltimaRedZ(std::span<const Variant> params, Variant& result, ClientDataSet*& taxes) {
    const std::string scheme = params.empty() ? std::string() : params[0].ToString();
    const int printerType = orb::fw::StrToInt(params.size() > 1 ? params[1].ToString() : std::string());
    TdtmBematech100& dm = EnsureDataModule();
    try {
        if (printerType == 34) return CommaPath(scheme, result);

        std::string record;
        if (CaptureDetailRecord(scheme, record)) {
            SliceRecord(record, result);
            AnswerArea rates(kRatesWidth);
            Invoke(Bematech_FI_RetornoAliquotas, rates.data());
            FillTaxTable(dm.cdsImposto, At(record, kPartialTotalsStart, kPartialTotalsWidth), rates.Text());
            if (taxes) taxes->CopyDataFrom(dm.cdsImposto);
        }
        const bool taken = CaptureDetailRecord(scheme, record);
        if (!taken) {
            result[0] = "";
            result[1] = "";
            result[4] = "";
            result[2] = 0;
            result[3] = orb::fw::Date().value - 1000;
            return false;
        }
        result[0] = Ajusta(At(record, 9, 4), 10);
        result[1] = Ajusta(At(record, 4, 4), 10);
        result[2] = DecimalSum(record, true);
        const std::string movement = At(record, kMovementAt, 6);
        result[3] = movement == "000000" ? orb::fw::TDateTime{orb::fw::Date().value - 1}
                                         : orb::fw::StrToDate(DateText(movement));
        result[4] = Ajusta(At(record, 54, 4), 4);
        return true;
    } catch (...) {
        return false;
    }
}

void RetornaImpostoIcms(const std::string& ecf, orb::fw::TDateTime reductionDate, ClientDataSet*& taxes) {
    TdtmBematech100& dm = EnsureDataModule();
    std::string record;
    CaptureCommaRecord(record);
    // The taxed section runs from its first "T" up to the not-taxed entries ("F"); a record
    // without one has no taxed totals.
    std::string text;
    if (const auto t = record.find('T'); t != std::string::npos) text = record.substr(t);
    text = text.substr(0, text.find('F'));
    ClientDataSet& table = dm.cdsImpostoRedZ;
    EnsureReductionTaxTable(table);
    for (int n = 1; !text.empty() && text.rfind("0000", 0) != 0; ++n) {
        const std::string rate = orb::fw::Copy(text, 3, 4);
        text.erase(0, std::min<std::size_t>(text.size(), 7));
        const auto comma = text.find(',');
        const std::string base = text.substr(0, comma);
        text.erase(0, comma == std::string::npos ? text.size() : comma + 1);
        PutReductionTax(table, ecf, reductionDate, Ajusta(std::to_string(n), 2), GetValue(rate), GetValue(base),
                        orb::fw::DecimalMultiply(GetValue(base), GetValue(rate)) / 100, "T");
    }
    if (taxes) taxes->CopyDataFrom(table);
}

}  // namespace Orb00100
