#pragma once
// What the command-line tests share: a fresh host folder per test and the way to ask the bridge.
#include <filesystem>
#include <random>
#include <string>

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

}  // namespace orb::cli::testing
