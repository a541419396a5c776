#include "fiscal/Documents.h"

#include "common/SimText.h"

namespace orb::sim::fiscal {

int CheckPrinting(Call& c) {
    if (c.s.hw.paper == "out" || c.s.hw.coverOpen) return c.Refuse(0, st2::kNotExecuted);
    return 0;
}

bool ReductionPending(const State& s, const Moment& now) {
    return !s.day.movement.empty() && s.day.movement < now.Ymd();
}

bool DayClosed(const State& s, const Moment& now) { return s.day.movement.empty() && s.day.closed == now.Ymd(); }

int CheckNewDocument(Call& c, DocKind kind) {
    if (int rc = CheckPrinting(c)) return rc;
    if (c.s.docs.couponOpen || !c.s.docs.open.empty()) return c.Refuse(0, st2::kNotExecuted);
    Moment now = c.Now();
    if (kind != DocKind::Reduction && ReductionPending(c.s, now)) return c.Refuse(0, st2::kNotExecuted);
    bool sale = kind == DocKind::Coupon || kind == DocKind::NonFiscal || kind == DocKind::Slip;
    if (sale && DayClosed(c.s, now)) return c.Refuse(0, st2::kNotExecuted);
    return 0;
}

std::string Dashes() { return std::string(kColumns, '-'); }

std::string Columns(const std::string& left, const std::string& right) {
    if (left.size() + right.size() + 1 > kColumns) return left + " " + right;
    return left + std::string(kColumns - left.size() - right.size(), ' ') + right;
}

void StartDocument(Call& c, DocKind kind, const std::string& titleUtf8, bool keepsLastCoupon) {
    State& s = c.s;
    Moment now = c.Now();
    ++s.counters.coo;
    if (kind == DocKind::Coupon)
        ++s.counters.ccf;
    else if (kind != DocKind::Reduction && kind != DocKind::Cancellation)
        ++s.counters.gnf;
    if (kind != DocKind::Reduction) {
        if (s.day.movement.empty()) {
            s.day.movement = now.Ymd();
            s.day.firstCoo = s.counters.coo;
        }
        s.day.lastCoo = s.counters.coo;
    }
    if (!keepsLastCoupon) {
        s.docs.lastCancellable = false;
        s.docs.slipPending = false;
    }
    s.docs.receiptCancellable = false;
    static constexpr const char* kKinds[] = {"CF", "CN", "CC", "RG", "LX", "RZ", "CF"};
    s.detail.push_back(
        {s.counters.coo,
         kind == DocKind::Coupon ? s.counters.ccf : 0,
         kind == DocKind::Coupon || kind == DocKind::Reduction || kind == DocKind::Cancellation ? 0 : s.counters.gnf,
         kKinds[static_cast<int>(kind)],
         now.Ymd(),
         now.Hhmmss(),
         {}});

    c.Print(Center(Call::Utf8(s.id.ownerName), kColumns));
    c.PrintText(Call::Utf8(s.id.ownerAddress));
    c.Print("CNPJ:" + Call::Utf8(s.id.cnpj));
    c.Print("IE:" + Call::Utf8(s.id.ie));
    c.Print("IM:" + Call::Utf8(s.id.im));
    c.Print(Dashes());
    std::string numbers = kind == DocKind::Coupon ? "CCF:" + Digits(s.counters.ccf, 6) + " "
                          : kind == DocKind::Reduction || kind == DocKind::Cancellation
                              ? std::string()
                              : "GNF:" + Digits(s.counters.gnf, 6) + " ";
    c.Print(Columns(now.Display(), numbers + "COO:" + Digits(s.counters.coo, 6)));
    c.Print(Center(Call::Utf8(titleUtf8), kColumns));
}

void EndDocument(Call& c) {
    const State& s = c.s;
    c.Print(Dashes());
    c.Print(Columns(Call::Utf8(s.id.brand + " " + s.id.modelName), "ECF:" + s.id.till.substr(1)));
    c.Print(Columns(Call::Utf8(s.id.kind) + " " + Call::Utf8("VERSÃO:") + s.id.firmware, c.Now().Display()));
    c.Print("FAB:" + Call::Utf8(s.id.serial));
    c.Print("");
}

void ReadStatus(State& s, int& ack, int& a, int& b) {
    auto& forced = s.faults.statuses;
    if (!forced.empty()) {
        ack = forced.front().ack;
        a = forced.front().st1;
        b = forced.front().st2;
        if (--forced.front().times <= 0) forced.erase(forced.begin());
        return;
    }
    ack = s.faults.ack;
    a = s.faults.st1;
    b = s.faults.st2;
    if (s.hw.paper == "out") a |= st1::kPaperOut;
    if (s.hw.paper == "low") a |= st1::kPaperLow;
    if (s.hw.coverOpen) a |= st1::kPrinterError;
    if (s.docs.couponOpen) a |= st1::kCouponOpen;
}

int ExtendedStatus(const State& s) {
    if (s.faults.extended >= 0) return s.faults.extended;
    int v = 0;
    if (s.docs.open == "slip") v |= 2;
    if (s.docs.open == "report") v |= 4;
    if (s.docs.slipPending) v |= 64;
    return v;
}

std::string PartialTotalsText(const State& s) {
    std::string text;
    for (int i = 0; i < kRateCapacity; ++i)
        text += Digits(i < static_cast<int>(s.rates.size()) ? s.rates[static_cast<std::size_t>(i)].day : 0, 14);
    for (std::int64_t v : {s.day.exempt, s.day.nonIncidence, s.day.substitution, s.day.withdrawal, s.day.supply})
        text += "," + Digits(v, 14);
    return text;
}

}  // namespace orb::sim::fiscal
