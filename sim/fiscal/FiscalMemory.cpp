#include "fiscal/FiscalMemory.h"

#include "common/SimText.h"
#include "fiscal/Documents.h"
#include "platform/Platform.h"

namespace orb::sim::fiscal {

namespace {

std::string U(const char* utf8) { return Utf8ToCp1252(utf8); }
std::string Line(const char* labelUtf8, const std::string& value) { return Columns(U(labelUtf8), value); }
std::string Amount(std::int64_t cents, std::size_t width) { return PadLeft(Money(cents), width); }

// The rate as printed: "18,00", right-aligned in five columns.
std::string RateText(const Rate& r) { return PadLeft(Money(r.value), 5); }

std::string TaxRow(char kind, const Rate& r) {
    return std::string(1, kind) + RateText(r) + std::string(7, ' ') + Amount(r.day, 16) + " " + Amount(TaxOf(r), 18);
}

std::string PaymentRow(std::size_t slot, const PaymentMethod& m) {
    return Digits(static_cast<std::int64_t>(slot), 2) + "   " + PadRight(Utf8ToCp1252(m.name), 16) +
           std::string(7, ' ') + Amount(m.day, 20);
}

std::string TotalizerRow(std::size_t slot, const std::string& nameCp, int count, std::int64_t amount) {
    return Digits(static_cast<std::int64_t>(slot), 2) + " " + PadRight(nameCp, 19) + "  " + Digits(count, 4) +
           Amount(amount, 20);
}

struct Headings {
    std::string counters, totals, payments, icms, iss, nonFiscal;
};

const Headings kDashed{"-------CONTADORES-------", "-----TOTALIZADORES------",
                       "---MEIOS DE PAGAMENTO---", "----------ICMS----------",
                       "---------ISSQN----------", U("-----------TOTALIZADORES NÃO FISCAIS------------")};
const Headings kCentred{Center("CONTADORES", kColumns),
                        Center("TOTALIZADORES", kColumns),
                        Center("MEIOS DE PAGAMENTO", kColumns),
                        Center("ICMS", kColumns),
                        Center("ISSQN", kColumns),
                        Center(U("TOTALIZADORES NÃO FISCAIS"), kColumns)};

void Title(const State& s, const Reduction& day, std::vector<std::string>& out, const char* titleUtf8) {
    out.push_back(Center(Utf8ToCp1252(s.id.ownerName), kColumns));
    out.push_back(Center(U(titleUtf8), kColumns));
    out.push_back(Columns("FAB:" + Utf8ToCp1252(s.id.serial), day.date.empty() ? "" : day.date + " " + day.time));
    out.push_back("");
}

// The older layout lists the counters from the reductions down, the newer from the operations up.
void Counters(const Reduction& day, bool newer, std::vector<std::string>& out) {
    const std::string crz = Line("Contador de Reduções Z:", Digits(day.crz, 4));
    const std::string cro = Line("Contador de Reinício de Operação:", Digits(day.cro, 3));
    const std::string gnf = Line("Geral de Operação Não-Fiscal:", Digits(day.gnf, 6));
    out.insert(out.end(), {newer ? gnf : crz, cro, newer ? crz : gnf});
    out.push_back(Line("Contador de Cupom Fiscal:", Digits(day.ccf, 6)));
}

// The older layout has one line more, the service tax's surcharges.
void Totals(const Reduction& day, bool newer, std::vector<std::string>& out) {
    out.push_back(Line("Totalizador Geral:", Amount(day.grandTotal, 20)));
    out.push_back(Line("Venda Bruta Diária:", Amount(day.gross, 20)));
    out.push_back(Line("Cancelamentos:", Amount(day.cancellations, 20)));
    out.push_back(Line("Descontos:", Amount(day.discounts, 20)));
    out.push_back(Line("Total ISSQN:", Amount(ServiceSalesOf(day), 20)));
    out.push_back(Line("Cancelamentos ISSQN:", Amount(0, 20)));
    out.push_back(Line("Descontos ISSQN:", Amount(0, 20)));
    if (!newer) out.push_back(Line("Acréscimos ISSQN:", Amount(0, 20)));
    out.push_back(Line("Venda Líquida:", Amount(NetOf(day), 20)));
    out.push_back(Line("Acréscimos:", Amount(day.surcharges, 20)));
}

void Payments(const Reduction& day, const std::string& heading, std::vector<std::string>& out) {
    out.push_back(heading);
    out.push_back(Line("Nº   FORMA", "VALOR"));
    for (std::size_t i = 0; i < day.methods.size(); ++i) out.push_back(PaymentRow(i + 1, day.methods[i]));
}

// The heading, the column titles and a row per programmed rate of the kind.
void TaxSection(const Reduction& day, const std::string& heading, bool service, std::vector<std::string>& out) {
    out.push_back(heading);
    out.push_back(Line(" ALÍQ.       BASE DE CÁLCULO", "IMPOSTO"));
    for (const auto& r : day.taxes)
        if (r.value > 0 && r.service == service) out.push_back(TaxRow(service ? 'S' : 'T', r));
}

void NotTaxed(const Reduction& day, const char* f, const char* i, const char* n, std::vector<std::string>& out) {
    out.push_back(Line(f, Amount(day.substitution, 17)));
    out.push_back(Line(i, Amount(day.exempt, 17)));
    out.push_back(Line(n, Amount(day.nonIncidence, 17)));
}

void UserTotalizers(const Reduction& day, std::vector<std::string>& out) {
    for (std::size_t i = 0; i < day.totalizers.size(); ++i)
        out.push_back(
            TotalizerRow(i + 1, Utf8ToCp1252(day.totalizers[i].name), day.totalizers[i].count, day.totalizers[i].day));
}

// Models 14 and 18.
std::vector<std::string> OlderLayout(const State& s, const Reduction& day) {
    std::vector<std::string> out;
    Title(s, day, out, "LEITURA X");
    out.push_back(kDashed.counters);
    Counters(day, false, out);
    out.push_back("-TOTALIZADORES FISCAIS--");
    Totals(day, false, out);
    out.push_back(U("-----Não Tributados-----"));
    out.push_back(Line("", "VALOR ACUMULADO"));
    NotTaxed(day, "Substituição Tributária:", "Isento:", "Não Incidência:", out);
    Payments(day, kDashed.payments, out);
    out.push_back(Dashes());
    TaxSection(day, kDashed.icms, false, out);
    out.push_back("");
    TaxSection(day, kDashed.iss, true, out);
    out.push_back("");
    out.push_back(kDashed.nonFiscal);
    out.push_back(Line("Nº TOTALIZADOR           CONT", "VALOR"));
    out.push_back(Line("Sangria:", Amount(day.withdrawal, 20)));
    out.push_back(Line("Suprimento:", Amount(day.supply, 20)));
    out.push_back(Dashes());
    UserTotalizers(day, out);
    out.push_back("");
    out.push_back(Dashes());
    return out;
}

// Model 19 (centred headings) and the later models (dashed). The not-taxed totals stand right
// above the service tax's section; withdrawal and supply are totalizers 29 and 30.
std::vector<std::string> NewerLayout(const State& s, const Reduction& day, const Headings& h) {
    std::vector<std::string> out;
    Title(s, day, out, "LEITURA X");
    out.push_back(h.counters);
    Counters(day, true, out);
    out.push_back(h.totals);
    Totals(day, true, out);
    out.push_back("");
    Payments(day, h.payments, out);
    out.push_back("");
    TaxSection(day, h.icms, false, out);
    NotTaxed(day, "Substituição Tributária F1", "Isento I1", "Não Incidência N1", out);
    TaxSection(day, h.iss, true, out);
    out.push_back("");
    out.push_back(h.nonFiscal);
    out.push_back(Line("Nº TOTALIZADOR           CONT", "VALOR"));
    UserTotalizers(day, out);
    out.push_back(TotalizerRow(29, "Sangria", 0, day.withdrawal));
    out.push_back(TotalizerRow(30, "Suprimento", 0, day.supply));
    out.push_back("");
    out.push_back(Dashes());
    return out;
}

std::string YmdDisplay(const std::string& ymd) {
    if (ymd.size() != 8) return "00/00/0000";
    return ymd.substr(6, 2) + "/" + ymd.substr(4, 2) + "/" + ymd.substr(0, 4);
}

void RecordLines(const Reduction& r, std::vector<std::string>& out) {
    out.push_back(Columns("CRZ:" + Digits(r.crz, 4) + " CRO:" + Digits(r.cro, 3), "COO:" + Digits(r.coo, 6)));
    out.push_back(Columns("MOVIMENTO: " + YmdDisplay(r.movement), "Z: " + r.date + " " + r.time));
}

void FigureLines(const Reduction& r, std::vector<std::string>& out) {
    out.push_back(Line("Totalizador Geral:", Money(r.grandTotal)));
    out.push_back(Line("Venda Bruta:", Money(r.gross)));
    out.push_back(Line("Cancelamentos:", Money(r.cancellations)));
    out.push_back(Line("Descontos:", Money(r.discounts)));
    out.push_back(Line("Acréscimos:", Money(r.surcharges)));
    out.push_back(Line("Venda Líquida:", Money(NetOf(r))));
    for (const auto& t : r.taxes)
        if (t.value > 0)
            out.push_back(
                Columns(std::string(t.service ? "S" : "T") + RateText(t) + "% " + Money(t.day), Money(TaxOf(t))));
    out.push_back(Line("Isento:", Money(r.exempt)));
    out.push_back(Line("Não Incidência:", Money(r.nonIncidence)));
    out.push_back(Line("Substituição Tributária:", Money(r.substitution)));
    out.push_back(Line("Sangria:", Money(r.withdrawal)));
    out.push_back(Line("Suprimento:", Money(r.supply)));
}

// The period's sums: counters of the last record, amounts added.
Reduction Sum(const std::vector<Reduction>& records) {
    Reduction total;
    for (const auto& r : records) {
        total.grandTotal = r.grandTotal;
        total.gross += r.gross;
        total.cancellations += r.cancellations;
        total.discounts += r.discounts;
        total.surcharges += r.surcharges;
        total.exempt += r.exempt;
        total.nonIncidence += r.nonIncidence;
        total.substitution += r.substitution;
        total.withdrawal += r.withdrawal;
        total.supply += r.supply;
        if (total.taxes.size() < r.taxes.size()) total.taxes.resize(r.taxes.size());
        for (std::size_t i = 0; i < r.taxes.size(); ++i) {
            total.taxes[i].value = r.taxes[i].value;
            total.taxes[i].service = r.taxes[i].service;
            total.taxes[i].day += r.taxes[i].day;
        }
    }
    return total;
}

// "DDMMYY", "DDMMYYYY", "DD/MM/YY" or "DD/MM/YYYY" as yyyymmdd; empty when it is none of them.
std::string YmdOf(std::string text) {
    text = Trim(text);
    std::string digits;
    for (char ch : text)
        if (ch != '/') digits += ch;
    if (!AllDigits(digits) || (digits.size() != 6 && digits.size() != 8)) return {};
    if (text.find('/') != std::string::npos && text.size() != digits.size() + 2) return {};
    std::string year = digits.size() == 6 ? "20" + digits.substr(4, 2) : digits.substr(4, 4);
    std::string ymd = year + digits.substr(2, 2) + digits.substr(0, 2);
    int month = std::stoi(ymd.substr(4, 2)), day = std::stoi(ymd.substr(6, 2));
    if (month < 1 || month > 12 || day < 1 || day > 31) return {};
    return ymd;
}

std::string FieldsJoined(const std::vector<std::string>& fields) {
    std::string text;
    for (const auto& f : fields) text += (text.empty() ? "" : ",") + f;
    return text;
}

std::string Amounts(const std::vector<std::int64_t>& values, std::size_t count, std::size_t width,
                    bool separated = false) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        if (separated && i) text += ",";
        text += Digits(i < values.size() ? values[i] : 0, width);
    }
    return text;
}

