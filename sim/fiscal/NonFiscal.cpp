// Non-fiscal receipts (totalizer receipts, cash supply and withdrawal) and their cancellation.
#include "fiscal/Entry.h"

namespace orb::sim::fiscal {
namespace {

PaymentMethod* FindMethod(State& s, const std::string& cp1252Name) {
    std::string wanted = UpperCp1252(Trim(cp1252Name));
    if (wanted.empty()) return nullptr;
    for (auto& m : s.payments)
        if (UpperCp1252(Trim(Call::Utf8(m.name))) == wanted) return &m;
    return nullptr;
}

int IssueReceipt(Call& c, const std::string& kind, int totalizer, const std::string& amountText,
                 const std::string& methodText) {
    State& s = c.s;
    std::int64_t amount = 0;
    if (!ParseMoney(amountText, amount) || amount <= 0) return kBadArgument;
    PaymentMethod* method = FindMethod(s, methodText);
    if (!method) return kPaymentNotProgrammed;
    if (int rc = CheckNewDocument(c, DocKind::NonFiscal)) return rc;
    std::string title = kind == "supply" ? "SUPRIMENTO" : kind == "withdrawal" ? "SANGRIA" : "";
    if (kind == "receipt") {
        Totalizer& t = s.totalizers.at(static_cast<std::size_t>(totalizer - 1));
        t.day += amount;
        ++t.count;
        title = t.name;
    } else if (kind == "supply") {
        s.day.supply += amount;
    } else {
        s.day.withdrawal += amount;
    }
    if (kind == "withdrawal")
        method->day -= amount;
    else
        method->day += amount;
    StartDocument(c, DocKind::NonFiscal, "COMPROVANTE NÃO-FISCAL");
    c.Print(Columns((totalizer ? Digits(totalizer, 2) + " " : std::string()) + Call::Utf8(title), Money(amount)));
    c.Print(Columns(Call::Utf8(method->name), Money(amount)));
    EndDocument(c);
    s.docs.receiptCancellable = true;
    s.docs.receipt = NonFiscalReceipt{s.counters.coo, totalizer, kind, amount, method->name};
    return kOk;
}

}  // namespace
}  // namespace orb::sim::fiscal

using namespace orb::sim;
using namespace orb::sim::fiscal;

ORB_SIM_ENTRY(Bematech_FI_RecebimentoNaoFiscal)(char* totalizer, char* amount, char* method) {
    return Run(__func__, {In(totalizer), In(amount), In(method)}, [](Call& c) {
        std::string t = Trim(c.Text(0));
        if (!AllDigits(t) || t.size() > 2) return kBadArgument;
        int slot = std::stoi(t);
        if (slot < 1 || slot > static_cast<int>(c.s.totalizers.size())) return kTotalizerNotProgrammed;
        return IssueReceipt(c, "receipt", slot, c.Text(1), c.Text(2));
    });
}

ORB_SIM_ENTRY(Bematech_FI_Suprimento)(char* amount, char* method) {
    return Run(__func__, {In(amount), In(method)},
               [](Call& c) { return IssueReceipt(c, "supply", 0, c.Text(0), c.Text(1)); });
}

ORB_SIM_ENTRY(Bematech_FI_Sangria)(char* amount) {
    return Run(__func__, {In(amount)}, [](Call& c) {
        // A withdrawal always leaves in cash: the first payment method.
        std::string cash = c.s.payments.empty() ? std::string() : Call::Utf8(c.s.payments.front().name);
        return IssueReceipt(c, "withdrawal", 0, c.Text(0), cash);
    });
}

ORB_SIM_ENTRY(Bematech_FI_CancelaRecebimentoNaoFiscalMFD)(char* taxNumber, char* name, char* address) {
    return Run(__func__, {In(taxNumber), In(name), In(address)}, [](Call& c) {
        State& s = c.s;
        if (!s.docs.receiptCancellable) return c.Refuse(0, st2::kCancelNotAllowed);
        if (int rc = CheckNewDocument(c, DocKind::NonFiscal)) return rc;
        NonFiscalReceipt r = s.docs.receipt;
        if (r.kind == "receipt" && r.totalizer >= 1 && r.totalizer <= static_cast<int>(s.totalizers.size()))
            s.totalizers[static_cast<std::size_t>(r.totalizer - 1)].day -= r.amount;
        else if (r.kind == "supply")
            s.day.supply -= r.amount;
        else if (r.kind == "withdrawal")
            s.day.withdrawal -= r.amount;
        for (auto& m : s.payments)
            if (m.name == r.method) m.day += r.kind == "withdrawal" ? r.amount : -r.amount;
        StartDocument(c, DocKind::NonFiscal, "CANCELAMENTO NÃO-FISCAL");
        c.Print(Columns("COO DO DOCUMENTO CANCELADO:", Digits(r.coo, 6)));
        c.Print(Columns("VALOR R$", Money(r.amount)));
        EndDocument(c);
        return kOk;
    });
}
