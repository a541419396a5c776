// The convenience verbs through the program: roll, log and state.
#include "CliTestSupport.h"

#include <tuple>

#include "driver/DebugLog.h"

namespace orb::cli::testing {
namespace {

class OrbVerbsTest : public OrbProcessTest {
protected:
    // Terminal text is UTF-8 in these tests, whatever locale they were started under.
    orbtest::ScopedEnv locale_{"LC_ALL", "C.UTF-8"};
};

TEST_F(OrbVerbsTest, RollAndStateShowWhatThePrinterHolds) {
    // A coupon open on a fresh printer with one item in it, and a report whose text is printed large
    // (emphasis and double width, as the footer's order password is).
    const Json report =
        Call("Relatorio_Generico", Json::array({"001", "A", "B", "\033E\033W1SENHA: 042\033F\033W0\n", "", ""}));
    Json reset = ResetRequest();
    reset["reports"] = {"Relatorios"};
    OrbRun run = Run(JsonLines({reset, StartRequest(), report, OpeningRequest(), ItemRequest()}));
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    for (const Json& reply : run.replies)
        ASSERT_TRUE(!reply.contains("result") || reply["result"] == true) << reply.dump();

    OrbRun roll = Orb({"--home", Home(), "roll"});
    ASSERT_EQ(roll.status, 0) << roll.err;
    EXPECT_NE(roll.out.find("Moqueca"), std::string::npos) << roll.out;
    EXPECT_NE(roll.out.find("SENHA: 042\n"), std::string::npos) << roll.out;
    EXPECT_EQ(roll.out.find('\x1B'), std::string::npos);  // the printer's commands are left off
    EXPECT_EQ(std::tuple(roll.out.back(), roll.err), std::tuple('\n', std::string()));
    OrbRun cleared = Orb({"--home", Home(), "roll", "--clear"});
    EXPECT_EQ(std::tuple(cleared.status, cleared.out), std::tuple(0, roll.out)) << cleared.err;
    OrbRun empty = Orb({"--home", Home(), "roll"});
    EXPECT_EQ(std::tuple(empty.status, empty.out), std::tuple(1, std::string()));
    EXPECT_NE(empty.err.find("printed nothing"), std::string::npos) << empty.err;

    // The whole printer as indented JSON.
    OrbRun state = Orb({"--home", Home(), "state"});
    ASSERT_EQ(state.status, 0) << state.err;
    const Json parsed = Json::parse(state.out, nullptr, false);
    ASSERT_TRUE(parsed.is_object()) << state.out;
    EXPECT_TRUE(parsed["docs"]["couponOpen"].get<bool>()) << state.out;
    EXPECT_NE(state.out.find("\n  \""), std::string::npos);
}

TEST_F(OrbVerbsTest, LogShowsThisMonthsDebugLogForTheTerminal) {
    // The test's own host folder is the one the module in this process would log into.
    const std::string home = folders_.home;
    OrbRun none = Orb({"--home", home, "log"});
    EXPECT_EQ(std::tuple(none.status, none.out), std::tuple(1, std::string()));
    EXPECT_NE(none.err.find("no debug log this month yet"), std::string::npos) << none.err;
    EXPECT_NE(none.err.find(Orb00100::DebugLogPath()), std::string::npos) << none.err;

    OrbRun start = Orb({"--home", home, "call", "StartImpFiscal", StartRequest(34, "")["args"].dump()});
    ASSERT_NE(start.status, 2) << start.err;
    ASSERT_TRUE(platform::AppendToFile(Orb00100::DebugLogPath(), "06/12/2026 12:00:00 - Impress\xE3o \x80\r\n"));

    OrbRun log = Orb({"--home", home, "log"});
    ASSERT_EQ(log.status, 0) << log.err;
    EXPECT_NE(log.out.find("Bematech_FI_AbrePortaSerial"), std::string::npos) << log.out;
    EXPECT_NE(log.out.find("06/12/2026 12:00:00 - Impress\xC3\xA3o \xE2\x82\xAC\n"), std::string::npos) << log.out;
    EXPECT_EQ(log.out.find('\r'), std::string::npos);
}

}  // namespace
}  // namespace orb::cli::testing
