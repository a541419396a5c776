#include "fiscal/FiscalCall.h"

#include <cmath>
#include <cstdlib>
#include <mutex>
#include <string_view>

#include "common/SimStore.h"
#include "common/SimText.h"
#include "framework/DateTime.h"
#include "platform/Platform.h"

namespace orb::sim::fiscal {

namespace {

struct Session {
    std::mutex mutex;
    SimStore store;
    // The serial port, as the operating system would give it: to one process at a time. The lock
    // file beside the state is held from the port's opening to its closing or the process's end.
    platform::FileLock port = 0;
    std::string portFile;
};

// Whether this process may reach the printer: a port another process holds answers nothing
// (and its opening fails as a busy port does). A process that has not opened the port itself
// is let through while nobody holds it, as the tests and the bridge's one-shot calls expect.
bool PortFree(Session& session, const char* entry) {
    if (session.store.InMemory()) return true;
    const std::string file = SideFile(session.store.Path(), ".port");
    if (file != session.portFile) {
        platform::UnlockFile(session.port);
        session.port = 0;
        session.portFile = file;
    }
    if (session.port != 0) return true;
    const platform::FileLock probe = platform::TryLockFile(file);
    if (probe == 0) return false;
    if (std::string_view(entry) == "Bematech_FI_AbrePortaSerial")
        session.port = probe;
    else
        platform::UnlockFile(probe);
    return true;
}

void ClosePort(Session& session) {
    platform::UnlockFile(session.port);
    session.port = 0;
}

Session& TheSession() {
    static Session session;
    return session;
}

std::string Two(int v) { return Digits(v, 2); }

State Load(SimStore& store) {
    std::string doc = store.LoadState();
    if (!doc.empty()) return nlohmann::json::parse(doc).get<State>();
    State s = FactoryState(34);  // a printer never reset: factory-fresh, recorded today
    s.id.userRecorded = s.id.softwareRecorded = PrinterNow(s).Display();
    return s;
}

bool TakeInjection(State& s, const std::string& entry, Injection& taken) {
    auto& list = s.faults.failures;
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (it->entry != entry) continue;
        taken = *it;
        if (--it->times <= 0) list.erase(it);
        return true;
    }
    return false;
}

void ApplyForcedAnswers(State& s, const std::string& entry, std::vector<Arg>& args) {
    auto& list = s.faults.answers;
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (it->entry != entry) continue;
        std::size_t k = 0;
        for (auto& a : args) {
            if (a.kind != Arg::kArea) continue;
            if (k < it->values.size()) {
                a.answer = Utf8ToCp1252(it->values[k]);
                a.answered = true;
            }
            ++k;
        }
        if (--it->times <= 0) list.erase(it);
        return;
    }
}

// What the caller's area holds once the answer is written: its blanks overwritten, cut to width.
std::string AreaAfter(const Arg& a) {
    std::string content(a.area, a.width);
    if (a.answered) WriteArea(content.data(), a.width, a.answer);
    return content;
}

nlohmann::json JournalArgs(const std::vector<Arg>& args) {
    nlohmann::json list = nlohmann::json::array();
    for (const auto& a : args) {
        switch (a.kind) {
            case Arg::kText:
                list.push_back(a.text ? nlohmann::json(Cp1252ToUtf8(a.text)) : nlohmann::json());
                break;
            case Arg::kArea:
                list.push_back(a.area ? nlohmann::json(Cp1252ToUtf8(AreaAfter(a))) : nlohmann::json());
                break;
            case Arg::kInt:
                list.push_back(a.value);
                break;
            case Arg::kOut:
                list.push_back(!a.out     ? nlohmann::json()
                               : a.outSet ? nlohmann::json(a.outValue)
                                          : nlohmann::json(*a.out));
                break;
        }
    }
    return list;
}

class StoreJournal : public Journal {
public:
    explicit StoreJournal(SimStore& store) : store_(store) {}
    std::vector<std::string> Read(const char* log) override { return store_.Read(log); }
    void Clear(const char* log) override { store_.Clear(log); }

private:
    SimStore& store_;
};