std::vector<std::int64_t> PartialTotals(const Reduction& r) {
    std::vector<std::int64_t> v;
    for (const auto& t : r.taxes) v.push_back(t.day);
    return v;
}

std::vector<std::int64_t> TotalizerAmounts(const Reduction& r) {
    std::vector<std::int64_t> v;
    for (const auto& t : r.totalizers) v.push_back(t.day);
    return v;
}

std::vector<std::int64_t> TotalizerCounts(const Reduction& r) {
    std::vector<std::int64_t> v;
    for (const auto& t : r.totalizers) v.push_back(t.count);
    return v;
}

void PutInt(std::string& out, std::int64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF);
}

}  // namespace

std::int64_t TaxOf(const Rate& rate) { return rate.day * rate.value / 10000; }

std::int64_t NetOf(const Reduction& r) { return r.gross - r.cancellations - r.discounts; }

std::int64_t ServiceSalesOf(const Reduction& r) {
    std::int64_t sum = 0;
    for (const auto& t : r.taxes)
        if (t.service) sum += t.day;
    return sum;
}

Reduction DaySnapshot(const State& s, const Moment& now) {
    Reduction r;
    r.crz = s.counters.crz;
    r.coo = s.counters.coo;
    r.cro = s.counters.cro;
    r.ccf = s.counters.ccf;
    r.gnf = s.counters.gnf;
    r.cer = s.counters.cer;
    r.cdc = s.counters.cdc;
    r.firstCoo = s.day.firstCoo;
    r.cancelledCoupons = s.day.cancelledCoupons;
    r.movement = s.day.movement.empty() ? now.Ymd() : s.day.movement;
    r.date = now.Ddmmyy();
    r.time = now.Hhmmss();
    r.grandTotal = s.counters.grandTotal;
    r.gross = s.day.gross;
    r.cancellations = s.day.cancellations;
    r.discounts = s.day.discounts;
    r.surcharges = s.day.surcharges;
    r.exempt = s.day.exempt;
    r.nonIncidence = s.day.nonIncidence;
    r.substitution = s.day.substitution;
    r.supply = s.day.supply;
    r.withdrawal = s.day.withdrawal;
    r.taxes = s.rates;
    for (const auto& rate : s.rates) r.rates.push_back(rate.day);
    r.totalizers = s.totalizers;
    r.methods = s.payments;
    return r;
}

