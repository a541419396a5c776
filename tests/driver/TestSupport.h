#pragma once
// What the driver's tests share: a fixture with fresh host and system folders per test, the
// virtual printer reset, the module's globals back at their initial values and the host
// library's records cleared; builders for named parameters and tables; the journal, the roll,
// the debug log and the dialogs read back in the shapes the tests compare.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "external/hostlib/HostLib.h"
#include "framework/ClientDataSet.h"
#include "framework/DateTime.h"
#include "framework/Variant.h"

namespace orb::test {

using Texts = std::vector<std::string>;
using nlohmann::json;

inline bool Has(const Texts& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// A named-parameter list ([[name, value], ...]) built in order; setting a name again replaces its
// value in place.
class NamedParams {
public:
    NamedParams(std::initializer_list<std::pair<std::string, fw::Variant>> pairs = {});
    NamedParams& Set(std::string name, fw::Variant value);
    operator fw::Variant() const { return hostlib::MakeParams(pairs_); }

private:
    std::vector<std::pair<std::string, fw::Variant>> pairs_;
};

// StartImpFiscal's parameters for the virtual printer: CDFILIAL "0001", CDCAIXA "001",
// NRSERIEIMP "", ESQUEMA "001", CDPORTAIMPFIS "COM1", IDTIPOIMPFIS 34, BOUTILTAA false.
NamedParams StartParams();
// The value of name in a named-parameter array (unassigned when absent); the names in order.
inline fw::Variant NamedValue(const fw::Variant& params, std::string_view name) {
    return hostlib::RecebeParams(params, name);
}
Texts Names(const fw::Variant& params);

// A table of these columns (text of 20 characters unless said otherwise) holding rows of values
// in column order, and the same as the data packet a host passes.
struct Column {
    std::string name;
    fw::FieldType type = fw::FieldType::String;
    int size = 20;
};
void FillTable(fw::ClientDataSet& table, const std::vector<Column>& columns,
               const std::vector<std::vector<fw::Variant>>& rows);
fw::Variant TableData(const std::vector<Column>& columns, const std::vector<std::vector<fw::Variant>>& rows);

// A control request to the virtual printer's fiscal stand-in (loaded once per process through
// ORB_LIBRARY_PATH, like the module loads it); std::runtime_error when it refuses.
json SimControl(const json& request);
// Lines of a file without their line ends; empty when the file does not exist.
Texts ReadLines(const std::string& path);

// The host's grand-total file (Tambora.cds) with these rows, the serials enciphered; copySize is
// the width of the copy column. A text enciphered as the host enciphers the copy.
struct TamboraRow {
    std::string branch, till, serial, guarded, copy;
};
void WriteTambora(const std::vector<TamboraRow>& rows, int copySize = 200);
std::string Enciphered(const std::string& text);

// A status read and a coupon cancellation answered from these fields, for exact status bytes:
// Install() puts them in place of the bound entry points (the fixture's stop clears them again)
// and resets every field. The cancellation clears the open-coupon bit.
struct ScriptedStatus {
    static inline int read = 1, ack = 0, st1 = 0, st2 = 0, reads = 0, cancellations = 0;
    static void Install();
};

// The question an attended till asks after a refusal during a transfer sale.
std::string ReprintQuestion();

class DriverTest : public ::testing::Test {
protected:
    // Fresh folders (ORB_HOME, ORB_SYSTEM_DIR) with a Bemafi32.ini, the printer reset to model 34,
    // the module stopped with its globals at their initial values, the host library's hooks and
    // records reset, the number settings and the clock at their defaults.
    void SetUp() override;
    void TearDown() override;
    // A fixture whose tests never reach the printer answers false: SetUp leaves it alone.
    virtual bool UsesPrinter() const { return true; }

    const std::string& Home() const { return home_; }
    std::string HomePath(std::string_view name) const { return home_ + "/" + std::string(name); }
    std::string SystemPath(std::string_view name) const { return system_ + "/" + std::string(name); }
    void WriteBemafiIni(const Texts& lines);
    Texts DefaultBemafiIni() const { return {"[Sistema]", "Porta=COM1", "Path=" + system_ + "/", "Impressora=1"}; }

    // The virtual printer: a factory-fresh one (the reset command's fields, model 34 by
    // default); the module started against it and everything so far forgotten; its faults.
    json Sim(const json& request) { return SimControl(request); }
    void ResetPrinter(json fields = json::object());
    void Start(json printer = json::object(), const NamedParams& params = StartParams());
    bool StartModule(const NamedParams& params = orb::test::StartParams());
    static NamedParams StartParams() { return orb::test::StartParams(); }
    void FailNext(std::string_view entry, int ret, int times = 1) {
        Sim({{"sim", "fail"}, {"entry", entry}, {"return", ret}, {"times", times}});
    }
    void ForceStatus(int ack, int st1, int st2, int times = 1) {
        Sim({{"sim", "status"}, {"ack", ack}, {"st1", st1}, {"st2", st2}, {"times", times}});
    }
    void ForceExtended(int value) { Sim({{"sim", "extended"}, {"value", value}}); }
    void Power(bool on) { Sim({{"sim", "power"}, {"on", on}}); }
    // What the printer writes into the answer areas of the next call of entry.
    void SimAnswer(std::string_view entry, const json& values) {
        Sim({{"sim", "answer"}, {"entry", entry}, {"values", values}});
    }
    // Every entry-point call since the reset or the last clear ({"entry", "args", "return"});
    // their names (only those among names when given); the arguments of each call of entry.
    json Journal(bool clear = false);
    void ClearJournal() { Journal(true); }
    Texts JournalEntries(std::initializer_list<std::string_view> names = {});
    std::vector<json> Sent(std::string_view entry);
    // Each call of entry as its arguments joined by separator (texts as they are).
    Texts SentTexts(std::string_view entry, const std::string& separator = " ");
    int CallCount(std::string_view entry) { return static_cast<int>(Sent(entry).size()); }
    // The printer's state, its documents, its paper roll, its extended status (asked through the
    // entry point).
    json State() { return Sim({{"sim", "state"}}); }
    json Docs() { return State()["docs"]; }
    bool CouponOpen() { return Docs()["couponOpen"].get<bool>(); }
    std::string Roll(bool clear = false);
    int Extended();
    // What a test checks starts here: journal and roll emptied, host records cleared, log read.
    void ForgetSoFar();

    // The module's clock stands still at this moment (the printer keeps its own).
    void PinClock(fw::TDateTime moment) { fw::SetFixedNow(moment); }
    // The host's grand-total copy for branch "0001", till "001", printer "BE0001", guarded; the
    // copy of a branch read back.
    void WriteGrandTotalCopy(const std::string& total) {
        WriteTambora({{"0001", "001", "BE0001", "S", Enciphered(total)}});
    }
    std::string GrandTotalCopy(const std::string& branch = "0001");
    // A coupon of 10,00 paid with the named method, straight through the maker's entry points.
    void CardSaleThroughEntryPoints(const std::string& method);

    // The debug log of the current month: its entries' texts (a text's own line ends kept), those
    // logged since the last call of NewLogTexts (or SetUp).
    std::string LogPath() const;
    Texts LogTexts() const;
    Texts NewLogTexts();
    bool WasLogged(const std::string& text) const { return Has(LogTexts(), text); }

    // The host library's records: dialogs, their texts, the yes/no questions among them, the type
    // of each ledger record.
    hostlib::Recorder& Recorded() { return hostlib::Recorded(); }
    const std::vector<hostlib::Dialog>& Dialogs() { return hostlib::Recorded().dialogs; }
    void QueueAnswers(const std::vector<bool>& answers) { hostlib::QueueAnswers(answers); }
    Texts DialogTexts();
    Texts Questions();
    Texts LedgerTypes();
    // Whether a dialog (the last one) showed this text with this kind and scheme.
    static ::testing::AssertionResult IsDialog(const hostlib::Dialog& dialog, const std::string& text, int kind,
                                               const std::string& scheme);
    ::testing::AssertionResult LastDialogIs(const std::string& text, int kind, const std::string& scheme);

    // A catalog text (msgPadrao), its "ERRO!!! " log line, the log label of an answer, the tail of
    // an operation's parameter-error dialog.
    static std::string CatalogText(const char* key);
    static std::string ErrorLogText(const char* key) { return "ERRO!!! " + CatalogText(key); }
    static std::string AnswerLogText(std::string_view entry) {
        return std::string(entry) + "\r\nRetorno da Impressora : ";
    }
    static std::string ParamErrorTail(std::string_view operation);

private:
    std::string root_, home_, system_;
    std::size_t logSeen_ = 0;
};

}  // namespace orb::test
