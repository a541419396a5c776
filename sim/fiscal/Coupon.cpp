// The fiscal coupon: opening, items, item cancellation, closing, payments, end, cancellation.
#include <algorithm>

#include "fiscal/CouponOps.h"
#include "fiscal/Entry.h"

namespace orb::sim::fiscal {
namespace {

struct ItemInput {
    std::string code, description, tax, unit;
    std::int64_t quantity = 0;  // thousandths
    std::int64_t price = 0;     // thousandths of the currency
    std::int64_t discount = 0, surcharge = 0;
    bool round = false;
};

// A fixed-digit field: digits only, at most maxDigits of them.
bool Fixed(const std::string& text, std::size_t maxDigits, std::int64_t& value) {
    std::string t = Trim(text);
    if (!AllDigits(t) || t.size() > maxDigits) return false;
    value = std::stoll(t);
    return true;
}

std::string Quantity(std::int64_t milli) { return std::to_string(milli / 1000) + "," + Digits(milli % 1000, 3); }

std::string Price(std::int64_t milli) {
    if (milli % 10 == 0) return Money(milli / 10);
    return Money(milli / 10) + std::to_string(milli % 10);
}

std::string RateLabel(const State& s, const Item& item) {
    if (item.slot == 0) return item.tax;
    const Rate& r = s.rates.at(static_cast<std::size_t>(item.slot - 1));
    return std::string(r.service ? "S" : "T") + Money(r.value) + "%";
}

// Resolves the tax code of an item: "II", "FF", "NN", a slot "01".."16" or a rate "1800".
// 0 with slot set, kBadArgument, or the refusal of a rate not programmed.
int ResolveTax(Call& c, const std::string& code, int& slot) {
    std::string t = UpperCp1252(Trim(code));
    slot = 0;
    if (t == "II" || t == "FF" || t == "NN") return 0;
    if (!AllDigits(t) || (t.size() != 2 && t.size() != 4)) return kBadArgument;
    int v = std::stoi(t);
    const auto& rates = c.s.rates;
    if (t.size() == 2) {
        if (v >= 1 && v <= static_cast<int>(rates.size())) {
            slot = v;
            return 0;
        }
    } else {
        for (std::size_t i = 0; i < rates.size(); ++i)
            if (rates[i].value == v && v != 0) {
                slot = static_cast<int>(i) + 1;
                return 0;
            }
    }
    return c.Refuse(0, st2::kRateNotProgrammed);
}

void AddToTax(State& s, const Item& item, std::int64_t amount) {
    if (item.slot > 0)
        s.rates.at(static_cast<std::size_t>(item.slot - 1)).day += amount;
    else if (item.tax == "II")
        s.day.exempt += amount;
    else if (item.tax == "FF")
        s.day.substitution += amount;
    else
        s.day.nonIncidence += amount;
}

std::int64_t Subtotal(const Coupon& coupon) {
    std::int64_t sum = 0;
    for (const auto& item : coupon.items)
        if (!item.cancelled) sum += item.total;
    return sum;
}

std::int64_t CouponTotal(const Coupon& coupon) {
    std::int64_t sub = Subtotal(coupon);
    if (coupon.adjustKind == "d") return sub - coupon.adjustment;
    if (coupon.adjustKind == "a") return sub + coupon.adjustment;
    return sub;
}

int RegisterItem(Call& c, ItemInput in) {
    State& s = c.s;
    if (!s.docs.couponOpen || s.docs.coupon.phase != "items") return c.Refuse(0, st2::kNotExecuted);
    if (int rc = CheckPrinting(c)) return rc;
    in.code = Trim(in.code);
    if (!s.docs.itemDescription.empty()) {
        in.description = s.docs.itemDescription;
        s.docs.itemDescription.clear();
    }
    if (in.code.empty() || in.code.size() > 49 || Trim(in.description).empty() || in.description.size() > 200 ||
        in.unit.size() > 2 || in.quantity <= 0)
        return kBadArgument;
    Item item;
    if (int rc = ResolveTax(c, in.tax, item.slot)) return rc;
    item.tax = item.slot ? Digits(item.slot, 2) : UpperCp1252(Trim(in.tax));
    std::int64_t product = in.quantity * in.price;  // millionths of the currency
    item.gross = in.round ? (product + 5000) / 10000 : product / 10000;
    if (item.gross <= 0 || in.discount >= item.gross + in.surcharge) return c.Refuse(0, st2::kNotExecuted);
    Coupon& coupon = s.docs.coupon;
    item.number = static_cast<int>(coupon.items.size()) + 1;
    if (item.number > 999) return c.Refuse(0, st2::kNotExecuted);
    item.code = Cp1252ToUtf8(in.code);
    item.description = Cp1252ToUtf8(Trim(in.description));
    item.unit = Cp1252ToUtf8(in.unit);
    item.quantity = in.quantity;
    item.price = in.price;
    item.discount = in.discount;
    item.surcharge = in.surcharge;
    item.total = item.gross - in.discount + in.surcharge;
    coupon.items.push_back(item);

    s.day.gross += item.gross + item.surcharge;
    s.day.discounts += item.discount;
    s.day.surcharges += item.surcharge;
    s.counters.grandTotal += item.gross + item.surcharge;
    AddToTax(s, item, item.total);

    c.Print(Digits(item.number, 3) + " " + in.code + " " + Trim(in.description));
    c.Print(Columns("     " + Quantity(item.quantity) + Call::Utf8(item.unit) + " x " + Price(item.price),
                    RateLabel(s, item) + "  " + Money(item.gross)));
    if (item.discount > 0) c.Print(Columns("  desconto item", "-" + Money(item.discount)));
    if (item.surcharge > 0) c.Print(Columns(Call::Utf8("  acréscimo item"), "+" + Money(item.surcharge)));
    return kOk;
}

}  // namespace

int OpenCoupon(Call& c, const std::string& taxNumber, const std::string& name, const std::string& address) {
    if (int rc = CheckNewDocument(c, DocKind::Coupon)) return rc;
    if (taxNumber.size() > 29 || name.size() > 30 || address.size() > 80) return kBadArgument;
    State& s = c.s;
    StartDocument(c, DocKind::Coupon, "CUPOM FISCAL");
    Coupon coupon;
    coupon.coo = s.counters.coo;
    coupon.ccf = s.counters.ccf;
    coupon.taxNumber = Cp1252ToUtf8(taxNumber);
    coupon.name = Cp1252ToUtf8(name);
    coupon.address = Cp1252ToUtf8(address);
    s.docs.coupon = coupon;
    s.docs.couponOpen = true;
    if (!Trim(taxNumber).empty()) c.Print("CPF/CNPJ consumidor: " + Trim(taxNumber));
    if (!Trim(name).empty()) c.Print("Nome: " + Trim(name));
    if (!Trim(address).empty()) c.Print(Call::Utf8("Endereço: ") + Trim(address));
    c.Print(Call::Utf8("ITEM CÓDIGO DESCRIÇÃO"));
    c.Print(Call::Utf8("     QTD.UN. x VL.UNIT(R$)      ST  VL.ITEM(R$)"));
    return kOk;
}

namespace {

// Undoes the amounts of a coupon that is cancelled.
void CancelAmounts(State& s, const Coupon& coupon) {
    for (const auto& item : coupon.items)
        if (!item.cancelled) AddToTax(s, item, -item.total);
    s.day.cancellations += CouponTotal(coupon);
    for (const auto& p : coupon.payments)
        for (auto& m : s.payments)
            if (m.name == p.method) m.day -= p.amount;
    if (coupon.change > 0 && !coupon.payments.empty())
        for (auto& m : s.payments)
            if (m.name == coupon.payments.back().method) m.day += coupon.change;
    ++s.day.cancelledCoupons;
}

}  // namespace
}  // namespace orb::sim::fiscal

