#pragma once
// What the command-line tests share: a fresh host folder per test and the way to ask the bridge.
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Bridge.h"
#include "HostFolders.h"
#include "external/hostlib/HostLib.h"
#include "framework/FormatSettings.h"
#include "platform/Platform.h"

namespace orb::cli::testing {

inline std::filesystem::path FreshFolder(const char* prefix) {
    std::random_device random;
    auto path = std::filesystem::temp_directory_path() /
                (std::string(prefix) + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path);
    return path;
}

inline std::string ReadAll(const std::filesystem::path& path) {
    std::string text;
    platform::ReadFile(path.string(), text);
    return text;
}

// A host folder of its own for each test; the module's process-wide settings and answers queue
// start clean.
class BridgeTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = FreshFolder("orb-cli-");
        folders_ = PrepareHostFolders((root_ / "home").string(), "");
        fw::ResetSettings();
        hostlib::Recorded().queuedAnswers.clear();
    }
    void TearDown() override {
        fw::ResetSettings();
        hostlib::Recorded().queuedAnswers.clear();
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
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

// A text's lines, without the line ends (LF or CR LF).
inline std::vector<std::string> TextLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// The replies of a run or a service, one JSON object a line (a line that is not JSON stays a
// discarded value, so a test can point at it).
inline std::vector<Json> ReplyLines(const std::string& text) {
    std::vector<Json> replies;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) replies.push_back(Json::parse(line, nullptr, false));
    return replies;
}

// A scenario kept with these tests, by file name.
inline std::string ScenarioFile(const std::string& name) {
    return std::string(ORB_SOURCE_DIR) + "/tests/cli/scenarios/" + name;
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
    // ask the operator).
    OrbRun Orb(const std::vector<std::string>& words) { return RunOrb(words, "/dev/null"); }
    // The same with standard input read from a file holding input.
    OrbRun OrbWithInput(const std::vector<std::string>& words, const std::string& input) {
        const auto in = root_ / "in.txt";
        platform::WriteFile(in.string(), input);
        return RunOrb(words, in.string());
    }
    std::string Home() const { return (root_ / "till").string(); }
    std::string Scenario(const std::string& text) {
        const std::string path = (root_ / "scenario.json").string();
        platform::WriteFile(path, text);
        return path;
    }

private:
    OrbRun RunOrb(const std::vector<std::string>& words, const std::string& input) {
        const std::string bin = BinFolder();
        EXPECT_FALSE(bin.empty()) << "ORB_TEST_BIN names the folder of the orb program";
        std::string command = Quoted(bin + "/orb");
        for (const auto& w : words) command += " " + Quoted(w);
        const auto out = root_ / "out.txt", err = root_ / "err.txt", status = root_ / "status.txt";
        command = "cd " + Quoted(root_.string()) + " && " + command + " <" + Quoted(input) + " >" +
                  Quoted(out.string()) + " 2>" + Quoted(err.string()) + "; echo $? >" + Quoted(status.string());
        OrbRun run;
        if (std::system(command.c_str()) != 0) return run;
        run.status = std::stoi(ReadAll(status));
        run.out = ReadAll(out);
        run.err = ReadAll(err);
        run.replies = ReplyLines(run.out);
        return run;
    }
};

}  // namespace orb::cli::testing