void OpenStore(SimStore& store, bool forReset = false) {
    std::string path = StateFileFromIni("SimState", "bemasim.db");
    // A file deleted under an open connection would swallow every later change: start anew.
    if (path == store.Path() && !store.InMemory() && !platform::FileExists(path)) store.Close();
    store.Open(path, forReset);
}

}  // namespace

// ---- clock ---------------------------------------------------------------------------------

std::string Moment::Ymd() const { return Digits(year, 4) + Two(month) + Two(day); }
std::string Moment::Ddmmyy() const { return Two(day) + Two(month) + Two(year % 100); }
std::string Moment::Hhmmss() const { return Two(hour) + Two(minute) + Two(second); }
std::string Moment::Display() const {
    return Two(day) + "/" + Two(month) + "/" + Digits(year, 4) + " " + Two(hour) + ":" + Two(minute) + ":" +
           Two(second);
}

std::int64_t ComputerSeconds() { return std::llround(fw::SystemNow().value * 86400.0); }

Moment MomentFromSeconds(std::int64_t seconds) {
    std::int64_t days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    std::int64_t rest = seconds - days * 86400;
    // Civil date of a day count (days since 1 Mar 0000 based algorithm); day 0 is 30 Dec 1899.
    std::int64_t z = days - 25569 + 719468;
    std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    std::int64_t doe = z - era * 146097;
    std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    std::int64_t y = yoe + era * 400;
    std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    std::int64_t mp = (5 * doy + 2) / 153;
    Moment m;
    m.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    m.year = static_cast<int>(y + (m.month <= 2 ? 1 : 0));
    m.hour = static_cast<int>(rest / 3600);
    m.minute = static_cast<int>(rest % 3600 / 60);
    m.second = static_cast<int>(rest % 60);
    return m;
}

std::int64_t SecondsFromMoment(const Moment& m) {
    std::int64_t y = m.year - (m.month <= 2 ? 1 : 0);
    std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    std::int64_t yoe = y - era * 400;
    std::int64_t mp = m.month > 2 ? m.month - 3 : m.month + 9;
    std::int64_t doy = (153 * mp + 2) / 5 + m.day - 1;
    std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    std::int64_t days = era * 146097 + doe - 719468 + 25569;
    return days * 86400 + m.hour * 3600 + m.minute * 60 + m.second;
}

Moment PrinterNow(const State& s) { return MomentFromSeconds(ComputerSeconds() + s.hw.clockOffset); }

std::string DdmmyyFromYmd(const std::string& ymd) {
    if (ymd.size() != 8) return "000000";
    return ymd.substr(6, 2) + ymd.substr(4, 2) + ymd.substr(2, 2);
}

// ---- arguments -----------------------------------------------------------------------------

Arg In(const char* text) {
    Arg a;
    a.kind = Arg::kText;
    a.text = text;
    return a;
}
Arg Area(char* area) {
    Arg a;
    a.kind = Arg::kArea;
    a.area = area;
    a.width = AreaWidth(area);
    return a;
}
Arg Int(int value) {
    Arg a;
    a.kind = Arg::kInt;
    a.value = value;
    return a;
}
Arg Out(int* out) {
    Arg a;
    a.kind = Arg::kOut;
    a.out = out;
    return a;
}

std::string Call::Text(std::size_t i) const { return InText(args_.at(i).text); }

void Call::Answer(std::size_t i, std::string cp1252) {
    args_.at(i).answer = std::move(cp1252);
    args_.at(i).answered = true;
}

void Call::SetOut(std::size_t i, int value) {
    args_.at(i).outValue = value;
    args_.at(i).outSet = true;
}

int Call::Refuse(int st1Bits, int st2Bits) {
    s.faults.st1 |= st1Bits;
    s.faults.st2 |= st2Bits;
    return kRefused;
}

std::string Call::Utf8(const std::string& utf8) { return Utf8ToCp1252(utf8); }

void Call::Print(const std::string& line) {
    if (line.empty()) {
        printed_.emplace_back();
        return;
    }
    for (std::size_t at = 0; at < line.size(); at += kColumns) printed_.push_back(line.substr(at, kColumns));
}

