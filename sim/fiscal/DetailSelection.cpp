#include "common/SimText.h"
#include "fiscal/DetailFiles.h"
#include "fiscal/FiscalCall.h"
#include "fiscal/FiscalMemory.h"
#include "platform/Platform.h"

namespace orb::sim::fiscal {

namespace {

std::string YmdFromDdmmyy(const std::string& ddmmyy) {
    return ddmmyy.size() == 6 ? "20" + ddmmyy.substr(4, 2) + ddmmyy.substr(2, 2) + ddmmyy.substr(0, 2) : ddmmyy;
}

DownloadZ ZOf(const Reduction& r) {
    DownloadZ z{r.crz,       r.coo,
                r.cro,       r.firstCoo,
                r.movement,  YmdFromDdmmyy(r.date),
                r.time,      r.grandTotal,
                r.gross,     r.cancellations,
                r.discounts, r.surcharges,
                NetOf(r),    {}};
    for (std::size_t i = 0; i < r.taxes.size(); ++i)
        if (r.taxes[i].value > 0)
            z.rates.push_back({static_cast<int>(i) + 1, r.taxes[i].value, r.taxes[i].service, r.taxes[i].day});
    return z;
}

bool ReadCoo(const std::string& text, int& out) {
    const std::string t = Trim(text);
    if (t.empty() || t.size() > 6 || !AllDigits(t)) return false;
    out = std::stoi(t);
    return true;
}

}  // namespace

bool SelectDetail(const State& s, Range range, const std::string& start, const std::string& end, Download& out,
                  std::string& rangeLine) {
    out = {s.id.serial, std::to_string(s.id.model),   s.id.brand, s.id.cnpj,
           s.id.ie,     Utf8ToCp1252(s.id.ownerName), {},         {}};
    std::string first = "00000000", last = "99999999";
    int firstCoo = 0, lastCoo = 999999;
    if (range == Range::Dates) {
        first = YmdOf(start);
        last = YmdOf(end);
        if (first.empty() || last.empty() || first > last) return false;
        rangeLine = "PERIODO: " + SlashedDate(first) + " A " + SlashedDate(last);
    } else if (range == Range::Coo) {
        if (!ReadCoo(start, firstCoo) || !ReadCoo(end, lastCoo) || firstCoo > lastCoo) return false;
        rangeLine = "COO INICIAL: " + Digits(firstCoo, 6) + " COO FINAL: " + Digits(lastCoo, 6);
    } else {
        rangeLine = "MEMORIA COMPLETA";
    }
    for (const auto& doc : s.detail) {
        if (doc.coo < firstCoo || doc.coo > lastCoo || doc.date < first || doc.date > last) continue;
        DownloadDoc d{doc.coo, doc.ccf, doc.gnf, doc.kind, doc.date, doc.time, {}};
        for (const auto& line : doc.lines) d.lines.push_back(Utf8ToCp1252(line));
        out.docs.push_back(std::move(d));
    }
    for (const auto& r : s.fiscalMemory)
        if (r.coo >= firstCoo && r.coo <= lastCoo && r.movement >= first && r.movement <= last)
            out.reductions.push_back(ZOf(r));
    return true;
}

std::string LibraryFile(const std::string& name) {
    const bool bare = name.find_first_of("/\\") == std::string::npos;
    return bare ? platform::JoinPath(OutputFolder(), name) : platform::NativePath(name);
}

std::string DayCode(int n) {
    static const std::string kCodes = "123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    if (n < 0 || n > 35) return {};
    return std::string(1, kCodes[n == 0 ? 0 : n - 1]);
}

}  // namespace orb::sim::fiscal
