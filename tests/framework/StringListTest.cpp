#include <gtest/gtest.h>

#include "FrameworkTestSupport.h"
#include "framework/Exceptions.h"
#include "framework/StringList.h"

using namespace orb::fw;

using orb::fw::test::MessageOf;
using orb::fw::test::Strings;
using StringListFileTest = orb::fw::test::ScratchFolder;

TEST(StringListTest, LinesAndIndexes) {
    StringList list{"b", "c"};
    list.Insert(0, "a");
    list.Add("d");
    EXPECT_EQ(list.Lines(), (Strings{"a", "b", "c", "d"}));
    list.Delete(3);
    list[1] = "B";
    EXPECT_EQ(list.IndexOf("b"), 1);
    EXPECT_EQ(list.IndexOf("z"), -1);
    list.Insert(3, "end");
    EXPECT_EQ(list.Lines(), (Strings{"a", "B", "c", "end"}));
    EXPECT_EQ(MessageOf<EListError>([&] { (void)list[4]; }), "List index out of bounds (4)");
    EXPECT_THROW(list.Delete(-1), Exception);
    EXPECT_THROW(list.Insert(6, "x"), Exception);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(StringListTest, TextWithEveryLineEnd) {
    StringList list;
    list.SetText("a\r\nb\nc\rd\r\n");
    EXPECT_EQ(list.Lines(), (Strings{"a", "b", "c", "d"}));
    EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\nd\r\n");
    list.SetText("one\r\n\r\nthree");
    EXPECT_EQ(list.Lines(), (Strings{"one", "", "three"}));
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Text(), "");
    list.SetText("\n");
    EXPECT_EQ(list.Count(), 1);
}

TEST(StringListTest, NameValueLines) {
    StringList list{"Porta=COM1", "Modelo=MP-4000", "texto sem nome"};
    EXPECT_EQ((Strings{list.Value("porta"), list.Value("ausente"), list.Value("texto sem nome")}),
              (Strings{"COM1", "", ""}));
    list.SetValue("PORTA", "COM2");
    list.SetValue("Velocidade", "9600");
    list.SetValue("modelo", "");  // an empty value removes the line
    EXPECT_EQ(list.Lines(), (Strings{"PORTA=COM2", "texto sem nome", "Velocidade=9600"}));
    EXPECT_EQ(list.Value("Velocidade"), "9600");
}

TEST_F(StringListFileTest, SaveAndLoadKeepTheBytesOrRaise) {
    const std::string path = Path("lista.txt");
    StringList list{"Redu\xE7\xE3o", "", "fim"};
    list.SaveToFile(path);
    EXPECT_EQ(Get(path), "Redu\xE7\xE3o\r\n\r\nfim\r\n");
    StringList loaded;
    loaded.Add("old");
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.Lines(), list.Lines());

    // Unreadable and unwritable files raise; a failed load leaves the lines alone.
    const std::string missing = Path("nao-existe.txt");
    EXPECT_EQ(MessageOf<EInOutError>([&] { list.LoadFromFile(missing); }), "Cannot open file \"" + missing + "\"");
    EXPECT_EQ(list.Count(), 3);
    EXPECT_THROW(list.SaveToFile(Path("sem-pasta/x.txt")), EInOutError);
}
