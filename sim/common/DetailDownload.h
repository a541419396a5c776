#pragma once
// The download of the detail-tape memory as the fiscal stand-in writes it and the generators
// (the fiscal stand-in, BemaMFD2, BemaMFD3) read it, and the texts made from it: the readable
// mirror and the type-E register records. Texts are code page 1252, lines end in CR LF.
//
// The download is a text of '|'-separated records, one a line:
//   MFD|serial|model|brand|cnpj|ie|owner                 the printer
//   D|coo|ccf|gnf|kind|yyyymmdd|hhmmss                    a document (ccf or gnf 0 when it has none)
//   L|text                                                a printed line of the document before it
//   Z|crz|coo|cro|firstCoo|movement|date|time|grandTotal|gross|cancellations|discounts|surcharges|net
//   R|slot|rate|S or T|net                                a rate of the reduction before it
// Amounts are integers of hundredths, rates hundredths of a percent.
#include <cstdint>
#include <string>
#include <vector>

namespace orb::sim {

struct DownloadDoc {
    int coo = 0, ccf = 0, gnf = 0;
    std::string kind, date, time;
    std::vector<std::string> lines;
};
struct DownloadRate {
    int slot = 0;
    std::int64_t rate = 0;
    bool service = false;
    std::int64_t net = 0;
};
struct DownloadZ {
    int crz = 0, coo = 0, cro = 0, firstCoo = 0;
    std::string movement, date, time;  // yyyymmdd, yyyymmdd, hhmmss
    std::int64_t grandTotal = 0, gross = 0, cancellations = 0, discounts = 0, surcharges = 0, net = 0;
    std::vector<DownloadRate> rates;
};
struct Download {
    std::string serial, model, brand, cnpj, ie, owner;
    std::vector<DownloadDoc> docs;
    std::vector<DownloadZ> reductions;
};

std::string DownloadText(const Download& d);
// False when the text is not a download (no printer record first, or a record that does not read).
bool ParseDownload(const std::string& text, Download& out);
bool ReadDownloadFile(const std::string& path, Download& out);

// A date as the callers pass it (ddmmyyyy, dd/mm/yyyy, ddmmyy, dd/mm/yy) as yyyymmdd; "" when
// it does not read.
std::string YmdOf(const std::string& text);
std::string SlashedDate(const std::string& ymd);  // dd/mm/yyyy

// The mirror: seven heading lines, then per document its heading "dd/mm/yyyy hh:mm:ss COO:..."
// and lines (empty lines dropped), then "DOCUMENTO FINAL EM dd/mm/yyyy" and the closing count.
std::vector<std::string> MirrorLines(const Download& d, const std::string& rangeLine);

// The type-E register records of the days first..last (yyyymmdd): E01 the printer and the
// period, E02 the owner, E12 each reduction of a movement day in the period with E13 per rate,
// E14 each coupon issued in the period.
std::vector<std::string> TypeERecords(const Download& d, const std::string& firstYmd, const std::string& lastYmd,
                                      const std::string& companyName, const std::string& address);

// Lines joined with CR LF after each, written over the file. False when it cannot be written.
bool WriteLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace orb::sim
