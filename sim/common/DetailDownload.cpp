#include "common/DetailDownload.h"

#include <algorithm>
#include <exception>

#include "common/SimText.h"
#include "platform/Platform.h"

namespace orb::sim {

namespace {

std::vector<std::string> Fields(const std::string& line, std::size_t atMost) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (out.size() + 1 < atMost) {
        const std::size_t bar = line.find('|', start);
        if (bar == std::string::npos) break;
        out.push_back(line.substr(start, bar - start));
        start = bar + 1;
    }
    out.push_back(line.substr(start));
    return out;
}

std::string Join(std::initializer_list<std::string> parts) {
    std::string out;
    for (const auto& p : parts) out += (out.empty() ? "" : "|") + p;
    return out;
}

std::string S(std::int64_t v) { return std::to_string(v); }
std::string OnlyDigits(const std::string& s) {
    std::string out;
    for (char ch : s)
        if (ch >= '0' && ch <= '9') out += ch;
    return out;
}

}  // namespace

std::string DownloadText(const Download& d) {
    std::string text = Join({"MFD", d.serial, d.model, d.brand, d.cnpj, d.ie, d.owner}) + "\r\n";
    for (const auto& doc : d.docs) {
        text += Join({"D", S(doc.coo), S(doc.ccf), S(doc.gnf), doc.kind, doc.date, doc.time}) + "\r\n";
        for (const auto& line : doc.lines) text += "L|" + line + "\r\n";
    }
    for (const auto& z : d.reductions) {
        text += Join({"Z", S(z.crz), S(z.coo), S(z.cro), S(z.firstCoo), z.movement, z.date, z.time, S(z.grandTotal),
                      S(z.gross), S(z.cancellations), S(z.discounts), S(z.surcharges), S(z.net)}) +
                "\r\n";
        for (const auto& r : z.rates)
            text += Join({"R", S(r.slot), S(r.rate), r.service ? "S" : "T", S(r.net)}) + "\r\n";
    }
    return text;
}

bool ParseDownload(const std::string& text, Download& out) {
    out = {};
    bool headed = false;
    std::size_t start = 0;
    try {
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(start, end - start);
            start = end + 1;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const std::string tag = line.substr(0, line.find('|'));
            if (!headed) {
                const auto f = Fields(line, 7);
                if (tag != "MFD" || f.size() != 7) return false;
                out = {f[1], f[2], f[3], f[4], f[5], f[6], {}, {}};
                headed = true;
            } else if (tag == "D") {
                const auto f = Fields(line, 7);
                if (f.size() != 7) return false;
                out.docs.push_back({std::stoi(f[1]), std::stoi(f[2]), std::stoi(f[3]), f[4], f[5], f[6], {}});
            } else if (tag == "L") {
                if (out.docs.empty()) return false;
                out.docs.back().lines.push_back(line.substr(2));
            } else if (tag == "Z") {
                const auto f = Fields(line, 14);
                if (f.size() != 14) return false;
                out.reductions.push_back({std::stoi(f[1]),
                                          std::stoi(f[2]),
                                          std::stoi(f[3]),
                                          std::stoi(f[4]),
                                          f[5],
                                          f[6],
                                          f[7],
                                          std::stoll(f[8]),
                                          std::stoll(f[9]),
                                          std::stoll(f[10]),
                                          std::stoll(f[11]),
                                          std::stoll(f[12]),
                                          std::stoll(f[13]),
                                          {}});
            } else if (tag == "R") {
                const auto f = Fields(line, 5);
                if (f.size() != 5 || out.reductions.empty()) return false;
                out.reductions.back().rates.push_back(
                    {std::stoi(f[1]), std::stoll(f[2]), f[3] == "S", std::stoll(f[4])});
            } else if (!line.empty()) {
                return false;
            }
        }
    } catch (const std::exception&) {
        return false;  // a number that does not read
    }
    return headed;
}

bool ReadDownloadFile(const std::string& path, Download& out) {
    std::string text;
    return platform::ReadFile(platform::NativePath(path), text) && ParseDownload(text, out);
}

