// Programming the printer's tables: payment methods, non-fiscal totalizers, report titles, and
// the daylight-saving switch.
#include "fiscal/Entry.h"

using namespace orb::sim;
using namespace orb::sim::fiscal;

namespace {

// Tables change only while no document is open.
int CheckIdle(Call& c) {
    if (c.s.docs.couponOpen || !c.s.docs.open.empty()) return c.Refuse(0, st2::kNotExecuted);
    return 0;
}

std::string TrimRight(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
    return s;
}

}  // namespace

ORB_SIM_ENTRY(Bematech_FI_ProgramaFormaPagamentoMFD)(char* name, char* linkable) {
    return Run(__func__, {In(name), In(linkable)}, [](Call& c) {
        State& s = c.s;
        std::string n = TrimRight(c.Text(0)), flag = Trim(c.Text(1));
        if (Trim(n).empty() || n.size() > PaymentNameWidth(s.id.model) || (flag != "0" && flag != "1"))
            return kBadArgument;
        if (int rc = CheckIdle(c)) return rc;
        for (auto& m : s.payments)
            if (UpperCp1252(Trim(Utf8ToCp1252(m.name))) == UpperCp1252(Trim(n))) {
                m.linkable = flag == "1";
                return kOk;
            }
        if (static_cast<int>(s.payments.size()) >= kPaymentCapacity) return c.Refuse(0, st2::kNotExecuted);
        s.payments.push_back({Cp1252ToUtf8(n), flag == "1", 0});
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms)(int slot, char* name) {
    return Run(__func__, {Int(slot), In(name)}, [](Call& c) {
        State& s = c.s;
        std::string n = TrimRight(c.Text(1));
        if (Trim(n).empty()) return kBadArgument;
        if (int rc = CheckIdle(c)) return rc;
        int index = c.Int(0);
        int count = static_cast<int>(s.totalizers.size());
        // Slots are taken in order, up to the printer's capacity; a used one keeps its name.
        if (index < 1 || index > TotalizerCapacity(s.id.model) || index > count + 1)
            return c.Refuse(0, st2::kNotExecuted);
        std::string stored = Cp1252ToUtf8(TrimRight(n.substr(0, TotalizerNameWidth(s.id.model))));
        if (index == count + 1) {
            s.totalizers.push_back({stored, 0, 0});
            return kOk;
        }
        Totalizer& t = s.totalizers[static_cast<std::size_t>(index - 1)];
        if (t.day != 0 || t.count != 0) return c.Refuse(0, st2::kNotExecuted);
        t.name = stored;
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_NomeiaRelatorioGerencialMFD)(char* slot, char* title) {
    return Run(__func__, {In(slot), In(title)}, [](Call& c) {
        State& s = c.s;
        if (!HasDetailMemory(s.id.model)) return c.Refuse(st1::kUnknownCommand, 0);
        std::string t = Trim(c.Text(0)), name = TrimRight(c.Text(1));
        if (!AllDigits(t) || t.size() > 2 || Trim(name).empty()) return kBadArgument;
        int index = std::stoi(t);
        if (index < 1 || index > kReportSlots) return kBadArgument;
        if (int rc = CheckIdle(c)) return rc;
        ReportTitle& r = s.reports[static_cast<std::size_t>(index - 1)];
        if (r.count != 0) return c.Refuse(0, st2::kNotExecuted);
        r.title = Cp1252ToUtf8(TrimRight(name.substr(0, 17)));
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_ProgramaHorarioVerao)(void) {
    return Run(__func__, {}, [](Call& c) {
        if (int rc = CheckIdle(c)) return rc;
        c.s.hw.daylightSaving = !c.s.hw.daylightSaving;
        return kOk;
    });
}
