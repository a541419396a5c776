// The X-reading text: sections found by their heading line, figures read from fixed columns of
// the lines below it. A section whose heading is missing is skipped.
#include "external/hostlib/HostLib.h"
#include "framework/Cp1252.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "queries/Queries.h"
#include "readings/ReductionExport.h"
#include "readings/ReductionTables.h"

namespace Orb00100::reduction {

namespace {

using orb::fw::ClientDataSet;
using orb::fw::Copy;
using orb::fw::StringList;
using orb::fw::Trim;
using orb::hostlib::Ajusta;

constexpr int kMissing = -1;

struct Heading {
    const char* dashed;
    const char* centred;  // the newer layout's second form; nullptr when it has none
};
const Heading kCounters{"-------CONTADORES-------", "                   CONTADORES                   "};
const Heading kOlderTotals{"-TOTALIZADORES FISCAIS--", nullptr};
const Heading kNewerTotals{"-----TOTALIZADORES------", "                 TOTALIZADORES                  "};
const Heading kNotTaxed{"-----Não Tributados-----", nullptr};
const Heading kPayments{"---MEIOS DE PAGAMENTO---", "               MEIOS DE PAGAMENTO               "};
const Heading kIcms{"----------ICMS----------", "                      ICMS                      "};
const Heading kIss{"---------ISSQN----------", "                     ISSQN                      "};
const Heading kNonFiscal{"-----------TOTALIZADORES NÃO FISCAIS------------",
                         "           TOTALIZADORES NÃO FISCAIS            "};

class Text {
public:
    Text(const StringList& lines, bool newer) : lines_(lines), newer_(newer) {}