std::vector<std::string> XReadingLines(const State& s, const Reduction& day) {
    if (s.id.model == 14 || s.id.model == 18) return OlderLayout(s, day);
    return NewerLayout(s, day, s.id.model == 19 ? kCentred : kDashed);
}

std::vector<std::string> MemoryReadingLines(const State& s, const std::vector<Reduction>& records, bool complete,
                                            const std::string& rangeLine) {
    std::vector<std::string> out;
    out.push_back(Center(U("LEITURA DA MEMÓRIA FISCAL"), kColumns));
    out.push_back(Center(complete ? "COMPLETA" : "SIMPLIFICADA", kColumns));
    out.push_back(Columns("CNPJ:" + Utf8ToCp1252(s.id.cnpj), "FAB:" + Utf8ToCp1252(s.id.serial)));
    out.push_back(rangeLine);
    out.push_back(Dashes());
    if (complete) {
        for (const auto& r : records) {
            RecordLines(r, out);
            FigureLines(r, out);
            out.push_back(Dashes());
        }
    }
    out.push_back(Center(U("TOTAL DO PERÍODO"), kColumns));
    out.push_back(Line("Reduções no período:", Digits(static_cast<std::int64_t>(records.size()), 4)));
    FigureLines(Sum(records), out);
    out.push_back(Dashes());
    return out;
}