using namespace orb::sim;
using namespace orb::sim::fiscal;

ORB_SIM_ENTRY(Bematech_FI_AbreCupom)(char* taxNumber) {
    return Run(__func__, {In(taxNumber)}, [](Call& c) { return OpenCoupon(c, c.Text(0), "", ""); });
}

ORB_SIM_ENTRY(Bematech_FI_AbreCupomMFD)(char* taxNumber, char* name, char* address) {
    return Run(__func__, {In(taxNumber), In(name), In(address)},
               [](Call& c) { return OpenCoupon(c, c.Text(0), c.Text(1), c.Text(2)); });
}

ORB_SIM_ENTRY(Bematech_FI_VendeItem)
(char* code, char* description, char* tax, char* quantityKind, char* quantity, int priceDecimals, char* unitPrice,
 char* discountKind, char* discount) {
    return Run(__func__,
               {In(code), In(description), In(tax), In(quantityKind), In(quantity), Int(priceDecimals), In(unitPrice),
                In(discountKind), In(discount)},
               [](Call& c) {
                   ItemInput in;
                   in.code = c.Text(0);
                   in.description = c.Text(1);
                   in.tax = c.Text(2);
                   std::string kind = UpperCp1252(c.Text(3));
                   std::int64_t q = 0, p = 0, d = 0;
                   if (kind == "I") {
                       if (!Fixed(c.Text(4), 4, q)) return kBadArgument;
                       q *= 1000;
                   } else if (kind == "F") {
                       if (!Fixed(c.Text(4), 7, q)) return kBadArgument;
                   } else {
                       return kBadArgument;
                   }
                   int decimals = c.Int(5);
                   if ((decimals != 2 && decimals != 3) || !Fixed(c.Text(6), 8, p)) return kBadArgument;
                   in.price = decimals == 2 ? p * 10 : p;
                   in.quantity = q;
                   std::string dk = c.Text(7);
                   if (!Fixed(c.Text(8), 8, d) || (dk != "$" && dk != "%")) return kBadArgument;
                   std::int64_t gross = in.quantity * in.price / 10000;
                   in.discount = dk == "$" ? d : gross * d / 10000;
                   return RegisterItem(c, in);
               });
}

