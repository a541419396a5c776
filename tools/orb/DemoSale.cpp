#include "DemoSale.h"

#include <cmath>
#include <ostream>

#include "ClosingValues.h"
#include "DemoView.h"
#include "bridge/Bridge.h"
#include "framework/Cp1252.h"
#include "framework/DateTime.h"
#include "framework/NumberFormat.h"
#include "framework/Variant.h"

namespace orb::cli::demo {

namespace {

constexpr std::size_t kStepColumns = 34;
constexpr std::size_t kRequestColumns = 74;

// ---- what is sold --------------------------------------------------------------------------

struct Dish {
    const char* code;
    const char* name;
    const char* taxKind;  // "T" sales tax at rate, "F" tax substitution, "I" exempt
    double rate;          // percent, for "T"
    int quantity;
    std::int64_t priceCents;
};

const Dish kDishes[] = {
    {"1001", "Picanha na chapa", "T", 18.0, 1, 8990},
    {"1002", "Moqueca de peixe", "T", 12.0, 1, 7250},
    {"2001", "Refrigerante lata", "F", 0.0, 2, 650},
    {"3001", "Salada de frutas", "I", 0.0, 1, 900},
};

// Payment types of the host: code, kind, the name the coupon shows.
const char* const kCash = "001";
const char* const kCard = "002";
constexpr std::int64_t kCardCents = 8000;
constexpr std::int64_t kCashCents = 15000;
// The discount brings the bill to a round figure.
constexpr std::int64_t kDiscountCents = 440;
// Share of the sale that the host's tax table estimates as federal tax (13,45 %).
constexpr std::int64_t kFederalShare = 1345;

double Money(std::int64_t cents) { return static_cast<double>(cents) / 100.0; }

Json Pair(const char* name, Json value) { return Json::array({name, std::move(value)}); }

Json CallRequest(const char* name, Json args) { return Json{{"call", name}, {"args", std::move(args)}}; }

// ---- reading replies -----------------------------------------------------------------------

std::string Text(const Json& value) { return value.is_string() ? value.get<std::string>() : value.dump(); }

std::string DialogSummary(const Json& dialogs) {
    std::string said;
    for (const Json& d : dialogs) {
        if (!said.empty()) said += "; ";
        said += "\"" + PaperText(d.value("text", "")) + "\"";
        if (d.value("question", "N") == "S") said += " (asked, answered " + d.value("answer", "N") + ")";
    }
    return said;
}

// The body of {"dataset": {...}} in an argument the module gave back.
const Json& DatasetBody(const Json& value, const std::string& step) {
    if (!value.is_object() || !value.contains("dataset") || !value["dataset"].is_object())
        throw DemoFailure(step, "the table did not come back");
    return value["dataset"];
}

std::size_t FieldIndex(const Json& body, const char* field, const std::string& step) {
    const Json& fields = body.value("fields", Json::array());
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].value("name", "") == field) return i;
    throw DemoFailure(step, std::string("the table has no field ") + field);
}

// The printer's code for a dish's tax, from the rate table the module built.
std::string TaxCode(const Json& rates, const Dish& dish) {
    const std::string step = "CarregaAliquota";
    const std::size_t code = FieldIndex(rates, "CDALIQIMPFIS", step);
    const std::size_t value = FieldIndex(rates, "VRALIQIMPFIS", step);
    const std::size_t kind = FieldIndex(rates, "IDALIQIMPFIS", step);
    for (const Json& row : rates.value("rows", Json::array())) {
        if (row.at(kind) != dish.taxKind) continue;
        if (std::string(dish.taxKind) == "T" &&
            !(row.at(value).is_number() && std::fabs(row.at(value).get<double>() - dish.rate) < 0.005))
            continue;
        return Text(row.at(code));
    }
    const std::string wanted = std::string(dish.taxKind) == "T"
                                   ? "a sales-tax rate of " + fw::FormatFloat("0.00", dish.rate) + " %"
                                   : std::string("the tax situation ") + dish.taxKind;
    throw DemoFailure(step, "the printer has no code for " + wanted + " (" + dish.name + ")");
}

// A payment type the printer refused is deleted from the host's table by the reconciliation.
void RequirePaymentType(const Json& payments, const char* type) {
    const std::string step = "CarregaRecebimento";
    const std::size_t code = FieldIndex(payments, "CDTIPORECE", step);
    const std::size_t name = FieldIndex(payments, "NMTIPORECE", step);
    for (const Json& row : payments.value("rows", Json::array()))
        if (row.at(code) == type && !Text(row.at(name)).empty()) return;
    throw DemoFailure(step, std::string("the printer did not take the payment type ") + type);
}

// ---- the requests --------------------------------------------------------------------------

