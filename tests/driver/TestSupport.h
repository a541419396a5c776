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
#include "platform/Platform.h"

namespace orb::test {

using Texts = std::vector<std::string>;
using nlohmann::json;

inline bool Has(const Texts& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// Padding counts the printer's characters: an accented letter is one, though two bytes here.
inline std::size_t Width(const std::string& utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}
inline std::string Left(const std::string& text, std::size_t width) {
    return text + std::string(width - Width(text), ' ');
}
inline std::string Right(const std::string& text, std::size_t width) {
    return std::string(width - Width(text), ' ') + text;
}

class NamedParams {
public:
    NamedParams(std::initializer_list<std::pair<std::string, fw::Variant>> pairs = {});
    NamedParams& Set(std::string name, fw::Variant value);
    operator fw::Variant() const { return hostlib::MakeParams(pairs_); }

private:
    std::vector<std::pair<std::string, fw::Variant>> pairs_;
};

NamedParams StartParams();
inline fw::Variant NamedValue(const fw::Variant& params, std::string_view name) {
    return hostlib::RecebeParams(params, name);
}
Texts Names(const fw::Variant& params);

struct Column {
    std::string name;
    fw::FieldType type = fw::FieldType::String;
    int size = 20;
};
void FillTable(fw::ClientDataSet& table, const std::vector<Column>& columns,
               const std::vector<std::vector<fw::Variant>>& rows);
fw::Variant TableData(const std::vector<Column>& columns, const std::vector<std::vector<fw::Variant>>& rows);

Texts ReadLines(const std::string& path);

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

std::string ReprintQuestion();

class DriverTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    virtual bool UsesPrinter() const { return true; }  // false: SetUp leaves the printer alone

    const std::string& Home() const { return home_; }
    std::string HomePath(std::string_view name) const { return orb::platform::JoinPath(home_, name); }
    std::string SystemPath(std::string_view name) const { return orb::platform::JoinPath(system_, name); }
    void WriteBemafiIni(const Texts& lines);
    Texts DefaultBemafiIni() const { return {"[Sistema]", "Porta=COM1", "Path=" + system_ + "/", "Impressora=1"}; }

    // A control request to the virtual printer (loaded through ORB_LIBRARY_PATH, like the module
    // loads it); std::runtime_error when it refuses.
    static json Sim(const json& request);
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
    void SimAnswer(std::string_view entry, const json& values) {
        Sim({{"sim", "answer"}, {"entry", entry}, {"values", values}});
    }
    json Journal(bool clear = false);
    void ClearJournal() { Journal(true); }
    Texts JournalEntries(std::initializer_list<std::string_view> names = {});
    std::vector<json> Sent(std::string_view entry);
    Texts SentTexts(std::string_view entry, const std::string& separator = " ");
    int CallCount(std::string_view entry) { return static_cast<int>(Sent(entry).size()); }
    json State() { return Sim({{"sim", "state"}}); }
    json Docs() { return State()["docs"]; }
    bool CouponOpen() { return Docs()["couponOpen"].get<bool>(); }
    std::string Roll(bool clear = false);
    int Extended();
    void ForgetSoFar();

    // The module's clock only; the printer keeps its own.
    void PinClock(fw::TDateTime moment) { fw::SetFixedNow(moment); }
    // For branch 0001, till 001, printer BE0001, guarded.
    void WriteGrandTotalCopy(const std::string& total) {
        WriteTambora({{"0001", "001", "BE0001", "S", Enciphered(total)}});
    }
    std::string GrandTotalCopy(const std::string& branch = "0001");
    void CardSaleThroughEntryPoints(const std::string& method);

    std::string LogPath() const;
    Texts LogTexts() const;
    Texts NewLogTexts();
    bool WasLogged(const std::string& text) const { return Has(LogTexts(), text); }

    hostlib::Recorder& Recorded() { return hostlib::Recorded(); }
    const std::vector<hostlib::Dialog>& Dialogs() { return hostlib::Recorded().dialogs; }
    void QueueAnswers(const std::vector<bool>& answers) { hostlib::QueueAnswers(answers); }
    Texts DialogTexts(bool questionsOnly = false);
    Texts Questions() { return DialogTexts(true); }
    Texts LedgerTypes();
    static ::testing::AssertionResult IsDialog(const hostlib::Dialog& dialog, const std::string& text, int kind,
                                               const std::string& scheme);
    ::testing::AssertionResult LastDialogIs(const std::string& text, int kind, const std::string& scheme);

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