bool SelectByDate(const State& s, const std::string& start, const std::string& end, std::vector<Reduction>& out,
                  std::string& rangeLine) {
    const std::string from = YmdOf(start), to = YmdOf(end);
    if (from.empty() || to.empty() || from > to) return false;
    for (const auto& r : s.fiscalMemory)
        if (r.movement >= from && r.movement <= to) out.push_back(r);
    rangeLine = U("PERÍODO: ") + YmdDisplay(from) + " a " + YmdDisplay(to);
    return true;
}

bool SelectByNumber(const State& s, const std::string& start, const std::string& end, std::vector<Reduction>& out,
                    std::string& rangeLine) {
    const std::string a = Trim(start), b = Trim(end);
    if (!AllDigits(a) || !AllDigits(b) || a.empty() || b.empty() || a.size() > 4 || b.size() > 4) return false;
    const int from = std::stoi(a), to = std::stoi(b);
    if (from > to) return false;
    for (const auto& r : s.fiscalMemory)
        if (r.crz >= from && r.crz <= to) out.push_back(r);
    rangeLine = U("REDUÇÕES: ") + Digits(from, 4) + " a " + Digits(to, 4);
    return true;
}

Reduction LastReduction(const State& s) {
    if (!s.fiscalMemory.empty()) return s.fiscalMemory.back();
    Reduction none;
    none.cro = s.counters.cro;
    return none;
}