Json StartRequest() {
    return CallRequest(
        "StartImpFiscal",
        Json::array({Json::array({Pair("CDFILIAL", "0001"), Pair("CDCAIXA", "001"), Pair("NRSERIEIMP", kSerial),
                                  Pair("ESQUEMA", kScheme), Pair("CDPORTAIMPFIS", "COM1"), Pair("IDTIPOIMPFIS", kModel),
                                  Pair("BOUTILTAA", false)})}));
}

Json HostPaymentTypes() {
    Json fields = Json::array();
    for (auto [name, size] : {std::pair{"CDTIPORECE", 3},
                              {"NMTIPORECE", 40},
                              {"IDEMIVALE", 1},
                              {"CDFPIMPFIS", 10},
                              {"IDTIPORECE", 1},
                              {"IDTPBUTTON", 1},
                              {"DSIMPFISCAL", 50},
                              {"IDMOSTRARECE", 1}})
        fields.push_back(Json{{"name", name}, {"type", "string"}, {"size", size}});
    // Payment buttons ("5"), shown ("S"); the name is the one to print on the coupon.
    Json rows = Json::array({Json::array({kCash, "", "", "", "1", "5", "Dinheiro", "S"}),
                             Json::array({kCard, "", "", "", "2", "5", "Cartão Crédito", "S"})});
    return Json{{"dataset", {{"fields", fields}, {"rows", rows}}}};
}

Json OpeningRequest() {
    return CallRequest(
        "AbreCupom",
        Json::array({Json::array({Pair("ESQUEMACOR", kScheme), Pair("INTTEFERRO", 0),
                                  Pair("INCLUICPF", "111.444.777-35"), Pair("INCLUINOME", "Maria Souza"),
                                  Pair("INCLUIENDERECO", "Rua das Palmeiras, 45 - São Paulo"), Pair("CUPNR", ""),
                                  Pair("CONTCUPOM", ""), Pair("IDUTILTEF", "N"), Pair("UTILTEF", false)})}));
}

Json ItemRequest(const Dish& dish, const std::string& taxCode) {
    const std::string rate = std::string(dish.taxKind) == "T" ? fw::FormatFloat("0.00", dish.rate) : "";
    return CallRequest(
        "VendaItem",
        Json::array({Json::array({Pair("ESQUEMACOR", kScheme), Pair("INTEFERRO", 0), Pair("CDARVPROD", dish.code),
                                  Pair("NMPROD", dish.name), Pair("CDALIQ", taxCode),
                                  Pair("QTDE", double(dish.quantity)), Pair("VALOR", Money(dish.priceCents)),
                                  Pair("DESCONT", 0.0), Pair("UNIDADE", "UN"), Pair("VRPERCALIQ", rate),
                                  Pair("IDUTILTEF", "N"), Pair("UTILTEF", false), Pair("ACRESCIMO", 0.0)})}));
}

// The payments, a minute apart: they go to the printer in the order they were taken.
fw::Variant Movements(const std::vector<std::pair<const char*, std::int64_t>>& payments) {
    const fw::TDateTime now = fw::Now();
    std::vector<ClosingMovement> movements;
    for (const auto& [type, cents] : payments)
        movements.push_back({.type = type,
                             .amount = Money(cents),
                             .taken = fw::TDateTime(now.value + static_cast<double>(movements.size()) / 1440.0)});
    return ClosingMovements(movements);
}

struct Closing {
    std::int64_t discount, change, federalTax, stateTax;
    fw::Variant movements, paymentTypes;
};

Json ClosingRequest(const Closing& c) {
    return FechaCupomRequest({.changeTotalizer = "",  // the change is paid from the till, no receipt of its own
                              .firstText = CP("Obrigado pela preferência!"),
                              .scheme = kScheme,
                              .discount = Money(c.discount),
                              .change = Money(c.change),
                              .freeText = "Volte sempre!",
                              .movements = c.movements,
                              .paymentTypes = c.paymentTypes,
                              .table = "12",
                              .operatorCode = "07",
                              .operatorName = "Ana",
                              .password = "042",                 // printed large
                              .stateProgrammeNumber = "000157",  // the host's sale number, handed back
                              .companyCnpj = "11.222.333/0001-81",
                              .federalTax = Money(c.federalTax),
                              .stateTax = Money(c.stateTax)});
}

}  // namespace

// ---- the session ---------------------------------------------------------------------------

void Session::Show(std::string_view step, const Json& request, std::string_view outcome) {
    std::string line = "  > " + std::string(step);
    line += std::string(line.size() < kStepColumns ? kStepColumns - line.size() : 1, ' ');
    out_ << line << outcome << "\n      " << OneLine(request, kRequestColumns) << "\n";
    out_.flush();
}

Json Session::Send(std::string_view step, const Json& request) {
    requests_.push_back(request);
    Json reply = HandleRequest(request);
    if (reply.contains("error")) {
        Show(step, request, "FAILED");
        throw DemoFailure(std::string(step), PaperText(Text(reply["error"])));
    }
    std::string outcome = "ok";
    if (reply.contains("call")) outcome = reply["result"].is_null() ? "done" : "result " + reply["result"].dump();
    Show(step, request, outcome);
    return reply;
}