std::string YmdOf(const std::string& text) {
    const std::string t = Trim(text);
    std::string digits = OnlyDigits(t);
    if (digits.size() == 6) digits = digits.substr(0, 4) + "20" + digits.substr(4);
    if (digits.size() != 8) return {};
    if (t.size() != 6 && t.size() != 8 && t.size() != 10) return {};
    const int day = std::stoi(digits.substr(0, 2)), month = std::stoi(digits.substr(2, 2));
    if (day < 1 || day > 31 || month < 1 || month > 12) return {};
    return digits.substr(4, 4) + digits.substr(2, 2) + digits.substr(0, 2);
}

std::string SlashedDate(const std::string& ymd) {
    if (ymd.size() != 8) return ymd;
    return ymd.substr(6, 2) + "/" + ymd.substr(4, 2) + "/" + ymd.substr(0, 4);
}

std::vector<std::string> MirrorLines(const Download& d, const std::string& rangeLine) {
    std::vector<std::string> out = {"ESPELHO DA MEMORIA DE FITA DETALHE",
                                    "ECF: " + d.serial,
                                    "MODELO: " + d.brand + " " + d.model,
                                    d.owner,
                                    "CNPJ: " + d.cnpj,
                                    rangeLine,
                                    std::string(48, '-')};
    for (const auto& doc : d.docs) {
        std::string head = SlashedDate(doc.date) + " " + doc.time.substr(0, 2) + ":" + doc.time.substr(2, 2) + ":" +
                           doc.time.substr(4, 2) + " COO:" + Digits(doc.coo, 6);
        if (doc.ccf) head += " CCF:" + Digits(doc.ccf, 6);
        if (doc.gnf) head += " GNF:" + Digits(doc.gnf, 6);
        out.push_back(head + " " + doc.kind);
        for (const auto& line : doc.lines)
            if (!Trim(line).empty()) out.push_back(line);
    }
    // The closing pair: the last document's day from the 20th column, then the count.
    out.push_back("DOCUMENTO FINAL EM " + (d.docs.empty() ? std::string(10, ' ') : SlashedDate(d.docs.back().date)));
    out.push_back("FIM DO ESPELHO: " + std::to_string(d.docs.size()) + " DOCUMENTO(S)");
    return out;
}

std::vector<std::string> TypeERecords(const Download& d, const std::string& firstYmd, const std::string& lastYmd,
                                      const std::string& companyName, const std::string& address) {
    const std::string serial = PadRight(d.serial, 20);
    const std::string cnpj = Digits(std::stoll("0" + OnlyDigits(d.cnpj)), 14);
    std::vector<std::string> out = {
        "E01" + serial + PadRight(d.brand, 20) + PadRight(d.model, 20) + cnpj + firstYmd + lastYmd,
        "E02" + serial + cnpj + PadRight(OnlyDigits(d.ie), 14) + PadRight(companyName, 40) + PadRight(address, 120)};
    for (const auto& z : d.reductions) {
        if (z.movement < firstYmd || z.movement > lastYmd) continue;
        out.push_back("E12" + serial + Digits(z.crz, 6) + Digits(z.coo, 6) + Digits(z.cro, 6) + z.movement + z.date +
                      z.time + Digits(z.grandTotal, 14) + Digits(z.gross, 14) + Digits(z.cancellations, 13) +
                      Digits(z.discounts, 13) + Digits(z.surcharges, 13) + Digits(z.net, 14));
        for (const auto& r : z.rates)
            out.push_back("E13" + serial + Digits(z.crz, 6) + Digits(r.slot, 2) + (r.service ? "S" : "T") +
                          Digits(r.rate, 4) + Digits(r.net, 13));
    }
    for (const auto& doc : d.docs)
        if (doc.ccf && doc.date >= firstYmd && doc.date <= lastYmd)
            out.push_back("E14" + serial + Digits(doc.ccf, 6) + Digits(doc.coo, 6) + doc.date + doc.time);
    return out;
}

bool WriteLines(const std::string& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return platform::WriteFile(platform::NativePath(path), text);
}

}  // namespace orb::sim
