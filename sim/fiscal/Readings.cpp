// X reading and Z reduction: the day's totals on paper, and the day closed into the fiscal memory.
#include "fiscal/CouponOps.h"
#include "fiscal/Entry.h"
#include "fiscal/FiscalMemory.h"

namespace orb::sim::fiscal {
namespace {

void PrintTotals(Call& c) {
    const State& s = c.s;
    c.Print(Center(Call::Utf8("CONTADORES"), kColumns));
    c.Print(Columns(Call::Utf8("Geral de Operação Não-Fiscal:"), Digits(s.counters.gnf, 6)));
    c.Print(Columns(Call::Utf8("Contador de Cupom Fiscal:"), Digits(s.counters.ccf, 6)));
    c.Print(Columns(Call::Utf8("Contador de Reduções Z:"), Digits(s.counters.crz, 4)));
    c.Print(Columns(Call::Utf8("Contador de Reinício de Operação:"), Digits(s.counters.cro, 4)));
    c.Print(Columns(Call::Utf8("Relatório Gerencial:"), Digits(s.counters.cer, 6)));
    c.Print(Columns(Call::Utf8("Comprovante de Crédito ou Débito:"), Digits(s.counters.cdc, 6)));
    c.Print(Center(Call::Utf8("TOTALIZADORES"), kColumns));
    c.Print(Columns(Call::Utf8("Totalizador Geral:"), Money(s.counters.grandTotal)));
    c.Print(Columns(Call::Utf8("Venda Bruta Diária:"), Money(s.day.gross)));
    c.Print(Columns(Call::Utf8("Cancelamentos:"), Money(s.day.cancellations)));
    c.Print(Columns(Call::Utf8("Descontos:"), Money(s.day.discounts)));
    c.Print(Columns(Call::Utf8("Acréscimos:"), Money(s.day.surcharges)));
    c.Print(Columns(Call::Utf8("Venda Líquida:"), Money(s.day.gross - s.day.cancellations - s.day.discounts)));
    c.Print(Center(Call::Utf8("ICMS / ISSQN"), kColumns));
    for (std::size_t i = 0; i < s.rates.size(); ++i)
        c.Print(Columns(Digits(static_cast<std::int64_t>(i) + 1, 2) + (s.rates[i].service ? " S " : " T ") +
                            Money(s.rates[i].value) + "%",
                        Money(s.rates[i].day)));
    c.Print(Columns(Call::Utf8("Isento:"), Money(s.day.exempt)));
    c.Print(Columns(Call::Utf8("Não Incidência:"), Money(s.day.nonIncidence)));
    c.Print(Columns(Call::Utf8("Substituição Tributária:"), Money(s.day.substitution)));
    c.Print(Center(Call::Utf8("MEIOS DE PAGAMENTO"), kColumns));
    for (const auto& m : s.payments) c.Print(Columns(Call::Utf8(m.name), Money(m.day)));
    c.Print(Center(Call::Utf8("TOTALIZADORES NÃO FISCAIS"), kColumns));
    for (std::size_t i = 0; i < s.totalizers.size(); ++i)
        c.Print(Columns(Digits(static_cast<std::int64_t>(i) + 1, 2) + " " + Call::Utf8(s.totalizers[i].name),
                        Money(s.totalizers[i].day)));
    c.Print(Columns(Call::Utf8("Sangria:"), Money(s.day.withdrawal)));
    c.Print(Columns(Call::Utf8("Suprimento:"), Money(s.day.supply)));
}

}  // namespace
}  // namespace orb::sim::fiscal

using namespace orb::sim;
using namespace orb::sim::fiscal;

ORB_SIM_ENTRY(Bematech_FI_LeituraX)(void) {
    return Run(__func__, {}, [](Call& c) {
        if (int rc = CheckNewDocument(c, DocKind::Reading)) return rc;
        StartDocument(c, DocKind::Reading, "LEITURA X");
        PrintTotals(c);
        EndDocument(c);
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_ReducaoZ)(char* date, char* time) {
    return Run(__func__, {In(date), In(time)}, [](Call& c) {
        State& s = c.s;
        std::string d = Trim(c.Text(0)), t = Trim(c.Text(1));
        if ((!d.empty() && !AllDigits(d) && d.find('/') == std::string::npos) ||
            (!t.empty() && !AllDigits(t) && t.find(':') == std::string::npos))
            return kBadArgument;
        if (int rc = CheckPrinting(c)) return rc;
        Moment now = c.Now();
        if (DayClosed(s, now)) return c.Refuse(0, st2::kNotExecuted);  // one reduction per day
        // Whatever is still open is ended first, as the printer does on its own.
        if (s.docs.couponOpen) CancelCoupon(c);
        if (!s.docs.open.empty()) {
            EndDocument(c);
            s.docs.open.clear();
        }
        std::string movement = s.day.movement.empty() ? now.Ymd() : s.day.movement;
        ++s.counters.crz;
        StartDocument(c, DocKind::Reduction, "REDUÇÃO Z");
        c.Print(Columns("MOVIMENTO DO DIA:", DdmmyyFromYmd(movement)));
        PrintTotals(c);
        EndDocument(c);

        Reduction r = DaySnapshot(s, now);
        r.movement = movement;
        for (auto& rate : s.rates) rate.day = 0;
        s.fiscalMemory.push_back(r);
        s.counters.grandTotalLastZ = s.counters.grandTotal;
        s.counters.lastZDate = r.date;
        s.counters.lastZTime = r.time;
        for (auto& m : s.payments) m.day = 0;
        for (auto& t : s.totalizers) t.day = 0;
        s.day = Day{};
        s.day.closed = movement;
        s.docs.lastCancellable = false;
        s.docs.slipPending = false;
        s.docs.receiptCancellable = false;
        return kOk;
    });
}
