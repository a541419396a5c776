// One printer, one owner: a second orb on the same host folder is refused, and a module in
// another host folder that shares the printer finds its port busy, while the first one's sale
// goes on untouched. Real processes, as an integrator would run them.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "CliTestSupport.h"
#include "ClosingValues.h"

namespace orb::cli::testing {
namespace {

// An `orb serve` of its own, answering one request at a time through pipes.
class ServeProcess {
public:
    ServeProcess(const std::vector<std::string>& words, const std::string& folder) {
        int in[2], out[2];
        if (::pipe(in) != 0 || ::pipe(out) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(in[0], 0);
            ::dup2(out[1], 1);
            for (int fd : {in[0], in[1], out[0], out[1]}) ::close(fd);
            if (::chdir(folder.c_str()) != 0) ::_exit(127);
            const std::string program = BinFolder() + "/orb";
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (const std::string& w : words) argv.push_back(const_cast<char*>(w.c_str()));
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        to_ = ::fdopen(in[1], "w");
        from_ = ::fdopen(out[0], "r");
    }
    ~ServeProcess() { Finish(); }

    Json Ask(const Json& request) {
        if (!to_ || !from_) return Json();
        std::fputs((request.dump() + "\n").c_str(), to_);
        std::fflush(to_);
        char* line = nullptr;
        std::size_t size = 0;
        const bool read = ::getline(&line, &size, from_) > 0;
        Json reply = read ? Json::parse(line, nullptr, false) : Json();
        std::free(line);
        return reply;
    }
    // Ends the input and answers the exit status.
    int Finish() {
        if (pid_ <= 0) return -1;
        if (to_) std::fclose(to_);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        if (from_) std::fclose(from_);
        to_ = from_ = nullptr;
        pid_ = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    std::FILE *to_ = nullptr, *from_ = nullptr;
};

TEST_F(OrbProcessTest, OnePrinterHasOneOwnerAndAHostFolderOneOrbProcess) {
    ServeProcess first({"--home", Home(), "serve"}, root_.string());
    ASSERT_EQ(first.Ask(ResetRequest())["ok"], true);
    ASSERT_EQ(first.Ask(StartRequest())["result"], true);
    ASSERT_EQ(first.Ask(OpeningRequest())["result"], true);
    ASSERT_EQ(first.Ask(ItemRequest("Moqueca", 30.0))["result"], true);

    // The same host folder: refused before anything reaches the module or the printer.
    const OrbRun sameHome = Orb({"--home", Home(), "serve"}, JsonLines({StartRequest()}));
    EXPECT_EQ(std::tuple(sameHome.status, sameHome.out), std::tuple(2, ""));
    EXPECT_NE(sameHome.err.find("another orb process is using the home folder"), std::string::npos) << sameHome.err;

    // Another host folder on the same printer: the port is busy, and nothing else gets through.
    const OrbRun other = Orb({"--home", (root_ / "other").string(), "--system", Home() + "/system", "run", "-"},
                             JsonLines({StartRequest(), OpeningRequest(), ItemRequest("Intruso", 1.0)}));
    ASSERT_EQ(other.replies.size(), 3u) << other.out << other.err;
    EXPECT_EQ(Json::array({other.replies[0]["result"], other.replies[1]["result"], other.replies[2]["result"]}),
              Json::array({false, false, false}));
    EXPECT_NE(other.replies[0]["log"].dump().find("Bematech_FI_AbrePortaSerial: -5"), std::string::npos)
        << other.replies[0];

    // The first sale completes as it was: 30,00 paid with 35,00 gives 5,00 of change.
    ClosingValues closing{.scheme = "001", .change = 5.0};
    closing.movements = ClosingMovements({{"001", 35.0, fw::Now()}});
    closing.paymentTypes = ClosingPaymentTypes({{"001", "Dinheiro", "1"}});
    EXPECT_EQ(first.Ask(FechaCupomRequest(closing))["result"], true);
    const std::string roll = first.Ask(Json{{"sim", "roll"}})["roll"];
    EXPECT_NE(roll.find("TROCO R$                                    5,00"), std::string::npos) << roll;
    EXPECT_EQ(roll.find("Intruso"), std::string::npos) << roll;
    EXPECT_EQ(first.Finish(), 0);

    // Once the first has ended, the printer and the folder are free again.
    const OrbRun after = Orb({"--home", Home(), "run", "-"}, JsonLines({StartRequest()}));
    ASSERT_EQ(after.replies.size(), 1u) << after.err;
    EXPECT_EQ(after.replies[0]["result"], true);
}

}  // namespace
}  // namespace orb::cli::testing
