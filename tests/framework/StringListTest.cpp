#include <gtest/gtest.h>

#include <filesystem>

#include "framework/Exceptions.h"
#include "framework/StringList.h"
#include "platform/Platform.h"

using namespace orb::fw;

namespace {

class StringListFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  ("orb-stringlist-" + std::string(info->name()) + "-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::filesystem::path folder_;
};

}  // namespace

TEST(StringListTest, LinesAndIndexes) {
    StringList list{"b", "c"};
    list.Insert(0, "a");
    list.Add("d");
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list[0], "a");
    list.Delete(3);
    EXPECT_EQ(list.Count(), 3);
    list[1] = "B";
    EXPECT_EQ(list.IndexOf("b"), 1);
    EXPECT_EQ(list.IndexOf("z"), -1);
    list.Insert(3, "end");
    EXPECT_EQ(list[3], "end");
    try {
        (void)list[4];
        ADD_FAILURE() << "no error";
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (4)");
    }
    EXPECT_THROW(list.Delete(-1), Exception);
    EXPECT_THROW(list.Insert(6, "x"), Exception);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(StringListTest, TextWithEveryLineEnd) {
    StringList list;
    list.SetText("a\r\nb\nc\rd\r\n");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[2], "c");
    EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\nd\r\n");
    list.SetText("one\r\n\r\nthree");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[1], "");
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Text(), "");
    list.SetText("\n");
    EXPECT_EQ(list.Count(), 1);
}

TEST(StringListTest, NameValueLines) {
    StringList list{"Porta=COM1", "Modelo=MP-4000", "texto sem nome"};
    EXPECT_EQ(list.Value("porta"), "COM1");
    EXPECT_EQ(list.Value("ausente"), "");
    EXPECT_EQ(list.Value("texto sem nome"), "");
    list.SetValue("PORTA", "COM2");
    EXPECT_EQ(list[0], "PORTA=COM2");
    list.SetValue("Velocidade", "9600");
    EXPECT_EQ(list[3], "Velocidade=9600");
    list.SetValue("modelo", "");  // an empty value removes the line
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Value("Modelo"), "");
    EXPECT_EQ(list.Value("Velocidade"), "9600");
}

TEST_F(StringListFileTest, SaveAndLoadKeepTheBytes) {
    const std::string path = (folder_ / "lista.txt").string();
    StringList list{"Redu\xE7\xE3o", "", "fim"};
    list.SaveToFile(path);
    std::string raw;
    ASSERT_TRUE(orb::platform::ReadFile(path, raw));
    EXPECT_EQ(raw, "Redu\xE7\xE3o\r\n\r\nfim\r\n");
    StringList loaded;
    loaded.Add("old");
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.Lines(), list.Lines());
}

TEST_F(StringListFileTest, UnreadableAndUnwritableFilesRaise) {
    const std::string missing = (folder_ / "nao-existe.txt").string();
    StringList list{"keep"};
    try {
        list.LoadFromFile(missing);
        ADD_FAILURE() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + missing + "\"");
    }
    EXPECT_EQ(list.Count(), 1);  // a failed load leaves the lines alone
    EXPECT_THROW(list.SaveToFile((folder_ / "sem-pasta" / "x.txt").string()), EInOutError);
}