ORB_SIM_ENTRY(Bematech_FI_VendeItemDepartamento)
(char* code, char* description, char* tax, char* unitPrice, char* quantity, char* surcharge, char* discount,
 char* department, char* unit) {
    return Run(__func__,
               {In(code), In(description), In(tax), In(unitPrice), In(quantity), In(surcharge), In(discount),
                In(department), In(unit)},
               [](Call& c) {
                   ItemInput in;
                   in.code = c.Text(0);
                   in.description = c.Text(1);
                   in.tax = c.Text(2);
                   in.unit = c.Text(8);
                   std::int64_t department = 0;
                   if (!Fixed(c.Text(3), 9, in.price) || !Fixed(c.Text(4), 7, in.quantity) ||
                       !Fixed(c.Text(5), 8, in.surcharge) || !Fixed(c.Text(6), 8, in.discount) ||
                       !Fixed(c.Text(7), 2, department))
                       return kBadArgument;
                   return RegisterItem(c, in);
               });
}

ORB_SIM_ENTRY(Bematech_FI_VendeItemArredondamentoMFD)
(char* code, char* description, char* tax, char* unit, char* quantity, char* unitPrice, char* surcharge, char* discount,
 int round) {
    return Run(__func__,
               {In(code), In(description), In(tax), In(unit), In(quantity), In(unitPrice), In(surcharge), In(discount),
                Int(round)},
               [](Call& c) {
                   ItemInput in;
                   in.code = c.Text(0);
                   in.description = c.Text(1);
                   in.tax = c.Text(2);
                   in.unit = c.Text(3);
                   in.round = c.Int(8) != 0;
                   if (!Fixed(c.Text(4), 7, in.quantity) || !Fixed(c.Text(5), 8, in.price) ||
                       !Fixed(c.Text(6), 8, in.surcharge) || !Fixed(c.Text(7), 8, in.discount))
                       return kBadArgument;
                   return RegisterItem(c, in);
               });
}