    // The index of the heading's line (whole-line comparison), or kMissing.
    int Find(const Heading& h) const {
        const int dashed = IndexOf(CP(h.dashed));
        if (dashed != kMissing || !newer_ || h.centred == nullptr) return dashed;
        return IndexOf(CP(h.centred));
    }
    // A line; past the end raises the list's own error, as a text cut short must.
    const std::string& Line(int i) const { return lines_[i]; }
    std::string At(int i, int start, int width) const { return Copy(Line(i), start, width); }
    double Amount(int i, int start, int width) const { return GetValue(At(i, start, width)); }
    bool Newer() const { return newer_; }

private:
    int IndexOf(const std::string& line) const {
        const auto& all = lines_.Lines();
        for (std::size_t i = 0; i < all.size(); ++i)
            if (all[i] == line) return static_cast<int>(i);
        return kMissing;
    }
    const StringList& lines_;
    bool newer_;
};

bool Blank(const std::string& s) { return Trim(s).empty(); }
bool IsInteger(const std::string& s) {
    int ignored = 0;
    return orb::fw::TryStrToInt(Trim(s), ignored);
}
// Columns 2-6 of a tax line: the rate ("18,00").
bool IsRate(const std::string& s) {
    const std::string t = Trim(s);
    bool digit = false;
    for (char ch : t) {
        if (ch >= '0' && ch <= '9')
            digit = true;
        else if (ch != ',' && ch != '.')
            return false;
    }
    return digit;
}

std::string Counter(const Text& t, int line, int start, int width, int add = 0) {
    const std::string digits = t.At(line, start, width);
    return Ajusta(add ? orb::fw::IntToStr(orb::fw::StrToInt(Trim(digits)) + add) : digits, 10);
}

void ReadCountersAndTotals(const Context& c, const Text& t) {
    ClientDataSet& r = c.dm.cdsReducaoZ;
    StartReductionRow(c);
    if (const int h = t.Find(kCounters); h != kMissing) {
        const bool newer = t.Newer();
        r.FieldByName("NRREDREDZ").SetAsString(Counter(t, newer ? h + 3 : h + 1, 45, 4, 1));
        r.FieldByName("NRREINIREDZ").SetAsString(Counter(t, h + 2, 46, 3));
        r.FieldByName("NRGERCNFREDZ").SetAsString(Counter(t, newer ? h + 1 : h + 3, 43, 6));
    }
    if (const int h = t.Find(t.Newer() ? kNewerTotals : kOlderTotals); h != kMissing) {
        r.FieldByName("VRGTREDZ").SetAsFloat(t.Amount(h + 1, 29, 20));
        r.FieldByName("VRVENBRUREDZ").SetAsFloat(t.Amount(h + 2, 29, 20));
        r.FieldByName("VRTOTCANREDZ").SetAsFloat(t.Amount(h + 3, 29, 20));
        r.FieldByName("VRTOTDESREDZ").SetAsFloat(t.Amount(h + 4, 29, 20));
        r.FieldByName("VRISSREDZ").SetAsFloat(t.Amount(h + 5, 29, 20));
        r.FieldByName("VRVENLIQREDZ").SetAsFloat(t.Amount(t.Newer() ? h + 8 : h + 9, 29, 20));
        r.FieldByName("VRTOTACRREDZ").SetAsFloat(t.Amount(t.Newer() ? h + 9 : h + 10, 29, 20));
    }
    if (t.Newer()) r.FieldByName("DTGRAVSBECF").SetAsDateTime(orb::fw::Now());
    r.Post();
}

void ReadPayments(const Context& c, const Text& t) {
    const int h = t.Find(kPayments);
    if (h == kMissing) return;
    for (int i = h + 2;; ++i) {
        const std::string first = t.At(i, 1, 2);
        if (t.Newer() ? (Blank(first) || !IsInteger(first)) : Trim(first) == "--") break;
        const std::string name = Trim(t.At(i, 6, 16));
        if (name.empty()) continue;
        AddPayment(c, name, t.Amount(i, 29, 20));
    }
}

void ReadTaxes(const Context& c, const Text& t) {
    int n = 1;
    for (const auto& [heading, kind] : {std::pair{&kIcms, "T"}, std::pair{&kIss, "S"}}) {
        const int h = t.Find(*heading);
        if (h == kMissing) continue;
        for (int i = h + 2; !Blank(t.At(i, 1, 2)); ++i, ++n) {
            if (t.Newer() && !IsRate(t.At(i, 2, 5))) break;
            PutReductionTax(c.dm.cdsImpostoRedZ, c.ecf, c.movement, Ajusta(orb::fw::IntToStr(n), 2), t.Amount(i, 2, 5),
                            t.Amount(i, 14, 16), t.Amount(i, 31, 18), kind);
        }
    }
}

void ReadNonFiscal(const Context& c, const Text& t) {
    const int h = t.Find(kNonFiscal);
    if (h == kMissing) return;
    ClientDataSet& nf = c.dm.cdsTotNFiscRedZ;
    for (int i = t.Newer() ? h + 2 : h + 5; !Blank(t.At(i, 1, 2)); ++i) {
        if (t.Newer() && !IsInteger(t.At(i, 1, 2))) break;
        nf.Append();
        nf.FieldByName("NRECFREDZ").SetAsString(c.ecf);
        nf.FieldByName("DTREDUCAOZ").SetAsDateTime(c.movement);
        nf.FieldByName("NRTOTNFISCRZ").SetAsString(t.At(i, 1, 2));
        nf.FieldByName("DSTOTNFISCRZ").SetAsString(t.At(i, 4, 19));
        nf.FieldByName("NRCONTOTNFIS").SetAsString(t.At(i, 25, 4));
        nf.FieldByName("VRACUTOTNFIS").SetAsFloat(t.Amount(i, 29, 20));
        nf.Post();
    }
}

void ReadNotTaxed(const Context& c, const Text& t) {
    // The older layout has a block of its own; the newer one puts the three lines above ISSQN.
    int first = kMissing;
    if (t.Newer()) {
        if (const int h = t.Find(kIss); h != kMissing && h >= 3) first = h - 3;
    } else if (const int h = t.Find(kNotTaxed); h != kMissing) {
        first = h + 2;
    }
    if (first == kMissing) return;
    ClientDataSet& r = c.dm.cdsReducaoZ;
    r.First();
    r.Edit();
    r.FieldByName("VRSTRIBREDZ").SetAsFloat(t.Amount(first, 32, 17));
    r.FieldByName("VRISENCREDZ").SetAsFloat(t.Amount(first + 1, 32, 17));
    r.FieldByName("VRNINCIDREDZ").SetAsFloat(t.Amount(first + 2, 32, 17));
    r.Post();
}

}  // namespace

void ReadXReading(const Context& c, const StringList& lines, bool newerLayout) {
    const Text t(lines, newerLayout);
    RebuildReductionTable(c.dm.cdsReducaoZ);
    ReadCountersAndTotals(c, t);
    RebuildPaymentTable(c.dm.cdsFormPgtoRedZ);
    ReadPayments(c, t);
    c.dm.cdsTipoRece.Close();
    RebuildReductionTaxTable(c.dm.cdsImpostoRedZ);
    ReadTaxes(c, t);
    RebuildNonFiscalTable(c.dm.cdsTotNFiscRedZ);
    ReadNonFiscal(c, t);
    ReadNotTaxed(c, t);
}

}  // namespace Orb00100::reduction
