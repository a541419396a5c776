// `orb demo`: the whole sale against the virtual printer, run twice in one folder, its failure
// reports, and the way it lays out paper, results and the debug log for the terminal.
#include "CliTestSupport.h"

#include <algorithm>
#include <sstream>

#include "Demo.h"
#include "DemoSale.h"
#include "DemoView.h"
#include "framework/Cp1252.h"

namespace orb::cli::testing {
namespace {

struct DemoRun {
    int status = -1;
    std::string out, err;
};

// The first line of text that holds every one of the pieces ("" when none does).
std::string LineWith(const std::string& text, std::initializer_list<std::string_view> pieces) {
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

class DemoTest : public BridgeTest {
protected:
    DemoRun Demo() {
        std::ostringstream out, err;
        DemoRun run;
        run.status = RunDemo(folders_, out, err);
        run.out = out.str();
        run.err = err.str();
        return run;
    }
    std::string DemoHome() const { return folders_.home + "/demo"; }
    std::size_t LogCount(const std::string& text) {
        const auto logs = platform::FindFiles(DemoHome() + "/impdebug*.txt");
        std::size_t count = 0;
        for (const auto& log : logs) {
            const std::string content = ReadAll(log);
            for (std::size_t at = content.find(text); at != std::string::npos; at = content.find(text, at + 1)) ++count;
        }
        return count;
    }
};

TEST_F(DemoTest, SaleShowsCouponResultsAndLog) {
    // The person's own printer in the host folder is none of the demonstration's business.
    platform::WriteFile(folders_.system + "/bemasim.db", "mine");

    const DemoRun run = Demo();
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    EXPECT_EQ(run.err, "");

    const std::string coupon = Section(run.out, "The customer's coupon");
    ASSERT_FALSE(coupon.empty()) << run.out;
    EXPECT_NE(LineWith(coupon, {"| 001 1001 Picanha na chapa"}), "") << coupon;
    EXPECT_NE(LineWith(coupon, {"T18,00%", "89,90"}), "") << coupon;
    EXPECT_NE(LineWith(coupon, {"T12,00%", "72,50"}), "") << coupon;
    EXPECT_NE(LineWith(coupon, {"FF", "13,00"}), "") << coupon;
    EXPECT_NE(LineWith(coupon, {"II", "9,00"}), "") << coupon;
    EXPECT_NE(LineWith(coupon, {"DESCONTO R$", "-4,40"}), "") << coupon;
    EXPECT_NE(LineWith(coupon, {"TOTAL R$", "180,00"}), "") << coupon;
    EXPECT_NE(LineWith(coupon, {"Cartão Crédito", "80,00"}), "") << coupon;
    EXPECT_NE(LineWith(coupon, {"Dinheiro", "150,00"}), "") << coupon;
    EXPECT_NE(LineWith(coupon, {"TROCO R$", "50,00"}), "") << coupon;
    EXPECT_NE(LineWith(coupon, {"Trib aprox R$: 24,21 Federal e 24,88 Estadual"}), "") << coupon;
    EXPECT_NE(LineWith(coupon, {"| Mesa: 12 SENHA: 042 "}), "") << coupon;
    // Every line of the paper is framed to the same width, accents or not, and the printer's
    // commands (the large print of the password) never reach the terminal.
    std::istringstream lines(coupon);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("  |")) {
            EXPECT_EQ(demo::Columns(line), 2 + 4 + demo::kPaperColumns) << line;
        }
    }
    EXPECT_EQ(run.out.find('\x1B'), std::string::npos);
    EXPECT_EQ(run.out.find('\r'), std::string::npos);

    const std::string results = Section(run.out, "What the host receives");
    EXPECT_NE(LineWith(results, {"CUPNR", "= \"000001\""}), "") << results;
    EXPECT_NE(LineWith(results, {"CONTCUPOM", "= \"000001\""}), "") << results;
    EXPECT_NE(LineWith(results, {"INCLUICPF", "= \"111.444.777-35\""}), "") << results;
    EXPECT_NE(LineWith(results, {"[1] sale number", "= \"000157\""}), "") << results;
    EXPECT_NE(LineWith(results, {"[0] retry taken (0/1)", "= 0"}), "") << results;
    EXPECT_EQ(std::count(results.begin(), results.end(), '\n') > 20, true) << results;

