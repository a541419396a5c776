#include "common/SimText.h"
#include "fiscal/DetailFiles.h"
#include "fiscal/FiscalMemory.h"

namespace orb::sim::fiscal {

namespace {

constexpr std::size_t kSintegraWidth = 126;

std::string Numbers(const std::string& s) {
    std::string out;
    for (char ch : s)
        if (ch >= '0' && ch <= '9') out += ch;
    return out;
}
std::string Ddmmyyyy(const std::string& ymd) { return ymd.substr(6, 2) + ymd.substr(4, 2) + ymd.substr(0, 4); }
std::string Comma(std::int64_t cents) { return std::to_string(cents / 100) + "," + Digits(cents % 100, 2); }
std::string RateCode(const Rate& r) { return r.service ? "S" + Digits(r.value, 4) : Digits(r.value, 4); }

std::vector<const Reduction*> Between(const State& s, const std::string& first, const std::string& last) {
    std::vector<const Reduction*> out;
    for (const auto& r : s.fiscalMemory)
        if (r.movement >= first && r.movement <= last) out.push_back(&r);
    return out;
}

}  // namespace

std::vector<std::string> SintegraRecords(const State& s, const std::string& month, const std::string& year,
                                         const std::vector<std::string>& id) {
    const std::string first = year + month + "01", last = year + month + "31";
    const std::string cnpj = Digits(std::stoll("0" + Numbers(s.id.cnpj)), 14);
    const std::string ie = PadRight(Numbers(s.id.ie), 14);
    const std::string serial = PadRight(s.id.serial, 20);
    // id: name, address, number, complement, district, city, zip, phone, fax, contact
    std::vector<std::string> out = {"10" + cnpj + ie + PadRight(id[0], 35) + PadRight(id[5], 30) + "SP" +
                                        PadLeft(Numbers(id[8]), 10) + first + last + "331",
                                    "11" + PadRight(id[1], 34) + PadLeft(Numbers(id[2]), 5) + PadRight(id[3], 22) +
                                        PadRight(id[4], 15) + PadLeft(Numbers(id[6]), 8) + PadRight(id[9], 28) +
                                        PadLeft(Numbers(id[7]), 12)};
    int sixties = 0;
    for (const Reduction* r : Between(s, first, last)) {
        out.push_back(PadRight("60M" + r->movement.substr(0, 8) + serial + Digits(std::stoi("0" + s.id.till), 3) +
                                   "2D" + Digits(r->firstCoo, 6) + Digits(r->coo, 6) + Digits(r->crz, 6) +
                                   Digits(r->cro, 3) + Digits(r->gross, 16) + Digits(r->grandTotal, 16),
                               kSintegraWidth));
        ++sixties;
        for (const auto& t : r->taxes) {
            if (t.value <= 0) continue;
            out.push_back(
                PadRight("60A" + r->movement + serial + Digits(t.value, 4) + Digits(t.day, 12), kSintegraWidth));
            ++sixties;
        }
    }
    out.push_back(PadRight("90" + cnpj + ie + "60" + Digits(sixties, 8), kSintegraWidth - 1) + "1");
    for (auto& line : out) line = PadRight(line, kSintegraWidth);
    return out;
}

std::vector<std::string> SpedRecords(const State& s, const std::string& first, const std::string& last,
                                     const std::string& cfop) {
    std::vector<std::string> out = {"|C400|2D|" + std::to_string(s.id.model) + "|" + Trim(s.id.serial) + "|" +
                                    s.id.till + "|"};
    for (const Reduction* r : Between(s, first, last)) {
        out.push_back("|C405|" + Ddmmyyyy(r->movement) + "|" + std::to_string(r->cro) + "|" + std::to_string(r->crz) +
                      "|" + std::to_string(r->coo) + "|" + Comma(r->grandTotal) + "|" + Comma(r->gross) + "|");
        for (const auto& t : r->taxes)
            if (t.value > 0) out.push_back("|C420|" + RateCode(t) + "|" + Comma(t.day) + "|");
        out.push_back("|C490|" + cfop + "|" + Comma(NetOf(*r)) + "|");
    }
    out.push_back("|9999|" + std::to_string(out.size() + 1) + "|");
    return out;
}

std::string SintegraSummary(const State& s, const std::string& first, const std::string& last) {
    const auto records = Between(s, first, last);
    std::int64_t gross = 0;
    for (const Reduction* r : records) gross += r->gross;
    const Reduction none;
    const Reduction& a = records.empty() ? none : *records.front();
    const Reduction& b = records.empty() ? none : *records.back();
    return "60R" + Ddmmyyyy(first) + Ddmmyyyy(last) + PadRight(s.id.serial, 20) + Digits(a.crz, 6) + Digits(b.crz, 6) +
           Digits(a.firstCoo, 6) + Digits(b.coo, 6) + Digits(static_cast<std::int64_t>(records.size()), 6) +
           Digits(b.cro, 6) + Digits(gross, 16) + Digits(b.grandTotal, 16);
}

}  // namespace orb::sim::fiscal
