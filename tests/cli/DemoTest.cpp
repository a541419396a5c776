// `orb demo`: the whole sale against the virtual printer, run twice in one folder, its failure
// reports, and the way it lays out paper, results and the debug log for the terminal.
#include "CliTestSupport.h"

#include <algorithm>
#include <sstream>
#include <tuple>

#include "Demo.h"
#include "DemoSale.h"
#include "DemoView.h"
#include "framework/Cp1252.h"

namespace orb::cli::testing {
namespace {

// The first line of text that holds every one of the pieces ("" when none does).
std::string LineWith(const std::string& text, const std::vector<std::string_view>& pieces) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (std::all_of(pieces.begin(), pieces.end(),
                        [&](std::string_view p) { return line.find(p) != std::string::npos; }))
            return line;
    return {};
}

// The part of the output under a heading (the title, a line of "="), up to the blank line that
// ends it.
std::string Section(const std::string& out, const std::string& title) {
    const std::size_t at = out.find("\n" + title);
    if (at == std::string::npos) return {};
    const std::size_t body = out.find('\n', out.find('\n', at + 1) + 1);
    const std::size_t end = out.find("\n\n", body);
    return out.substr(body + 1, end == std::string::npos ? std::string::npos : end - body);
}

class DemoTest : public OrbProcessTest {
protected:
    OrbRun Demo() {
        std::ostringstream out, err;
        const int status = RunDemo(folders_, out, err);
        return {status, out.str(), err.str(), {}};
    }
    std::string DemoHome() const { return folders_.home + "/demo"; }
};

TEST_F(DemoTest, SaleShowsCouponResultsAndLogReplaysAndStartsFreshEachRun) {
    // The person's own printer in the host folder is none of the demonstration's business.
    platform::WriteFile(folders_.system + "/bemasim.db", "mine");

    const OrbRun run = Demo();
    ASSERT_EQ(std::tuple(run.status, run.err), std::tuple(0, "")) << run.out;

    // Each section shows its part of the sale (the module's own output is the sale scenario's).
    const std::string coupon = Section(run.out, "The customer's coupon");
    const std::string results = Section(run.out, "What the host receives");
    const std::string reading = Section(run.out, "The X reading");
    const std::string log = Section(run.out, "The module's debug log");
    for (const auto& [section, pieces] : std::vector<std::pair<std::string, std::vector<std::string_view>>>{
             {coupon, {"| 001 1001 Picanha na chapa"}},
             {coupon, {"TOTAL R$", "180,00"}},
             {coupon, {"| Mesa: 12 SENHA: 042 "}},
             {results, {"CUPNR", "= \"000001\""}},
             {results, {"[1] sale number", "= \"000157\""}},
             {reading, {"\"LX\""}},
             {reading, {"Venda Líquida:", "180,00"}},
             {log, {"Bematech_FI_EfetuaFormaPagamento : Cartão Crédito - 80,00"}},
             {run.out, {"The sale went through", "total 180,00", "change 50,00"}}})
        EXPECT_NE(LineWith(section, pieces), "") << pieces[0] << "\n" << section;
    // Every line of the paper is framed to the same width, accents or not, and the printer's
    // commands (the large print of the password) never reach the terminal.
    for (const std::string& line : TextLines(coupon))
        EXPECT_TRUE(!line.starts_with("  |") || demo::Columns(line) == 2 + 4 + demo::kPaperColumns) << line;
    EXPECT_EQ(run.out.find_first_of("\x1B\r"), std::string::npos);

    EXPECT_EQ(ReadAll(folders_.system + "/bemasim.db"), "mine");
    EXPECT_EQ(std::tuple(platform::GetEnv("ORB_HOME"), platform::GetEnv("ORB_SYSTEM_DIR")),
              std::tuple(folders_.home, folders_.system));

    // The saved requests, one per line from the reset to the stop, run the same sale again.
    const OrbRun replay = Orb({"--home", DemoHome(), "run", DemoHome() + "/requests.jsonl"});
    ASSERT_EQ(replay.status, 0) << replay.err << replay.out;
    ASSERT_GE(replay.replies.size(), 10u);
    EXPECT_EQ(replay.replies.front()["sim"], "reset");
    EXPECT_EQ(replay.replies.back()["call"], "StopImpFiscal");
    EXPECT_EQ(std::count(replay.out.begin(), replay.out.end(), '\n'), std::ssize(replay.replies));
    EXPECT_NE(replay.out.find("TROCO R$"), std::string::npos) << replay.out;

    // An interrupted run leaves a coupon open on the demonstration's printer: the next run starts
    // from a fresh one, with a log of its own.
    PrepareHostFolders(DemoHome(), DemoHome() + "/system");
    ASSERT_EQ(Ask(StartRequest())["result"], true);
    ASSERT_EQ(Ask(OpeningRequest())["result"], true);
    PrepareHostFolders(folders_.home, folders_.system);
    const OrbRun again = Demo();
    ASSERT_EQ(again.status, 0) << again.err << again.out;
    const std::string second = Section(again.out, "The customer's coupon");
    EXPECT_NE(LineWith(second, {"CCF:000001 COO:000001"}), "") << second;
    EXPECT_NE(LineWith(second, {"TROCO R$", "50,00"}), "") << second;
    const auto logs = platform::FindFiles(DemoHome() + "/impdebug*.txt");
    ASSERT_EQ(logs.size(), 1u);
    const std::string secondLog = ReadAll(logs[0]);
    const std::size_t reading2 = secondLog.find("Bematech_FI_LeituraX");  // one reading, this run's
    EXPECT_TRUE(reading2 != std::string::npos && reading2 == secondLog.rfind("Bematech_FI_LeituraX"));
}

TEST_F(DemoTest, UnusableFolderEndsWithOneAndSaysWhy) {
    // What `make demo` runs, in the default host folder under the current one, with a folder where
    // the printer library's configuration file must go.
    ASSERT_TRUE(platform::ForceDirectories((root_ / "orb-home/demo/system/Bemafi32.ini").string()));
    const OrbRun run = Orb({"demo"});
    EXPECT_EQ(std::tuple(run.status, run.out), std::tuple(1, ""));
    EXPECT_NE(run.err.find("Bemafi32.ini"), std::string::npos) << run.err;
}

TEST_F(DemoTest, RefusedStepNamesTheStepAndWhatTheModuleSaid) {
    std::ostringstream out;
    demo::Session session(out);
    session.Send("reset", Json{{"sim", "reset"}, {"model", 34}});
    session.Call("start", StartRequest(34, ""));

    // No coupon is open: the printer refuses the item and the operator is asked to retry.
    try {
        session.Call("VendaItem: Prato", ItemRequest("Prato", 10.0, "II"));
        ADD_FAILURE() << "a refused item went through";
    } catch (const demo::DemoFailure& failure) {
        EXPECT_EQ(failure.Step(), "VendaItem: Prato");
        for (const char* piece : {"answered false", "Erro ao imprimir o item", "answered N"})
            EXPECT_NE(std::string(failure.what()).find(piece), std::string::npos) << failure.what();
    }

    try {
        session.Send("typo", Json{{"call", "AbreCupon"}, {"args", Json::array()}});
        ADD_FAILURE() << "an unknown operation went through";
    } catch (const demo::DemoFailure& failure) {
        EXPECT_EQ(failure.Step(), "typo");
        EXPECT_NE(std::string(failure.what()).find("AbreCupon"), std::string::npos) << failure.what();
    }
    EXPECT_NE(LineWith(out.str(), {"> typo", "FAILED"}), "") << out.str();
    // Every request is kept, the failed ones too.
    EXPECT_EQ(session.Requests().size(), 4u);
    Ask(Call("StopImpFiscal"));
}

// What the demonstration's run above shows only in part: the edges of its terminal views.
TEST(DemoView, EdgesOfPaperValuesAndLogForTheTerminal) {
    // A command cut off at the end, or right before an accented letter; bells and tabs.
    EXPECT_EQ(demo::PaperText("fim\x1B"), "fim");
    EXPECT_EQ(demo::PaperText("\033ção\n\rFonte\t: IBPT\x07"), "ção\nFonte : IBPT");
    // A long line wraps by characters, blank lines at the end go.
    EXPECT_EQ(demo::Framed("Cartão Crédito\n" + std::string(12, 'x') + "\n\n  \n", 10),
              "  +------------+\n  | Cartão Cré |\n  | dito       |\n  | xxxxxxxxxx |\n  | xx         |\n"
              "  +------------+\n");
    EXPECT_EQ(demo::Framed("", 4), "  +------+\n  +------+\n");
    // An element that is not a pair is shown by its index.
    EXPECT_EQ(demo::NameValueList(demo::PacketPairs(Json::parse(R"([["CUPNR", "000001"], 7])")), "  "),
              "  CUPNR = \"000001\"\n  [1]   = 7\n");
    EXPECT_TRUE(demo::PacketPairs(Json("not a packet")).empty());
    // CP1252 with CR LF, an entry over two lines: the last lines, in UTF-8.
    const std::string log = fw::Utf8ToCp1252(
        "06/12/2026 10:00:01 - Cartão\r\n06/12/2026 10:00:02 - Bematech_FI_NumeroCupom\r\n"
        "Retorno da Impressora : 000002\r\n");
    EXPECT_EQ(demo::LogTail(log, 2), (std::vector<std::string>{"06/12/2026 10:00:02 - Bematech_FI_NumeroCupom",
                                                               "Retorno da Impressora : 000002"}));
    EXPECT_TRUE(demo::LogTail("", 5).empty());
    // Cut by characters, never inside one.
    EXPECT_EQ(demo::OneLine(Json{{"call", "ããããããã"}}, 13), R"({"call":"ã...)");
}

}  // namespace
}  // namespace orb::cli::testing