    const std::string reading = Section(run.out, "The X reading");
    EXPECT_NE(LineWith(reading, {"\"LX\""}), "") << reading;
    EXPECT_NE(LineWith(reading, {"LEITURA X"}), "") << reading;
    EXPECT_NE(LineWith(reading, {"Venda Líquida:", "180,00"}), "") << reading;

    const std::string log = Section(run.out, "The module's debug log");
    EXPECT_NE(LineWith(log, {" - Bematech_FI_LeituraX"}), "") << log;
    EXPECT_NE(LineWith(log, {"Bematech_FI_EfetuaFormaPagamento : Cartão Crédito - 80,00"}), "") << log;
    EXPECT_LE(std::count(log.begin(), log.end(), '\n'), 16) << log;

    EXPECT_NE(LineWith(run.out, {"The sale went through", "total 180,00", "change 50,00"}), "") << run.out;

    // The requests can be replayed: one JSON object per line, from the reset to the stop.
    std::istringstream saved(ReadAll(DemoHome() + "/requests.jsonl"));
    std::vector<Json> requests;
    for (std::string line; std::getline(saved, line);) requests.push_back(Json::parse(line));
    ASSERT_GE(requests.size(), 10u);
    EXPECT_EQ(requests.front()["sim"], "reset");
    EXPECT_EQ(requests.back()["call"], "StopImpFiscal");
    EXPECT_EQ(std::count_if(requests.begin(), requests.end(),
                            [](const Json& r) { return r.value("call", "") == "VendaItem"; }),
              4);