ORB_SIM_ENTRY(Bematech_FI_AumentaDescricaoItem)(char* description) {
    return Run(__func__, {In(description)}, [](Call& c) {
        std::string d = c.Text(0);
        if (Trim(d).empty() || d.size() > 200) return kBadArgument;
        c.s.docs.itemDescription = d;  // code page 1252, consumed by the next item
        return kOk;
    });
}

namespace {

int CancelItem(Call& c, int number) {
    State& s = c.s;
    if (!s.docs.couponOpen) return c.Refuse(0, st2::kNotExecuted);
    Coupon& coupon = s.docs.coupon;
    if (coupon.phase != "items") return c.Refuse(0, st2::kCancelNotAllowed);
    auto it = std::find_if(coupon.items.begin(), coupon.items.end(), [&](const Item& i) { return i.number == number; });
    if (it == coupon.items.end() || it->cancelled) return c.Refuse(0, st2::kCancelNotAllowed);
    if (int rc = CheckPrinting(c)) return rc;
    it->cancelled = true;
    s.day.cancellations += it->total;
    AddToTax(s, *it, -it->total);
    c.Print(Columns("CANCELAMENTO ITEM " + Digits(it->number, 3), "-" + Money(it->total)));
    return kOk;
}

}  // namespace

ORB_SIM_ENTRY(Bematech_FI_CancelaItemGenerico)(char* item) {
    return Run(__func__, {In(item)}, [](Call& c) {
        std::int64_t n = 0;
        if (!Fixed(c.Text(0), 4, n) || n == 0) return kBadArgument;
        return CancelItem(c, static_cast<int>(n));
    });
}

ORB_SIM_ENTRY(Bematech_FI_CancelaItemAnterior)(void) {
    return Run(__func__, {}, [](Call& c) {
        const auto& items = c.s.docs.coupon.items;
        return CancelItem(c, c.s.docs.couponOpen && !items.empty() ? items.back().number : 0);
    });
}