Json Session::Call(std::string_view step, const Json& request) {
    Json reply = Send(step, request);
    const Json dialogs = reply.value("dialogs", Json::array());
    if (reply["result"] == false) {
        std::string why = "the module answered false";
        why += dialogs.empty() ? " without showing a message" : "; it said " + DialogSummary(dialogs);
        throw DemoFailure(std::string(step), why);
    }
    if (reply.value("terminate", false))
        throw DemoFailure(std::string(step),
                          "the module repaired the printer library's configuration and asked the host to close; "
                          "run the demo again");
    for (const Json& d : dialogs) out_ << "      message: " << DialogSummary(Json::array({d})) << "\n";
    return reply;
}

// ---- the sale ------------------------------------------------------------------------------

void RunSale(Session& session, SaleRecord& record) {
    session.Send("reset the virtual printer", Json{{"sim", "reset"}, {"model", kModel}, {"serial", kSerial}});
    session.Call("StartImpFiscal", StartRequest());
    record.started = true;

    // The printer's configuration, as a host loads it at start-up.
    Json slots = session.Call(
        "CarregaTotalizador",
        CallRequest("CarregaTotalizador", Json::array({"", "", "", "", "", kScheme, kModel, nullptr})))["args"];
    const char* const kTotalizers[] = {"voucher issued", "consumer sale", "credit purchase", "credit cancellation",
                                       "reports"};
    for (std::size_t i = 0; i < 5; ++i) record.totalizers.emplace_back(kTotalizers[i], Text(slots.at(i)));

    Json rates = session.Call(
        "CarregaAliquota", CallRequest("CarregaAliquota", Json::array({kScheme, Json{{"dataset", Json::object()}}})));
    record.rates = DatasetBody(rates["args"].at(1), "CarregaAliquota");

    Json payments =
        session.Call("CarregaRecebimento",
                     CallRequest("CarregaRecebimento", Json::array({"", kScheme, kModel, HostPaymentTypes()})));
    record.payments = DatasetBody(payments["args"].at(3), "CarregaRecebimento");
    // Both payment types of the sale must have survived the reconciliation.
    RequirePaymentType(record.payments, kCash);
    RequirePaymentType(record.payments, kCard);

    // The coupon: only what the sale prints is kept from the roll.
    session.Send("clear the paper roll", Json{{"sim", "roll"}, {"clear", true}});
    record.opening = session.Call("AbreCupom", OpeningRequest())["args"].at(0);

    std::int64_t stateTax = 0;
    for (const Dish& dish : kDishes) {
        Json reply =
            session.Call(std::string("VendaItem: ") + dish.name, ItemRequest(dish, TaxCode(record.rates, dish)));
        record.items.emplace_back(dish.name, reply["args"].at(0));
        const std::int64_t cents = dish.priceCents * dish.quantity;
        record.subtotal += cents;
        if (std::string(dish.taxKind) == "T") stateTax += std::llround(static_cast<double>(cents) * dish.rate / 100.0);
    }
    record.discount = kDiscountCents;
    record.total = record.subtotal - record.discount;
    record.change = kCardCents + kCashCents - record.total;

    Closing closing;
    closing.discount = record.discount;
    closing.change = record.change;
    closing.federalTax = record.total * kFederalShare / 10000;
    closing.stateTax = stateTax;
    closing.movements = Movements({{kCard, kCardCents}, {kCash, kCashCents}});
    closing.paymentTypes =
        VariantFromJson(Json{{"dataset", {{"fields", record.payments["fields"]}, {"rows", record.payments["rows"]}}}});
    record.closing = session.Call("FechaCupom", ClosingRequest(closing))["args"].at(2);

    record.coupon = Text(session.Send("read the paper roll", Json{{"sim", "roll"}, {"clear", true}})["roll"]);
    const Json state = session.Send("read the printer's state", Json{{"sim", "state"}});
    if (state.value("docs", Json::object()).value("couponOpen", true))
        throw DemoFailure("FechaCupom", "the closing went through but the printer still holds the coupon open");

    Json reading = session.Call("Leitura_X_Imp", CallRequest("Leitura_X_Imp", Json::array({kSerial, "", kScheme, ""})));
    record.readingLedger = reading.value("ledger", Json::array());
    // Left on the roll, so that `orb roll` after the demonstration (or its replay) shows it.
    record.reading = Text(session.Send("read the paper roll", Json{{"sim", "roll"}})["roll"]);
}

void StopModule(Session& session) {
    session.Call("FechaPorta", CallRequest("FechaPorta", Json::array()));
    session.Send("StopImpFiscal", CallRequest("StopImpFiscal", Json::array()));
}

}  // namespace orb::cli::demo