    EXPECT_EQ(ReadAll(folders_.system + "/bemasim.db"), "mine");
    EXPECT_EQ(platform::GetEnv("ORB_HOME"), folders_.home);
    EXPECT_EQ(platform::GetEnv("ORB_SYSTEM_DIR"), folders_.system);
}

TEST_F(DemoTest, SecondRunStartsFromAFreshPrinter) {
    ASSERT_EQ(Demo().status, 0);

    // An interrupted run leaves a coupon open on the demonstration's printer.
    PrepareHostFolders(DemoHome(), DemoHome() + "/system");
    ASSERT_EQ(Ask(StartRequest())["result"], true);
    ASSERT_EQ(Ask(OpeningRequest())["result"], true);
    PrepareHostFolders(folders_.home, folders_.system);

    const DemoRun again = Demo();
    ASSERT_EQ(again.status, 0) << again.err << again.out;
    const std::string coupon = Section(again.out, "The customer's coupon");
    EXPECT_NE(LineWith(coupon, {"CCF:000001 COO:000001"}), "") << coupon;
    EXPECT_NE(LineWith(coupon, {"TROCO R$", "50,00"}), "") << coupon;
    // The log is this run's alone.
    EXPECT_EQ(LogCount("Bematech_FI_LeituraX"), 1u);
}

TEST_F(DemoTest, UnusableFolderEndsWithOneAndSaysWhy) {
    // A folder where the printer library's configuration file must go.
    ASSERT_TRUE(platform::ForceDirectories(DemoHome() + "/system/Bemafi32.ini"));
    const DemoRun run = Demo();
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Bemafi32.ini"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
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
        const std::string why = failure.what();
        EXPECT_NE(why.find("answered false"), std::string::npos) << why;
        EXPECT_NE(why.find("Erro ao imprimir o item"), std::string::npos) << why;
        EXPECT_NE(why.find("answered N"), std::string::npos) << why;
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

class OrbDemoTest : public OrbProcessTest {};

TEST_F(OrbDemoTest, RunsFromTheCommandLineAndReplays) {
    // What `make demo` runs: the default host folder under the current one.
    const OrbRun run = Orb({"demo"});
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    EXPECT_NE(LineWith(run.out, {"| TROCO R$", "50,00"}), "") << run.out;

    // The saved requests run the same sale again through `orb run`.
    const std::string home = (root_ / "orb-home" / "demo").string();
    const OrbRun replay = Orb({"--home", home, "run", home + "/requests.jsonl"});
    ASSERT_EQ(replay.status, 0) << replay.err << replay.out;
    bool change = false, sale = false;
    for (const Json& reply : replay.replies) {
        ASSERT_FALSE(reply.is_discarded());
        if (reply.contains("roll"))
            change = change || reply["roll"].get<std::string>().find("TROCO R$") != std::string::npos;
        if (reply.value("call", "") == "FechaCupom") sale = reply["result"] == true;
    }
    EXPECT_TRUE(change && sale) << replay.out;
}

TEST(DemoView, PaperValuesAndLogForTheTerminal) {
    // The password line as the closing sends it: emphasis and double width around the text.
    EXPECT_EQ(demo::PaperText("Mesa: 12 \x1B"
                              "E\x1BW1SENHA: 042\x1B"
                              "F\x1BW0\n\rFonte\t: IBPT\x07"),
              "Mesa: 12 SENHA: 042\nFonte : IBPT");
    EXPECT_EQ(demo::PaperText("fim\x1B"), "fim");
    EXPECT_EQ(demo::PaperText("\x1B"
                              "ção"),
              "ção");

    const std::string framed = demo::Framed("Cartão Crédito\n" + std::string(50, 'x') + "\n\n  \n", 10);
    EXPECT_EQ(framed,
              "  +------------+\n"
              "  | Cartão Cré |\n"
              "  | dito       |\n"
              "  | xxxxxxxxxx |\n"
              "  | xxxxxxxxxx |\n"
              "  | xxxxxxxxxx |\n"
              "  | xxxxxxxxxx |\n"
              "  | xxxxxxxxxx |\n"
              "  +------------+\n");
    EXPECT_EQ(demo::Framed("", 4), "  +------+\n  +------+\n");

    const Json packet = Json::parse(R"([["CUPNR", "000001"], ["INTTEFERRO", 0], ["MENSAGEMTAA", ""], 7])");
    EXPECT_EQ(demo::NameValueList(demo::PacketPairs(packet), "  "),
              "  CUPNR       = \"000001\"\n"
              "  INTTEFERRO  = 0\n"
              "  MENSAGEMTAA = \"\"\n"
              "  [3]         = 7\n");
    EXPECT_TRUE(demo::PacketPairs(Json("not a packet")).empty());

    // CP1252 with CR LF, an entry over two lines: the last three lines, in UTF-8.
    const std::string log = fw::Utf8ToCp1252(
        "06/12/2026 10:00:00 - um\r\n06/12/2026 10:00:01 - Cartão\r\n"
        "06/12/2026 10:00:02 - Bematech_FI_NumeroCupom\r\n"
        "Retorno da Impressora : 000002\r\n");
    EXPECT_EQ(demo::LogTail(log, 3),
              (std::vector<std::string>{"06/12/2026 10:00:01 - Cartão", "06/12/2026 10:00:02 - Bematech_FI_NumeroCupom",
                                        "Retorno da Impressora : 000002"}));
    EXPECT_EQ(demo::LogTail(log, 10).size(), 4u);
    EXPECT_TRUE(demo::LogTail("", 5).empty());

    // Cut by characters, never inside one.
    EXPECT_EQ(demo::OneLine(Json{{"call", "ação"}}, 40), R"({"call":"ação"})");
    EXPECT_EQ(demo::OneLine(Json{{"call", "ação"}}, 12), R"({"call":"...)");
    EXPECT_EQ(demo::OneLine(Json{{"call", "ããããããã"}}, 13), R"({"call":"ã...)");
}

}  // namespace
}  // namespace orb::cli::testing
