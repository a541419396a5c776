#include "driver/TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "connection/Binding.h"
#include "connection/GrandTotalGuard.h"
#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "driver/Globals.h"
#include "external/vendor/EntryPoints.h"
#include "framework/ClientDataSet.h"
#include "framework/Cp1252.h"
#include "framework/DateFormat.h"
#include "framework/FormatSettings.h"
#include "platform/Platform.h"
#include "platform/PlatformTestSupport.h"

namespace orb::test {

namespace fs = std::filesystem;

NamedParams::NamedParams(std::initializer_list<std::pair<std::string, fw::Variant>> pairs) {
    for (const auto& [name, value] : pairs) Set(name, value);
}

NamedParams& NamedParams::Set(std::string name, fw::Variant value) {
    for (auto& pair : pairs_)
        if (pair.first == name) {
            pair.second = std::move(value);
            return *this;
        }
    pairs_.emplace_back(std::move(name), std::move(value));
    return *this;
}

NamedParams StartParams() {
    return NamedParams{{"CDFILIAL", "0001"},      {"CDCAIXA", "001"},   {"NRSERIEIMP", ""},  {"ESQUEMA", "001"},
                       {"CDPORTAIMPFIS", "COM1"}, {"IDTIPOIMPFIS", 34}, {"BOUTILTAA", false}};
}

Texts Names(const fw::Variant& params) {
    Texts names;
    for (const fw::Variant& pair : params.AsArray()) names.push_back(pair.AsArray().at(0).ToString());
    return names;
}

std::string ReprintQuestion() { return CP("Impressora não responde. Imprimir novamente?"); }

void FillTable(fw::ClientDataSet& table, const std::vector<Column>& columns,
               const std::vector<std::vector<fw::Variant>>& rows) {
    for (const Column& column : columns)
        table.AddFieldDef(column.name, column.type, column.type == fw::FieldType::String ? column.size : 0);
    table.CreateDataSet();
    for (const auto& row : rows) {
        table.Append();
        for (std::size_t i = 0; i < row.size(); ++i) table.FieldByName(columns.at(i).name).SetValue(row[i]);
        table.Post();
    }
}

fw::Variant TableData(const std::vector<Column>& columns, const std::vector<std::vector<fw::Variant>>& rows) {
    fw::ClientDataSet table;
    FillTable(table, columns, rows);
    return fw::Variant(table.Data());
}

json DriverTest::Sim(const json& request) {
    using Control = PFN_BemaSim_Control;
    static Control control = [] {
        const platform::LibHandle lib = platform::LoadLibrary("BemaFI32.dll");
        if (lib == 0) throw std::runtime_error("the virtual printer (BemaFI32.dll) cannot be loaded");
        void* address = platform::GetProcAddress(lib, "BemaSim_Control");
        if (address == nullptr) throw std::runtime_error("BemaSim_Control is missing");
        return reinterpret_cast<Control>(address);
    }();
    const std::string text = request.dump();
    std::string reply(64 * 1024, '\0');
    int length = control(text.c_str(), reply.data(), static_cast<int>(reply.size()));
    if (length >= static_cast<int>(reply.size())) {
        reply.assign(static_cast<std::size_t>(length) + 1, '\0');
        length = control(text.c_str(), reply.data(), static_cast<int>(reply.size()));
    }
    reply.resize(reply.find('\0') == std::string::npos ? reply.size() : reply.find('\0'));
    if (length < 0) throw std::runtime_error("the virtual printer refused " + text + ": " + reply);
    return nlohmann::json::parse(reply);
}

Texts ReadLines(const std::string& path) {
    Texts lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

void WriteTambora(const std::vector<TamboraRow>& rows, int copySize) {
    std::vector<std::vector<fw::Variant>> values;
    for (const TamboraRow& r : rows) values.push_back({r.branch, r.till, Enciphered(r.serial), r.guarded, r.copy});
    fw::ClientDataSet table;
    FillTable(table,
              {{"CDFILIAL", fw::FieldType::String, 4},
               {"CDCAIXA", fw::FieldType::String, 3},
               {"NRSERIEECF", fw::FieldType::String, 200},
               {"CAMPO01", fw::FieldType::String, 1},
               {"CAMPO02", fw::FieldType::String, copySize}},
              values);
    table.SaveToFile(Orb00100::TamboraPath());
}

std::string Enciphered(const std::string& text) { return hostlib::Cripto(text, Orb00100::kSeletorCripto); }

namespace {
int ORB_VENDOR_CALL ScriptedRetornoImpressora(int* ack, int* st1, int* st2) {
    ++ScriptedStatus::reads;
    if (ScriptedStatus::read == 1) *ack = ScriptedStatus::ack, *st1 = ScriptedStatus::st1, *st2 = ScriptedStatus::st2;
    return ScriptedStatus::read;
}
int ORB_VENDOR_CALL ScriptedCancelaCupom() {
    ++ScriptedStatus::cancellations;
    ScriptedStatus::st1 &= ~2;  // the coupon is gone
    return 1;
}
}  // namespace

void ScriptedStatus::Install() {
    read = 1;
    ack = st1 = st2 = reads = cancellations = 0;
    Orb00100::Bematech_FI_RetornoImpressora = &ScriptedRetornoImpressora;
    Orb00100::Bematech_FI_CancelaCupom = &ScriptedCancelaCupom;
}

void DriverTest::SetUp() {
    root_ = orbtest::FreshFolder("orb-driver-").string();
    home_ = (fs::path(root_) / "home").string();
    system_ = (fs::path(root_) / "system").string();
    fs::create_directories(home_);
    fs::create_directories(system_);
    orb::platform::SetEnv("ORB_HOME", home_);
    orb::platform::SetEnv("ORB_SYSTEM_DIR", system_);
    WriteBemafiIni(DefaultBemafiIni());

    // The module as a freshly loaded one would be (the data module stays: it is never destroyed).
    Orb00100::StopImpFiscal();
    Orb00100::boImpFiscalOK = false;
    Orb00100::boNUtilTaa = true;
    Orb00100::boClieUtil = false;
    Orb00100::stMensagemTaa.clear();
    Orb00100::inTipoImpFis = 0;
    Orb00100::boComando = false;
    Orb00100::stDataCat.clear();
    Orb00100::BemaIniPortaStr = nullptr;
    Orb00100::BemaFormataTX = nullptr;
    Orb00100::BemaStatus_Mp20FI = nullptr;
    Orb00100::BemaLe_Variaveis = nullptr;
    Orb00100::BemaRetorna_ASCII = nullptr;
    Orb00100::BemaFechaPorta = nullptr;

    hostlib::ResetHooks();
    hostlib::ClearRecorded();
    hostlib::Recorded().queuedAnswers.clear();
    fw::ResetSettings();
    fw::SetClock({});
    logSeen_ = 0;

    if (UsesPrinter()) ResetPrinter();
}

void DriverTest::TearDown() {
    Orb00100::StopImpFiscal();
    fw::SetClock({});
    fw::ResetSettings();
    hostlib::ResetHooks();
    if (platform::GetEnv("ORB_KEEP_TEST_DIRS").empty()) {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
}

void DriverTest::WriteBemafiIni(const Texts& lines) {
    std::ofstream out(SystemPath("Bemafi32.ini"), std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) out << line << "\r\n";
}

void DriverTest::ResetPrinter(json fields) {
    fields["sim"] = "reset";
    if (!fields.contains("model")) fields["model"] = 34;
    Sim(fields);
}

void DriverTest::Start(json printer, const NamedParams& params) {
    ResetPrinter(std::move(printer));
    ASSERT_TRUE(StartModule(params));
    ForgetSoFar();
}

json DriverTest::Journal(bool clear) { return Sim({{"sim", "journal"}, {"clear", clear}})["journal"]; }

Texts DriverTest::JournalEntries(std::initializer_list<std::string_view> names) {
    Texts entries;
    for (const auto& call : Journal())
        if (const std::string entry = call["entry"];
            names.size() == 0 || std::find(names.begin(), names.end(), entry) != names.end())
            entries.push_back(entry);
    return entries;
}

std::vector<nlohmann::json> DriverTest::Sent(std::string_view entry) {
    std::vector<nlohmann::json> args;
    for (const auto& call : Journal())
        if (call["entry"].get<std::string>() == entry) args.push_back(call["args"]);
    return args;
}

Texts DriverTest::SentTexts(std::string_view entry, const std::string& separator) {
    Texts texts;
    for (const json& args : Sent(entry)) {
        std::string text;
        for (const json& arg : args)
            text += (text.empty() ? "" : separator) + (arg.is_string() ? arg.get<std::string>() : arg.dump());
        texts.push_back(text);
    }
    return texts;
}

std::string DriverTest::Roll(bool clear) { return Sim({{"sim", "roll"}, {"clear", clear}})["roll"]; }

int DriverTest::Extended() {
    int value = 0;
    Orb00100::Bematech_FI_StatusEstendidoMFD(&value);
    return value;
}

void DriverTest::ForgetSoFar() {
    ClearJournal();
    Roll(true);
    hostlib::ClearRecorded();
    NewLogTexts();
}

bool DriverTest::StartModule(const NamedParams& params) {
    fw::Variant v = params;
    return Orb00100::StartImpFiscal(v);
}

std::string DriverTest::GrandTotalCopy(const std::string& branch) {
    fw::ClientDataSet table;
    table.LoadFromFile(Orb00100::TamboraPath());
    EXPECT_TRUE(table.Locate("CDFILIAL", fw::Variant(branch))) << branch;
    const std::string stored = table.FieldByName("CAMPO02").AsString();
    return stored.empty() ? "" : hostlib::Uncripto(stored, Orb00100::kSeletorCripto);
}

void DriverTest::CardSaleThroughEntryPoints(const std::string& method) {
    using namespace Orb00100;
    auto text = [](const char* s) { return const_cast<char*>(s); };
    ASSERT_EQ(Bematech_FI_AbreCupomMFD(text(""), text(""), text("")), 1);
    ASSERT_EQ(Bematech_FI_VendeItemDepartamento(text("789"), text("CAFE"), text("1800"), text("000001000"),
                                                text("0001000"), text("0000"), text("0000"), text("01"), text("UN")),
              1);
    ASSERT_EQ(Bematech_FI_IniciaFechamentoCupom(text("d"), text("$"), text("0")), 1);
    std::string name = method;
    ASSERT_EQ(Bematech_FI_EfetuaFormaPagamento(name.data(), text("10,00")), 1);
    ASSERT_EQ(Bematech_FI_TerminaFechamentoCupom(text("")), 1);
}

std::string DriverTest::CatalogText(const char* key) { return Orb00100::EnsureDataModule().msgPadrao.Msg(key); }

std::string DriverTest::ParamErrorTail(std::string_view operation) {
    return "\r" + CP("Erro no recebimento dos parâmetros da função: ") + std::string(operation) + " - Orb_00100.bpl";
}

Texts DriverTest::DialogTexts(bool questionsOnly) {
    Texts texts;
    for (const hostlib::Dialog& dialog : Dialogs())
        if (!questionsOnly || dialog.question == "S") texts.push_back(dialog.text);
    return texts;
}

Texts DriverTest::LedgerTypes() {
    Texts types;
    for (const auto& record : Recorded().ledger) types.push_back(record.f6);
    return types;
}

::testing::AssertionResult DriverTest::IsDialog(const hostlib::Dialog& dialog, const std::string& text, int kind,
                                                const std::string& scheme) {
    if (dialog.text == text && dialog.kind == kind && dialog.scheme == scheme) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the dialog shows \"" << dialog.text << "\", kind " << dialog.kind
                                         << ", scheme \"" << dialog.scheme << "\"; expected \"" << text << "\", kind "
                                         << kind << ", scheme \"" << scheme << "\"";
}

::testing::AssertionResult DriverTest::LastDialogIs(const std::string& text, int kind, const std::string& scheme) {
    if (Dialogs().empty()) return ::testing::AssertionFailure() << "no dialog was shown; expected \"" << text << "\"";
    return IsDialog(Dialogs().back(), text, kind, scheme);
}

std::string DriverTest::LogPath() const { return Orb00100::DebugLogPath(); }

Texts DriverTest::LogTexts() const {
    // A text may hold line ends of its own ("...\r\nRetorno da Impressora : ..."): a physical
    // line that does not start with "<date> <time> - " continues the entry before it.
    Texts texts;
    for (const std::string& line : ReadLines(LogPath())) {
        const std::size_t separator = line.find(" - ");
        fw::TDateTime ignored;
        if (separator != std::string::npos && fw::TryStrToDateTime(line.substr(0, separator), ignored))
            texts.push_back(line.substr(separator + 3));
        else if (texts.empty())
            texts.push_back(line);
        else
            texts.back() += "\r\n" + line;
    }
    return texts;
}

Texts DriverTest::NewLogTexts() {
    Texts all = LogTexts();
    Texts fresh(all.begin() + static_cast<std::ptrdiff_t>(std::min(logSeen_, all.size())), all.end());
    logSeen_ = all.size();
    return fresh;
}

}  // namespace orb::test