std::string DetailRecord(const Reduction& r) {
    const std::string movement = r.movement.empty() ? "000000" : DdmmyyFromYmd(r.movement);
    std::vector<std::int64_t> rateValues;
    for (const auto& t : r.taxes) rateValues.push_back(t.value);
    std::vector<std::string> f = {"00",
                                  Digits(r.cro, 4),
                                  Digits(r.crz, 4),
                                  Digits(r.coo, 6),
                                  Digits(r.gnf, 6),
                                  Digits(r.ccf, 6),
                                  Digits(r.cer, 6),
                                  Digits(r.cdc, 6),
                                  Digits(r.cancelledCoupons, 4),
                                  Digits(0, 4),
                                  Amounts(TotalizerCounts(r), 30, 4),
                                  Amounts({}, 30, 4),
                                  Digits(0, 4),
                                  Digits(0, 4),
                                  Digits(0, 4),
                                  Digits(r.grandTotal, 18),
                                  Amounts(PartialTotals(r), kRateCapacity, 14),
                                  Digits(r.exempt, 14),
                                  Digits(r.nonIncidence, 14),
                                  Digits(r.substitution, 14),
                                  Digits(0, 14),
                                  Digits(0, 14),
                                  Digits(0, 14),
                                  Digits(r.discounts, 14),
                                  Digits(0, 14),
                                  Digits(r.surcharges, 14),
                                  Digits(0, 14),
                                  Digits(r.cancellations, 14),
                                  Digits(0, 14),
                                  Amounts(TotalizerAmounts(r), 28, 14),
                                  Digits(0, 14),
                                  Digits(0, 14),
                                  Digits(0, 14),
                                  Digits(r.withdrawal, 14),
                                  Digits(r.supply, 14),
                                  Amounts(rateValues, kRateCapacity, 4),
                                  movement};
    return FieldsJoined(f);
}

std::string CommaRecord(const Reduction& r) {
    const std::string movement = r.movement.size() == 8
                                     ? r.movement.substr(6, 2) + r.movement.substr(4, 2) + r.movement.substr(0, 4)
                                     : "00000000";
    const std::string date = r.date.size() == 6 ? r.date.substr(0, 4) + "20" + r.date.substr(4, 2) : "00000000";
    std::vector<std::string> f = {Digits(r.crz, 4),
                                  movement,
                                  date,
                                  r.time.empty() ? "000000" : r.time,
                                  Digits(r.cro, 4),
                                  Digits(r.coo, 6),
                                  Digits(r.ccf, 6),
                                  Digits(r.gnf, 6),
                                  Digits(r.gross, 14),
                                  Digits(r.grandTotal, 18),
                                  Digits(r.cancellations, 14),
                                  Digits(r.discounts, 14),
                                  Digits(r.surcharges, 14),
                                  Amounts(TotalizerAmounts(r), 30, 14, true),
                                  Amounts(TotalizerCounts(r), 30, 4, true),
                                  Amounts({}, 30, 4, true),
                                  Amounts(PartialTotals(r), kRateCapacity, 14, true)};
    std::string text = FieldsJoined(f) + ",";
    // Each taxed entry: its kind, the slot as a lower-case letter, the rate, the base.
    for (std::size_t i = 0; i < r.taxes.size(); ++i)
        if (r.taxes[i].value > 0 && !r.taxes[i].service)
            text += "T" + std::string(1, static_cast<char>('a' + i)) + Digits(r.taxes[i].value, 4) + "," +
                    std::to_string(r.taxes[i].day) + ",";
    text += "F1" + Digits(r.substitution, 14) + ",I1" + Digits(r.exempt, 14) + ",N1" + Digits(r.nonIncidence, 14) + ",";
    for (std::size_t i = 0; i < r.taxes.size(); ++i)
        if (r.taxes[i].value > 0 && r.taxes[i].service)
            text += "S" + std::string(1, static_cast<char>('a' + i)) + Digits(r.taxes[i].value, 4) + "," +
                    std::to_string(r.taxes[i].day) + ",";
    if (text.size() < kLastReductionWidth) text += std::string(kLastReductionWidth - text.size(), '0');
    return text.substr(0, kLastReductionWidth);
}

