// The log as entries and the floor's open-append-close writer.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "DebugLogLines.h"
#include "platform/Platform.h"

namespace {

namespace fs = std::filesystem;
using orb::bench::AppendEachEntry;
using orb::bench::SplitLogEntries;
using orb::bench::StartsLogEntry;

TEST(DebugLogLinesTest, RecognisesTheStartOfAnEntry) {
    EXPECT_TRUE(StartsLogEntry("06/12/2026 13:05:09 - Bematech_FI_AbreCupomMFD :"));
    EXPECT_TRUE(StartsLogEntry("06/12/2026 13:05:09 - "));
    EXPECT_FALSE(StartsLogEntry("Retorno da Impressora : 000123"));
    EXPECT_FALSE(StartsLogEntry("06/12/2026 13:05:09"));         // no separator
    EXPECT_FALSE(StartsLogEntry("06-12-2026 13:05:09 - text"));  // another date shape
    EXPECT_FALSE(StartsLogEntry("06/12/2026 1:05:09 - text"));
    EXPECT_FALSE(StartsLogEntry(""));
}

TEST(DebugLogLinesTest, SplitsEntriesKeepingAnswersWithTheirCall) {
    const std::string log =
        "06/12/2026 13:05:09 - Bematech_FI_AbreCupomMFD : - - \r\n"
        "06/12/2026 13:05:09 - Bematech_FI_NumeroCupom\r\n"
        "Retorno da Impressora : 000042\r\n"
        "06/12/2026 13:05:10 - Bematech_FI_TerminaFechamentoCupom\r\n";
    const std::vector<std::string> entries = SplitLogEntries(log);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1], "06/12/2026 13:05:09 - Bematech_FI_NumeroCupom\r\nRetorno da Impressora : 000042\r\n");
    // Nothing is lost or added: the entries put together are the log.
    std::string joined;
    for (const auto& e : entries) joined += e;
    EXPECT_EQ(joined, log);
}

TEST(DebugLogLinesTest, KeepsALeadingFragmentAndAnUnfinishedLastLine) {
    const auto entries = SplitLogEntries("tail of an older entry\n06/12/2026 13:05:09 - last");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], "tail of an older entry\n");
    EXPECT_EQ(entries[1], "06/12/2026 13:05:09 - last");
    EXPECT_TRUE(SplitLogEntries("").empty());
}

class AppendEachEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("orb-bench-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    std::string Path(const char* name) const { return (folder_ / name).string(); }
    static std::string Contents(const std::string& path) {
        std::string contents;
        EXPECT_TRUE(orb::platform::ReadFile(path, contents)) << path;
        return contents;
    }

    fs::path folder_;
};

TEST_F(AppendEachEntryTest, AppendsEveryEntryBehindWhatIsThere) {
    const std::string path = Path("log.txt");
    ASSERT_TRUE(orb::platform::WriteFile(path, "old\r\n"));
    AppendEachEntry(path, {"one\r\n", "two\r\nmore\r\n", "three"});
    EXPECT_EQ(Contents(path), "old\r\none\r\ntwo\r\nmore\r\nthree");
    AppendEachEntry(path, {});
    EXPECT_EQ(Contents(path), "old\r\none\r\ntwo\r\nmore\r\nthree");
}

TEST_F(AppendEachEntryTest, CreatesTheFileAndFailsLoudlyWhereItCannotWrite) {
    const std::string path = Path("new.txt");
    AppendEachEntry(path, {"first\r\n"});
    EXPECT_EQ(Contents(path), "first\r\n");
    EXPECT_THROW(AppendEachEntry(Path("missing/log.txt"), {"x"}), std::runtime_error);
}

}  // namespace
