// The help texts: every verb has one, and the help of call lists the export table, all of it.
#include "CliTestSupport.h"

#include <set>

#include "Help.h"

namespace orb::cli::testing {
namespace {

// The operation lines of a help text: those after "Operations (N):" up to the first blank line.
std::vector<std::string> OperationLines(const std::string& help, std::string* heading = nullptr) {
    std::vector<std::string> lines;
    std::istringstream in(help);
    bool listing = false;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("Operations (")) {
            listing = true;
            if (heading) *heading = line;
            continue;
        }
        if (listing && line.empty()) break;
        if (listing) lines.push_back(line);
    }
    return lines;
}

TEST(Help, CallListsEveryOperationOfTheExportTableOnce) {
    const auto& operations = exports::Operations();
    std::string heading;
    const std::vector<std::string> lines = OperationLines(VerbHelp("call"), &heading);
    ASSERT_EQ(lines.size(), operations.size());
    EXPECT_EQ(heading, "Operations (" + std::to_string(operations.size()) + "):");
    std::set<std::string> names;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string name = lines[i].substr(2, lines[i].find('(') - 2);
        EXPECT_EQ(name, operations[i].name) << lines[i];
        names.insert(name);
    }
    EXPECT_EQ(names.size(), operations.size());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "  VendaItem(var variant) -> bool"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "  StartImpFiscal(var variant) -> bool"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "  StopImpFiscal()"), lines.end());
}

TEST(Help, OperationLinesNameEveryParameterKind) {
    exports::Operation op{"Exemplo",
                          exports::ExportKind::Both,
                          {exports::ParamKind::Text, exports::ParamKind::DoubleVar, exports::ParamKind::DataSet},
                          exports::ResultKind::Text,
                          nullptr};
    EXPECT_EQ(OperationLine(op), "  Exemplo(text, var double, dataset) -> text\n");
}

TEST(Help, EveryVerbHasItsUsageAndTheGeneralUsageNamesThemAll) {
    const std::string general = GeneralUsage();
    for (const std::string& verb : Verbs()) {
        const std::string help = VerbHelp(verb);
        EXPECT_TRUE(help.starts_with("usage: orb [--home DIR] [--system DIR] " + verb)) << help;
        EXPECT_NE(help.find("--home DIR"), std::string::npos) << verb;
        EXPECT_NE(general.find("orb [--home DIR] [--system DIR] " + verb), std::string::npos) << verb;
        EXPECT_NE(general.find("\n  " + verb + " "), std::string::npos) << verb;
    }
    for (const char* verb : {"serve", "roll", "log", "state", "demo"}) EXPECT_TRUE(IsVerb(verb)) << verb;
    EXPECT_FALSE(IsVerb("frobnicate"));
    EXPECT_TRUE(VerbHelp("frobnicate").empty());
    // Only call carries the list of operations.
    EXPECT_TRUE(OperationLines(VerbHelp("run")).empty());
    EXPECT_TRUE(OperationLines(general).empty());
}

TEST_F(OrbProcessTest, HelpOnTheCommandLine) {
    OrbRun general = Orb({"--help"});
    EXPECT_EQ(general.status, 0);
    EXPECT_EQ(general.out, GeneralUsage());
    EXPECT_EQ(Orb({"help"}).out, general.out);
    EXPECT_EQ(Orb({"-h"}).out, general.out);

    OrbRun call = Orb({"help", "call"});
    EXPECT_EQ(call.status, 0);
    EXPECT_EQ(OperationLines(call.out).size(), exports::Operations().size());
    EXPECT_EQ(Orb({"call", "--help"}).out, call.out);
    EXPECT_EQ(Orb({"--help", "call"}).out, call.out);
    OrbRun serve = Orb({"serve", "--help"});
    EXPECT_EQ(serve.status, 0);
    EXPECT_EQ(serve.out, VerbHelp("serve"));
    // Help never touches the folders.
    EXPECT_FALSE(std::filesystem::exists(root_ / "orb-home"));

    for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
             {"help", "frobnicate"}, {"help", "call", "run"}, {"frobnicate", "--help"}}) {
        OrbRun run = Orb(words);
        EXPECT_EQ(run.status, 2) << words[0] << " " << words[1];
        EXPECT_TRUE(run.out.empty());
        EXPECT_FALSE(run.err.empty());
    }
}

}  // namespace
}  // namespace orb::cli::testing