std::string ShortRecord(const Reduction& r) {
    std::vector<std::string> f = {Digits(r.cro, 4),
                                  Digits(r.crz, 4),
                                  Digits(r.coo, 6),
                                  Digits(r.ccf, 6),
                                  Digits(r.gnf, 6),
                                  Digits(r.grandTotal, 18),
                                  Amounts(PartialTotals(r), kRateCapacity, 14),
                                  Digits(r.exempt, 14),
                                  Digits(r.nonIncidence, 14),
                                  Digits(r.substitution, 14),
                                  Digits(r.discounts, 14),
                                  Digits(r.cancellations, 14),
                                  Digits(r.surcharges, 14),
                                  Amounts(TotalizerAmounts(r), 9, 14),
                                  Digits(r.withdrawal, 14),
                                  Digits(r.supply, 14),
                                  r.movement.empty() ? "000000" : DdmmyyFromYmd(r.movement)};
    return PadRight(FieldsJoined(f), 631);
}

std::string MemoryImage(const State& s) {
    // "MF", a version byte, the serial (20), the record count; then per record: CRZ, CRO (2
    // bytes), COO (4), movement yyyymmdd, date DDMMYY, time HHMMSS (texts), grand total, gross,
    // cancellations, discounts, surcharges (8 bytes), the 16 partial totals (8 bytes each).
    std::string out = "MF";
    out += static_cast<char>(1);
    out += PadRight(Utf8ToCp1252(s.id.serial), 20);
    PutInt(out, static_cast<std::int64_t>(s.fiscalMemory.size()), 4);
    for (const auto& r : s.fiscalMemory) {
        PutInt(out, r.crz, 2);
        PutInt(out, r.cro, 2);
        PutInt(out, r.coo, 4);
        out += PadRight(r.movement, 8) + PadRight(r.date, 6) + PadRight(r.time, 6);
        for (std::int64_t v : {r.grandTotal, r.gross, r.cancellations, r.discounts, r.surcharges}) PutInt(out, v, 8);
        for (int i = 0; i < kRateCapacity; ++i)
            PutInt(out, i < static_cast<int>(r.taxes.size()) ? r.taxes[static_cast<std::size_t>(i)].day : 0, 8);
    }
    return out;
}

std::string OutputFolder() {
    const std::string folder = platform::SystemDirectory();
    std::string contents;
    if (platform::ReadFile(platform::JoinPath(folder, "Bemafi32.ini"), contents)) {
        std::size_t start = 0;
        while (start < contents.size()) {
            std::size_t end = contents.find('\n', start);
            if (end == std::string::npos) end = contents.size();
            const std::string line = contents.substr(start, end - start);
            start = end + 1;
            const std::size_t eq = line.find('=');
            if (eq == std::string::npos || UpperCp1252(Trim(line.substr(0, eq))) != "PATH") continue;
            const std::string value = Trim(line.substr(eq + 1));
            if (!value.empty()) return platform::NativePath(value);
        }
    }
    return folder;
}

bool WriteReturnFile(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return platform::WriteFile(platform::JoinPath(OutputFolder(), "Retorno.txt"), text);
}

}  // namespace orb::sim::fiscal
