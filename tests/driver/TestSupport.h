#pragma once
// What the driver's tests share: a fixture with fresh host and system folders per test, the
// virtual printer reset, the module's globals back at their initial values and the host
// library's records cleared; a named-parameter builder; the journal, the roll, the debug log and
// the dialogs read back in the shapes the tests compare.
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

// Whether a list of texts holds this one.
inline bool Has(const Texts& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// A named-parameter list ([[name, value], ...]) built name by name, in order; setting a name
// again replaces its value in place.
class NamedParams {
public:
    NamedParams() = default;
    NamedParams(std::initializer_list<std::pair<std::string, fw::Variant>> pairs);
    NamedParams& Set(std::string name, fw::Variant value);
    fw::Variant Build() const;
    operator fw::Variant() const { return Build(); }

private:
    std::vector<std::pair<std::string, fw::Variant>> pairs_;
};

// StartImpFiscal's parameters for the virtual printer: CDFILIAL "0001", CDCAIXA "001",
// NRSERIEIMP "", ESQUEMA "001", CDPORTAIMPFIS "COM1", IDTIPOIMPFIS 34, BOUTILTAA false.
NamedParams StartParams();

// The value of name in a named-parameter array (an unassigned variant when absent), and the
// names of the array in order.
fw::Variant NamedValue(const fw::Variant& params, std::string_view name);
Texts Names(const fw::Variant& params);

// A table of these columns (text of 20 characters unless said otherwise) holding rows of values in
// column order, and the same as the data packet a host passes.
struct Column {
    std::string name;
    fw::FieldType type = fw::FieldType::String;
    int size = 20;
};
void FillTable(fw::ClientDataSet& table, const std::vector<Column>& columns,
               const std::vector<std::vector<fw::Variant>>& rows);
fw::Variant TableData(const std::vector<Column>& columns, const std::vector<std::vector<fw::Variant>>& rows);

// A control request to the virtual printer's fiscal stand-in (loaded once per process through
// ORB_LIBRARY_PATH, like the module loads it). Raises std::runtime_error when the stand-in
// cannot be loaded or refuses the request.
nlohmann::json SimControl(const nlohmann::json& request);

// Lines of a file, without their line ends (CR LF or LF); empty when the file does not exist.
Texts ReadLines(const std::string& path);

// One row of the host's grand-total file (Tambora.cds); the copy is stored as given.
struct TamboraRow {
    std::string branch, till, serial, guarded, copy;
};
// Tambora.cds in the host folder with these rows, the serials enciphered; copySize is the width
// of the copy column.
void WriteTambora(const std::vector<TamboraRow>& rows, int copySize = 200);
// A text enciphered as the host enciphers its grand-total copy.
std::string Enciphered(const std::string& text);

// A status read and a coupon cancellation answered from these fields, for tests that need exact
// status bytes: Install() puts them in place of the bound entry points (the fixture's stop
// clears them again) and resets every field. The cancellation clears the open-coupon bit.
struct ScriptedStatus {
    static inline int read = 1, ack = 0, st1 = 0, st2 = 0, reads = 0, cancellations = 0;
    static void Install();
};

// The question an attended till asks after a refusal during a transfer sale.
std::string ReprintQuestion();

class DriverTest : public ::testing::Test {
protected:
    // Fresh folders (ORB_HOME and ORB_SYSTEM_DIR) with a Bemafi32.ini, the printer reset to
    // model 34, the module stopped and its globals at their initial values, the host library's
    // hooks and records reset, the number settings and the clock back to their defaults.
    void SetUp() override;
    // Stops the module, puts the clock and settings back, removes the folders.
    void TearDown() override;
    // A fixture whose tests never reach the printer answers false: SetUp then leaves the
    // virtual printer alone.
    virtual bool UsesPrinter() const { return true; }

    const std::string& Home() const { return home_; }
    std::string HomePath(std::string_view name) const;
    std::string SystemPath(std::string_view name) const;
    // The system folder's Bemafi32.ini, written again with these lines.
    void WriteBemafiIni(const Texts& lines);
    Texts DefaultBemafiIni() const;

    // The virtual printer.
    nlohmann::json Sim(const nlohmann::json& request) { return SimControl(request); }
    // A factory-fresh printer; fields are those of the reset command (model defaults to 34).
    void ResetPrinter(nlohmann::json fields = nlohmann::json::object());
    // A fresh printer, the module started against it and everything so far forgotten.
    void Start(nlohmann::json printer = nlohmann::json::object(), const NamedParams& params = StartParams());
    // The fault-injection commands.
    void FailNext(std::string_view entry, int returnCode, int times = 1);
    void ForceStatus(int ack, int st1, int st2, int times = 1);
    void ForceExtended(int value) { Sim({{"sim", "extended"}, {"value", value}}); }
    void Power(bool on) { Sim({{"sim", "power"}, {"on", on}}); }
    // What the printer writes into the answer areas of the next call of entry.
    void SimAnswer(std::string_view entry, const nlohmann::json& values);
    // Every entry-point call since the reset or the last clear ({"entry", "args", "return"}).
    nlohmann::json Journal(bool clear = false);
    void ClearJournal() { Journal(true); }
    // The names of the journal's calls, in order; only those among names when given.
    Texts JournalEntries(std::initializer_list<std::string_view> names = {});
    // The arguments of every call of entry, in order.
    std::vector<nlohmann::json> Sent(std::string_view entry);
    int CallCount(std::string_view entry) { return static_cast<int>(Sent(entry).size()); }
    // The printer's whole state, its documents, whether a coupon is open, its paper roll, its
    // extended status (asked through the entry point).
    nlohmann::json State() { return Sim({{"sim", "state"}}); }
    nlohmann::json Docs() { return State()["docs"]; }
    bool CouponOpen() { return Docs()["couponOpen"].get<bool>(); }
    std::string Roll(bool clear = false);
    int Extended();
    // What a test checks starts here: the journal and the roll emptied, the host's records
    // cleared and the log read up to now.
    void ForgetSoFar();

    // StartImpFiscal against the virtual printer.
    bool StartModule(const NamedParams& params = orb::test::StartParams());
    static NamedParams StartParams() { return orb::test::StartParams(); }

    // The clock of the module stands still at this moment (the printer keeps its own).
    void PinClock(fw::TDateTime moment);

    // The host's enciphered grand-total copy (Tambora.cds) for branch "0001", till "001" and
    // printer "BE0001", guarded, holding total; the copy of a branch read back.
    void WriteGrandTotalCopy(const std::string& total);
    std::string GrandTotalCopy(const std::string& branch = "0001");
    // A coupon of 10,00 paid with the named method, straight through the maker's entry points.
    void CardSaleThroughEntryPoints(const std::string& method);

    // The debug log of the current month: its entries ("<date> <time> - text", a text's own
    // line ends kept), their texts alone, and the texts logged since the last call of
    // NewLogTexts (or since SetUp).
    std::string LogPath() const;
    Texts LogLines() const;
    Texts LogTexts() const;
    Texts NewLogTexts();
    bool WasLogged(const std::string& text) const { return Has(LogTexts(), text); }
    static std::string LogText(const std::string& line);

    // The host library's records: dialogs, ledger, report records.
    hostlib::Recorder& Recorded() { return hostlib::Recorded(); }
    const std::vector<hostlib::Dialog>& Dialogs() { return hostlib::Recorded().dialogs; }
    void QueueAnswers(const std::vector<bool>& answers) { hostlib::QueueAnswers(answers); }
    // The texts of the dialogs shown so far, of the yes/no questions among them, and the type
    // of each ledger record.
    Texts DialogTexts();
    Texts Questions();
    Texts LedgerTypes();
    // Whether a dialog showed this text with this kind and scheme; a failure names what differs.
    static ::testing::AssertionResult IsDialog(const hostlib::Dialog& dialog, const std::string& text, int kind,
                                               const std::string& scheme);
    // The same for the last dialog shown (a failure when none was).
    ::testing::AssertionResult LastDialogIs(const std::string& text, int kind, const std::string& scheme);

    // The texts tests compare with: a catalog text (msgPadrao; the data module is created when
    // needed), its "ERRO!!! " log line, the log label of an answer ("<entry>\r\nRetorno da
    // Impressora : "), and the tail of the parameter-error dialog of an operation.
    static std::string CatalogText(const char* key);
    static std::string ErrorLogText(const char* key) { return "ERRO!!! " + CatalogText(key); }
    static std::string AnswerLogText(std::string_view entry);
    static std::string ParamErrorTail(std::string_view operation);

private:
    std::string root_, home_, system_;
    std::size_t logSeen_ = 0;
};

}  // namespace orb::test
