// The include-rule checker on a small tree: the includes the rules allow pass, and every kind of
// broken rule is reported with its file, line and include.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <tuple>

#include "IncludeRules.h"

namespace {

namespace fs = std::filesystem;
using orb::layers::CheckIncludeRules;

class IncludeRules : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("orb-layers-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        // A tree that keeps every rule: each layer includes lower ones, two subsystems one way
        // only, the public header from anywhere, and the tools what is open to them.
        Put("include/orb00100/Api.h", {});
        Put("src/platform/Platform.h", {"orb00100/Api.h"});
        Put("src/framework/Text.h", {"platform/Platform.h"});
        Put("src/external/hostlib/HostLib.h", {"framework/Text.h"});
        Put("src/external/vendor/Entry.h", {"orb00100/Api.h", "external/hostlib/HostLib.h"});
        Put("src/driver/Call.h", {"external/vendor/Entry.h"});
        Put("src/queries/Queries.h", {"driver/Call.h"});
        Put("src/coupon/Coupon.h", {"queries/Queries.h"});
        Put("src/coupon/Coupon.cpp", {"Coupon.h", "coupon/Coupon.h"});
        Put("src/exports/ExportTable.h", {"coupon/Coupon.h"});
        Put("src/exports/table/Rows.inc", {"queries/Queries.h"});
        Put("sim/common/Store.h", {"platform/Platform.h"});
        Put("sim/fiscal/Entry.cpp", {"common/Store.h", "orb00100/Api.h"});
        Put("src/bridge/Bridge.h", {"exports/ExportTable.h", "coupon/Coupon.h"});
        Put("tools/orb/Cli.cpp", {"Cli.h", "exports/ExportTable.h", "external/hostlib/HostLib.h", "bridge/Bridge.h"});
        Put("tools/orb/Cli.h", {});
        Put("tests/AnyTest.cpp", {"driver/Call.h", "exports/table/Rows.inc"});
    }
    void TearDown() override { fs::remove_all(root_); }

    void Put(const std::string& file, std::initializer_list<std::string> includes) {
        fs::create_directories((root_ / file).parent_path());
        std::ofstream out(root_ / file);
        out << "#pragma once\n#include <vector>\n";
        for (const std::string& name : includes) out << "#include \"" << name << "\"\n";
    }

    // (file, include, a word of the reason) of every violation.
    std::set<std::tuple<std::string, std::string, std::string>> Found(
        const std::set<std::tuple<std::string, std::string, std::string>>& expected) {
        std::set<std::tuple<std::string, std::string, std::string>> found;
        for (const auto& v : CheckIncludeRules(root_)) {
            std::string word;
            for (const auto& e : expected)
                if (std::get<0>(e) == v.file && std::get<1>(e) == v.include &&
                    v.reason.find(std::get<2>(e)) != std::string::npos)
                    word = std::get<2>(e);
            // The line of the #include: each file starts with two lines of its own.
            EXPECT_EQ(v.line >= 3, !v.include.empty()) << orb::layers::Describe(v);
            found.emplace(v.file, v.include, word.empty() ? orb::layers::Describe(v) : word);
        }
        return found;
    }

    fs::path root_;
};

TEST_F(IncludeRules, ATreeThatKeepsThemHasNoViolation) {
    for (const auto& v : CheckIncludeRules(root_)) ADD_FAILURE() << orb::layers::Describe(v);
}

TEST_F(IncludeRules, EachBrokenRuleIsReportedWithItsFileAndInclude) {
    Put("src/framework/Upward.h", {"driver/Call.h"});
    Put("src/driver/Reaches.cpp", {"exports/ExportTable.h", "driver/Missing.h", "../sim/common/Store.h"});
    Put("tools/orb/Log.cpp", {"driver/Call.h", "exports/table/Rows.inc"});
    Put("sim/fiscal/Raw.cpp", {"external/vendor/Entry.h", "bridge/Bridge.h"});
    Put("src/exports/Request.cpp", {"bridge/Bridge.h"});
    Put("include/orb00100/Leaky.h", {"platform/Platform.h"});
    Put("src/queries/Totals.cpp", {"coupon/Coupon.h"});  // coupon already includes queries
    Put("src/newplace/Thing.cpp", {});
    const std::set<std::tuple<std::string, std::string, std::string>> expected = {
        {"src/framework/Upward.h", "driver/Call.h", "higher layer"},
        {"src/driver/Reaches.cpp", "exports/ExportTable.h", "higher layer"},
        {"src/driver/Reaches.cpp", "driver/Missing.h", "no such file"},
        {"src/driver/Reaches.cpp", "../sim/common/Store.h", "may not include sim"},
        {"tools/orb/Log.cpp", "driver/Call.h", "may include only"},
        {"tools/orb/Log.cpp", "exports/table/Rows.inc", "may include only"},
        {"sim/fiscal/Raw.cpp", "external/vendor/Entry.h", "may include only"},
        {"sim/fiscal/Raw.cpp", "bridge/Bridge.h", "may include only"},
        {"src/exports/Request.cpp", "bridge/Bridge.h", "higher layer"},
        {"include/orb00100/Leaky.h", "platform/Platform.h", "public headers"},
        {"src/queries/Totals.cpp", "coupon/Coupon.h", "circle src/queries -> src/coupon -> src/queries"},
        {"src/coupon/Coupon.h", "queries/Queries.h", "circle src/coupon -> src/queries -> src/coupon"},
        {"src/newplace/Thing.cpp", "", "no place in the layers"},
    };
    EXPECT_EQ(Found(expected), expected);
}

}  // namespace
