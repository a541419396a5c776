// BemaSim_Control: the virtual printer's control for tests, the command-line host and
// integrators. One JSON object per request; the command is named by "sim" (or "command").
#include <stdexcept>
#include "common/SimExport.h"

#include "fiscal/Entry.h"

using namespace orb::sim;
using namespace orb::sim::fiscal;
using nlohmann::json;

namespace {

std::int64_t ParseDateTime(const std::string& text) {
    // 2026-12-05T14:30:05 (or with a blank instead of the T)
    Moment m;
    if (text.size() < 19 || text[4] != '-' || text[7] != '-' || (text[10] != 'T' && text[10] != ' ') ||
        text[13] != ':' || text[16] != ':')
        throw std::invalid_argument("datetime must read yyyy-mm-ddThh:mm:ss");
    auto num = [&](std::size_t at, std::size_t len) {
        std::string part = text.substr(at, len);
        if (!AllDigits(part)) throw std::invalid_argument("datetime must read yyyy-mm-ddThh:mm:ss");
        return std::stoi(part);
    };
    m.year = num(0, 4);
    m.month = num(5, 2);
    m.day = num(8, 2);
    m.hour = num(11, 2);
    m.minute = num(14, 2);
    m.second = num(17, 2);
    if (m.month < 1 || m.month > 12 || m.day < 1 || m.day > 31 || m.hour > 23 || m.minute > 59 || m.second > 59)
        throw std::invalid_argument("datetime out of range: " + text);
    return SecondsFromMoment(m);
}

// fail and answer name an entry point: a name the printer does not have would never fire.
void RequireEntry(const std::string& name) {
#define ORB_SIM_NAME(entry, params) #entry,
    static const char* const kNames[] = {ORB_FISCAL_ENTRY_POINTS(ORB_SIM_NAME) ORB_RAW_ENTRY_POINTS(ORB_SIM_NAME)};
#undef ORB_SIM_NAME
    for (const char* known : kNames)
        if (name == known) return;
    throw std::invalid_argument("no entry point named '" + name + "'");
}

std::string Str(const json& j, const char* key, const std::string& fallback = "") {
    return j.contains(key) && j[key].is_string() ? j[key].get<std::string>() : fallback;
}

int IntField(const json& j, const char* key, int fallback) {
    if (!j.contains(key) || j[key].is_null()) return fallback;
    if (!j[key].is_number_integer()) throw std::invalid_argument(std::string(key) + " must be an integer");
    return j[key].get<int>();
}

bool BoolField(const json& j, const char* key) {
    if (!j.contains(key) || !j[key].is_boolean())
        throw std::invalid_argument(std::string(key) + " must be true or false");
    return j[key].get<bool>();
}

void Reset(const json& req, State& s, Journal& journal) {
    int model = IntField(req, "model", 34);
    if (!KnownModel(model)) throw std::invalid_argument("model must be 14, 18, 19, 27 or 34");
    State fresh = FactoryState(model);
    if (req.contains("datetime")) fresh.hw.clockOffset = ParseDateTime(Str(req, "datetime")) - ComputerSeconds();
    Moment now = PrinterNow(fresh);
    fresh.id.userRecorded = now.Display();
    fresh.id.softwareRecorded = now.Display();
    if (req.contains("serial")) {
        std::string serial = Str(req, "serial");
        if (serial.empty() || Utf8ToCp1252(serial).size() > 20)
            throw std::invalid_argument("serial: 1 to 20 characters");
        fresh.id.serial = serial;
    }
    if (req.contains("till")) fresh.id.till = Digits(IntField(req, "till", 1), 4);
    if (req.contains("firmware")) fresh.id.firmware = Str(req, "firmware");
    if (req.contains("owner")) {
        const json& o = req["owner"];
        fresh.id.ownerName = Str(o, "name", fresh.id.ownerName);
        fresh.id.ownerAddress = Str(o, "address", fresh.id.ownerAddress);
        fresh.id.cnpj = Str(o, "cnpj", fresh.id.cnpj);
        fresh.id.ie = Str(o, "ie", fresh.id.ie);
        fresh.id.im = Str(o, "im", fresh.id.im);
    }
    if (req.contains("rates")) {
        fresh.rates.clear();
        for (const auto& r : req["rates"]) {
            if (!r.contains("value") || !r["value"].is_number()) throw std::invalid_argument("rates: value");
            double v = r["value"].get<double>();
            if (v <= 0 || v >= 100) throw std::invalid_argument("rates: value between 0 and 100");
            fresh.rates.push_back({static_cast<std::int64_t>(v * 100 + 0.5), r.value("service", false), 0});
        }
        if (fresh.rates.size() > static_cast<std::size_t>(kRateCapacity))
            throw std::invalid_argument("at most 16 rates");
    }
    if (req.contains("payments")) {
        fresh.payments.clear();
        for (const auto& p : req["payments"]) {
            std::string name = p.is_string() ? p.get<std::string>() : Str(p, "name");
            bool linkable = p.is_object() && p.value("linkable", false);
            if (name.empty() || Utf8ToCp1252(name).size() > PaymentNameWidth(model))
                throw std::invalid_argument("payments: names of 1 to 16 characters");
            fresh.payments.push_back({name, linkable, 0});
        }
        if (fresh.payments.size() > static_cast<std::size_t>(kPaymentCapacity))
            throw std::invalid_argument("at most 20 payments");
    }
    if (req.contains("totalizers")) {
        for (const auto& t : req["totalizers"]) {
            std::string name = t.get<std::string>();
            fresh.totalizers.push_back({Cp1252ToUtf8(Utf8ToCp1252(name).substr(0, TotalizerNameWidth(model))), 0, 0});
        }
        if (fresh.totalizers.size() > static_cast<std::size_t>(TotalizerCapacity(model)))
            throw std::invalid_argument("too many totalizers for this model");
    }
    if (req.contains("reports")) {
        std::size_t i = 0;
        for (const auto& r : req["reports"]) {
            if (i >= fresh.reports.size()) throw std::invalid_argument("at most 30 reports");
            fresh.reports[i++].title = Cp1252ToUtf8(Utf8ToCp1252(r.get<std::string>()).substr(0, 17));
        }
    }
    s = fresh;
    journal.Clear("journal");
    journal.Clear("roll");
}

json Handle(const json& req, State& s, Journal& journal) {
    std::string command = req.contains("sim") ? Str(req, "sim") : Str(req, "command");
    if (command == "reset") {
        Reset(req, s, journal);
        return {{"ok", true}, {"model", s.id.model}, {"serial", s.id.serial}};
    }
    if (command == "fail") {
        Injection inj;
        inj.entry = Str(req, "entry");
        RequireEntry(inj.entry);
        inj.returnCode = IntField(req, "return", 0);
        inj.times = IntField(req, "times", 1);
        inj.withStatus = req.contains("ack") || req.contains("st1") || req.contains("st2");
        inj.ack = IntField(req, "ack", 6);
        inj.st1 = IntField(req, "st1", 0);
        inj.st2 = IntField(req, "st2", 0);
        if (inj.times < 1) throw std::invalid_argument("fail: times must be at least 1");
        s.faults.failures.push_back(inj);
        return {{"ok", true}};
    }
    if (command == "status") {
        ForcedStatus f{IntField(req, "ack", 6), IntField(req, "st1", 0), IntField(req, "st2", 0),
                       IntField(req, "times", 1)};
        if (f.times < 1) throw std::invalid_argument("status: times must be at least 1");
        s.faults.statuses.push_back(f);
        return {{"ok", true}};
    }
    if (command == "answer") {
        ForcedAnswer a;
        a.entry = Str(req, "entry");
        RequireEntry(a.entry);
        if (!req.contains("values") || !req["values"].is_array()) throw std::invalid_argument("answer: values");
        for (const auto& v : req["values"]) a.values.push_back(v.get<std::string>());
        a.times = IntField(req, "times", 1);
        if (a.times < 1) throw std::invalid_argument("answer: times must be at least 1");
        s.faults.answers.push_back(a);
        return {{"ok", true}};
    }
    if (command == "extended") {
        s.faults.extended = IntField(req, "value", -1);
        return {{"ok", true}, {"extended", ExtendedStatus(s)}};
    }
    if (command == "paper") {
        std::string state = Str(req, "state");
        if (state != "ok" && state != "low" && state != "out")
            throw std::invalid_argument("paper: state ok, low or out");
        s.hw.paper = state;
        return {{"ok", true}};
    }
    if (command == "cover") {
        s.hw.coverOpen = BoolField(req, "open");
        return {{"ok", true}};
    }
    if (command == "power") {
        s.hw.power = BoolField(req, "on");
        return {{"ok", true}};
    }
    if (command == "drawer") {
        s.hw.drawerOpen = BoolField(req, "open");
        return {{"ok", true}};
    }
    if (command == "clock") {
        if (req.contains("datetime"))
            s.hw.clockOffset = ParseDateTime(Str(req, "datetime")) - ComputerSeconds();
        else if (req.contains("offset_seconds") && req["offset_seconds"].is_number_integer()) {
            // A century either way is more than any test needs, and keeps the date arithmetic
            // far from overflowing.
            constexpr std::int64_t kCentury = 100LL * 366 * 86400;
            const std::int64_t offset = req["offset_seconds"].get<std::int64_t>();
            if (offset < -kCentury || offset > kCentury)
                throw std::invalid_argument("clock: offset_seconds within a hundred years either way");
            s.hw.clockOffset = offset;
        } else
            throw std::invalid_argument("clock: offset_seconds or datetime");
        return {{"ok", true}, {"datetime", PrinterNow(s).Display()}};
    }
    if (command == "crash") {
        const int after = IntField(req, "after_calls", 0);
        if (after < 1) throw std::invalid_argument("crash: after_calls must be at least 1");
        s.faults.crashAfter = after;
        return {{"ok", true}};
    }
    if (command == "state") return json(s);
    if (command == "journal" || command == "roll") {
        auto rows = journal.Read(command.c_str());
        json reply;
        if (command == "journal") {
            json list = json::array();
            for (const auto& r : rows) list.push_back(json::parse(r));
            reply["journal"] = list;
        } else {
            std::string text;
            for (const auto& r : rows) text += r;
            reply["roll"] = text;
        }
        if (req.value("clear", false)) journal.Clear(command.c_str());
        return reply;
    }
    throw std::invalid_argument("unknown command '" + command + "'");
}

int Reply(const std::string& text, char* reply, int replySize) {
    if (reply && replySize > 0) {
        std::size_t n = std::min(text.size(), static_cast<std::size_t>(replySize - 1));
        std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), reply);
        reply[n] = '\0';
    }
    return static_cast<int>(text.size());
}

}  // namespace

extern "C" ORB_SIM_EXPORT int ORB_VENDOR_CALL BemaSim_Control(const char* requestJson, char* reply, int replySize) {
    try {
        json req = json::parse(requestJson ? requestJson : "");
        if (!req.is_object()) throw std::invalid_argument("the request must be a JSON object");
        json answer;
        bool reset = (req.contains("sim") ? Str(req, "sim") : Str(req, "command")) == "reset";
        WithState([&](State& s, Journal& journal) { answer = Handle(req, s, journal); }, reset);
        return Reply(answer.dump(), reply, replySize);
    } catch (const std::exception& e) {
        Reply(json({{"error", e.what()}}).dump(-1, ' ', false, json::error_handler_t::replace), reply, replySize);
        return -1;
    }
}