void Call::PrintText(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        Print(line);
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

// ---- the call ------------------------------------------------------------------------------

int Run(const char* entry, std::initializer_list<Arg> list, const Handler& handler, unsigned flags) {
    std::vector<Arg> args(list);
    Session& session = TheSession();
    std::lock_guard<std::mutex> lock(session.mutex);
    SimStore& store = session.store;
    try {
        OpenStore(store);
        if (!PortFree(session, entry)) {
            if (std::string_view(entry) == "Bematech_FI_AbrePortaSerial") return kPortBusy;
            return std::string_view(entry) == "BemaFormataTX" ? -1 : kCommunication;
        }
        store.Begin();
        State s = Load(store);
        Call call(s, entry, args);
        int rc = kCommunication;
        Injection injected;
        if (!s.hw.power) {
            // Nothing answers; only the power check itself can tell the printer is off.
            rc = call.entry == "Bematech_FI_VerificaImpressoraLigada" ? kPrinterOff
                 : call.entry == "BemaFormataTX"                      ? -1  // its 0 would mean "sent"
                                                                      : kCommunication;
        } else if (TakeInjection(s, call.entry, injected)) {
            rc = injected.returnCode;
            if (injected.withStatus)
                s.faults.statuses.insert(s.faults.statuses.begin(),
                                         ForcedStatus{injected.ack, injected.st1, injected.st2, 1});
        } else {
            if (!(flags & kStatusRead)) {
                s.faults.ack = 6;
                s.faults.st1 = 0;
                s.faults.st2 = 0;
            }
            rc = handler(call);
            ApplyForcedAnswers(s, call.entry, args);
        }
        // A host killed the moment the printer has done this call, before the answer reaches it.
        const bool crash = s.faults.crashAfter > 0 && --s.faults.crashAfter == 0;
        nlohmann::json line = {{"entry", call.entry}, {"args", JournalArgs(args)}, {"return", rc}};
        std::string journal = line.dump();
        store.Append("journal", journal);
        std::string rollUtf8, rollCp;
        for (const auto& printed : call.Printed()) {
            rollCp += printed + "\n";
            rollUtf8 += Cp1252ToUtf8(printed) + "\n";
        }
        if (!rollUtf8.empty()) store.Append("roll", rollUtf8);
        // The detail-tape memory keeps every printed line under the document it belongs to.
        for (const auto& printed : call.Printed())
            if (!s.detail.empty()) s.detail.back().lines.push_back(Cp1252ToUtf8(printed));
        store.SaveState(nlohmann::json(s).dump());
        store.Commit();
        if (crash) std::_Exit(137);  // no clean-up at all, as a kill -9 leaves it
        // Answers reach the caller only once the printer's state that produced them is saved.
        for (auto& a : args) {
            if (a.kind == Arg::kArea && a.answered) WriteArea(a.area, a.width, a.answer);
            if (a.kind == Arg::kOut && a.outSet && a.out) *a.out = a.outValue;
        }
        if (call.entry == "Bematech_FI_FechaPortaSerial") ClosePort(session);
        // The text copies beside the database are for people; the database is the record.
        if (!store.InMemory()) {
            platform::AppendToFile(SideFile(store.Path(), ".journal.txt"), journal + "\n");
            if (!rollCp.empty()) platform::AppendToFile(SideFile(store.Path(), ".roll.txt"), rollCp);
        }
        return rc;
    } catch (...) {
        store.Rollback();
        return std::string(entry) == "BemaFormataTX" ? -1 : kCommunication;
    }
}

int NotYet(const char* entry, std::initializer_list<Arg> args) {
    return Run(entry, args, [](Call&) { return kNotYetModelled; });
}

void WithState(const std::function<void(State&, Journal&)>& f, bool replacesState) {
    Session& session = TheSession();
    std::lock_guard<std::mutex> lock(session.mutex);
    SimStore& store = session.store;
    OpenStore(store, replacesState);
    store.Begin();
    try {
        State s;
        try {
            s = Load(store);
        } catch (const std::exception&) {
            if (!replacesState) throw;  // a damaged state document can still be reset
        }
        StoreJournal journal(store);
        f(s, journal);
        store.SaveState(nlohmann::json(s).dump());
        store.Commit();
    } catch (...) {
        store.Rollback();
        throw;
    }
}

}  // namespace orb::sim::fiscal