ORB_SIM_ENTRY(Bematech_FI_IniciaFechamentoCupom)(char* discountOrSurcharge, char* kind, char* value) {
    return Run(__func__, {In(discountOrSurcharge), In(kind), In(value)}, [](Call& c) {
        State& s = c.s;
        if (!s.docs.couponOpen || s.docs.coupon.phase != "items") return c.Refuse(0, st2::kNotExecuted);
        std::string which = UpperCp1252(c.Text(0)), unit = c.Text(1);
        std::int64_t v = 0;
        if ((which != "D" && which != "A") || (unit != "$" && unit != "%") || !ParseMoney(c.Text(2), v))
            return kBadArgument;
        Coupon& coupon = s.docs.coupon;
        std::int64_t sub = Subtotal(coupon);
        if (sub <= 0) return c.Refuse(0, st2::kNotExecuted);
        if (int rc = CheckPrinting(c)) return rc;
        std::int64_t amount = unit == "$" ? v : sub * v / 10000;
        if (which == "D" && amount >= sub) return c.Refuse(0, st2::kNotExecuted);
        coupon.adjustKind = which == "D" ? "d" : "a";
        coupon.adjustment = amount;
        coupon.phase = "paying";
        if (which == "D") {
            s.day.discounts += amount;
        } else {
            s.day.surcharges += amount;
            s.day.gross += amount;
            s.counters.grandTotal += amount;
        }
        c.Print(Columns("SUBTOTAL R$", Money(sub)));
        if (amount > 0)
            c.Print(which == "D" ? Columns("DESCONTO R$", "-" + Money(amount))
                                 : Columns(Call::Utf8("ACRÉSCIMO R$"), "+" + Money(amount)));
        c.Print(Columns("TOTAL R$", Money(CouponTotal(coupon))));
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_EfetuaFormaPagamento)(char* method, char* amount) {
    return Run(__func__, {In(method), In(amount)}, [](Call& c) {
        State& s = c.s;
        if (!s.docs.couponOpen || s.docs.coupon.phase != "paying") return c.Refuse(0, st2::kNotExecuted);
        std::string wanted = UpperCp1252(Trim(c.Text(0)));
        PaymentMethod* found = nullptr;
        for (auto& m : s.payments)
            if (!wanted.empty() && UpperCp1252(Trim(Call::Utf8(m.name))) == wanted) found = &m;
        if (!found) return kPaymentNotProgrammed;
        std::int64_t v = 0;
        if (!ParseMoney(c.Text(1), v) || v <= 0) return kBadArgument;
        if (int rc = CheckPrinting(c)) return rc;
        Coupon& coupon = s.docs.coupon;
        coupon.payments.push_back({found->name, v});
        coupon.paid += v;
        found->day += v;
        if (coupon.paid >= CouponTotal(coupon)) coupon.phase = "paid";
        c.Print(Columns(Call::Utf8(found->name), Money(v)));
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_TerminaFechamentoCupom)(char* footer) {
    return Run(__func__, {In(footer)}, [](Call& c) {
        State& s = c.s;
        // Ending needs the closing started and the total paid in full.
        if (!s.docs.couponOpen || s.docs.coupon.phase != "paid") return c.Refuse(0, st2::kNotExecuted);
        std::string text = c.Text(0);
        std::size_t lines = 0, start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            std::size_t len = (end == std::string::npos ? text.size() : end) - start;
            if (len > 0 && text[start + len - 1] == '\r') --len;
            lines += len == 0 ? 1 : (len + kColumns - 1) / kColumns;
            if (end == std::string::npos) break;
            start = end + 1;
        }
        if (lines > 8) return kBadArgument;  // the footer holds eight lines of 48 columns
        if (int rc = CheckPrinting(c)) return rc;
        Coupon& coupon = s.docs.coupon;
        coupon.change = coupon.paid - CouponTotal(coupon);
        if (coupon.change > 0) {
            for (auto& m : s.payments)
                if (m.name == coupon.payments.back().method) m.day -= coupon.change;
            c.Print(Columns("TROCO R$", Money(coupon.change)));
        }
        if (!text.empty()) {
            c.Print(Dashes());
            c.PrintText(text);
        }
        EndDocument(c);
        coupon.phase = "ended";
        s.docs.couponOpen = false;
        s.docs.lastCancellable = true;
        s.docs.slipPending = false;
        return kOk;
    });
}

namespace orb::sim::fiscal {

int CancelCoupon(Call& c) {
    State& s = c.s;
    Coupon& coupon = s.docs.coupon;
    if (s.docs.couponOpen) {
        if (int rc = CheckPrinting(c)) return rc;
        CancelAmounts(s, coupon);
        coupon.cancelled = true;
        coupon.phase = "ended";
        s.docs.couponOpen = false;
        s.docs.lastCancellable = false;
        c.Print(Center("CUPOM FISCAL CANCELADO", kColumns));
        c.Print(Columns("TOTAL R$", Money(CouponTotal(coupon))));
        EndDocument(c);
        return kOk;
    }
    // The last coupon, while nothing but its own linked slips (reversed) came after it.
    if (!s.docs.lastCancellable || coupon.cancelled || s.docs.slipPending) return c.Refuse(0, st2::kCancelNotAllowed);
    if (int rc = CheckNewDocument(c, DocKind::Cancellation)) return rc;
    CancelAmounts(s, coupon);
    coupon.cancelled = true;
    StartDocument(c, DocKind::Cancellation, "CUPOM FISCAL CANCELADO");
    c.Print(Columns("COO DO CUPOM CANCELADO:", Digits(coupon.coo, 6)));
    c.Print(Columns("CCF DO CUPOM CANCELADO:", Digits(coupon.ccf, 6)));
    c.Print(Columns("VALOR DO CUPOM CANCELADO R$", Money(CouponTotal(coupon))));
    EndDocument(c);
    return kOk;
}

}  // namespace orb::sim::fiscal

ORB_SIM_ENTRY(Bematech_FI_CancelaCupom)(void) { return Run(__func__, {}, CancelCoupon); }

ORB_SIM_ENTRY(Bematech_FI_Acrescimos)(char* outSurcharges) {
    return Run(__func__, {Area(outSurcharges)}, [](Call& c) {
        c.Answer(0, Digits(c.s.day.surcharges, 14));
        return kOk;
    });
}
