#pragma once
// What the command-line tests share: a fresh host folder per test, the way to ask the bridge or
// run the orb program, and the requests a till sends most.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HostFolders.h"
#include "bridge/Bridge.h"
#include "external/hostlib/HostLib.h"
#include "framework/FormatSettings.h"
#include "platform/Platform.h"
#include "platform/PlatformTestSupport.h"

namespace orb::cli::testing {

using namespace orb::bridge;

using orbtest::TextLines;
inline std::string ReadAll(const std::string& path) { return orbtest::ReadBytes(path); }

inline constexpr const char* kSerial = "BE091010100011223344";

inline Json Call(const char* name, Json args = Json::array()) {
    return Json{{"call", name}, {"args", std::move(args)}};
}
// Named parameters: an array of [name, value] pairs.
inline Json Named(std::initializer_list<std::pair<const char*, Json>> pairs) {
    Json list = Json::array();
    for (const auto& [name, value] : pairs) list.push_back(Json::array({name, value}));
    return list;
}
// clang-format off
inline Json StartRequest(const Json& model = 34, const char* serial = kSerial) {
    return Call("StartImpFiscal", Json::array({Named({
        {"CDFILIAL", "0001"}, {"CDCAIXA", "001"}, {"NRSERIEIMP", serial}, {"ESQUEMA", "001"},
        {"CDPORTAIMPFIS", "COM1"}, {"IDTIPOIMPFIS", model}, {"BOUTILTAA", false}})}));
}
inline Json OpeningRequest() {
    return Call("AbreCupom", Json::array({Named({{"ESQUEMACOR", "001"}, {"IDUTILTEF", "N"}, {"UTILTEF", false}})}));
}
inline Json ItemRequest(const char* name = "Moqueca", double price = 30.0, const char* tax = "01") {
    return Call("VendaItem", Json::array({Named({
        {"ESQUEMACOR", "001"}, {"CDARVPROD", "7891"}, {"NMPROD", name}, {"CDALIQ", tax}, {"QTDE", 1.0},
        {"VALOR", price}, {"DESCONT", 0.0}, {"UNIDADE", "UN"}, {"VRPERCALIQ", "18"}, {"IDUTILTEF", "N"},
        {"UTILTEF", false}, {"ACRESCIMO", 0.0}})}));
}
// clang-format on
inline Json ResetRequest() { return Json{{"sim", "reset"}, {"model", 34}, {"serial", kSerial}}; }
// Requests one per line, as `orb run` and `orb serve` read them.
inline std::string JsonLines(const std::vector<Json>& requests) {
    std::string text;
    for (const Json& r : requests) text += r.dump() + "\n";
    return text;
}
// The first dialog of a reply that asked a question (null when none did).
inline Json Question(const Json& reply) {
    for (const Json& dialog : reply["dialogs"])
        if (dialog["question"] == "S") return dialog;
    return Json();
}

// A host folder of its own for each test; the module's process-wide settings and answers queue
// start clean.
class BridgeTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = orbtest::FreshFolder("orb-cli-");
        folders_ = PrepareHostFolders((root_ / "home").string(), "");
        Clean();
    }
    void TearDown() override {
        Clean();
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    static void Clean() {
        fw::ResetSettings();
        hostlib::Recorded().queuedAnswers.clear();
    }
    static Json Ask(const char* request) { return HandleRequest(Json::parse(request)); }
    static Json Ask(const Json& request) { return HandleRequest(request); }

    std::filesystem::path root_;
    HostFolders folders_;
};

inline std::string Quoted(const std::string& word) {
    std::string q = "'";
    for (char c : word) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// The replies of a run or a service, one JSON object a line (a line that is not JSON stays a
// discarded value, so a test can point at it).
inline std::vector<Json> ReplyLines(const std::string& text) {
    std::vector<Json> replies;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) replies.push_back(Json::parse(line, nullptr, false));
    return replies;
}

struct OrbRun {
    int status = -1;
    std::string out, err;
    std::vector<Json> replies;
};

// ORB_TEST_BIN, else the bin folder beside the library folder the tests are given.
inline std::string BinFolder() {
    std::string bin = platform::GetEnv("ORB_TEST_BIN");
    if (!bin.empty()) return bin;
    std::string lib = platform::GetEnv("ORB_LIBRARY_PATH");
    lib = lib.substr(0, lib.find(':'));
    if (lib.empty()) return lib;
    return (std::filesystem::path(lib) / ".." / "bin").lexically_normal().string();
}

// Runs the orb program in a folder of its own, as a script or a person runs it.
class OrbProcessTest : public BridgeTest {
protected:
    // Standard input is empty (never the terminal the tests were started from, where orb would
    // ask the operator), or read from a file holding input.
    OrbRun Orb(const std::vector<std::string>& words, const std::string& input = "") {
        const std::string bin = BinFolder();
        EXPECT_FALSE(bin.empty()) << "ORB_TEST_BIN names the folder of the orb program";
        const auto in = root_ / "in.txt", out = root_ / "out.txt", err = root_ / "err.txt";
        platform::WriteFile(in.string(), input);
        std::string command = Quoted(bin + "/orb");
        for (const auto& w : words) command += " " + Quoted(w);
        command = "cd " + Quoted(root_.string()) + " && " + command + " <" + Quoted(in.string()) + " >" +
                  Quoted(out.string()) + " 2>" + Quoted(err.string());
        OrbRun run;
        const int status = std::system(command.c_str());
        if (status == -1 || !WIFEXITED(status)) return run;
        run.status = WEXITSTATUS(status);
        run.out = ReadAll(out.string());
        run.err = ReadAll(err.string());
        run.replies = ReplyLines(run.out);
        return run;
    }
    // `orb --home HOME run` of a scenario written here.
    OrbRun Run(const std::string& scenario) {
        platform::WriteFile((root_ / "scenario.json").string(), scenario);
        return Orb({"--home", Home(), "run", (root_ / "scenario.json").string()});
    }
    std::string Home() const { return (root_ / "till").string(); }
};

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
    ServeProcess(const ServeProcess&) = delete;
    ServeProcess& operator=(const ServeProcess&) = delete;

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

}  // namespace orb::cli::testing
