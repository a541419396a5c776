#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "FrameworkTestSupport.h"
#include "framework/ClientDataSet.h"
#include "framework/Cp1252.h"
#include "framework/Exceptions.h"

using namespace orb::fw;
namespace fs = std::filesystem;

namespace {

using namespace orb::fw::test;

class ClientDataSetFile : public ScratchFolder {
protected:
    void SetUp() override {
        ScratchFolder::SetUp();
        path = Path("Tambora.cds");
    }
    std::string path;
};

const std::string kHeader = "<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>";

}  // namespace

TEST_F(ClientDataSetFile, EveryValueReadsBackFieldForField) {
    ClientDataSet t;
    MakeAllTypes(t);
    t.SetLogChanges(false);
    const Variant n = Variant::Null();
    AppendRow(t, {CP("Pão de açúcar – 1€ \"x\" <&> ç"), -2147483647 - 1, 1234.565, EncodeDate(1899, 12, 29),
                  EncodeDateTime(2026, 12, 5, 23, 59, 59, 999), true});
    AppendRow(t, {n, n, n, n, n, n});
    AppendRow(
        t, {"linha 1\r\nlinha 2\ttab ", 0, 0.1, EncodeDate(2026, 2, 28), EncodeDateTime(1899, 12, 29, 6, 0, 0), false});
    AppendRow(t, {" ", 7, -1e-5, EncodeDate(9999, 12, 31), EncodeDate(2000, 1, 1), n});
    t.SaveToFile(path);

    // On disk: UTF-8, the host's type names, no pending states, no temporary file left behind.
    const std::string xml = Get(path);
    EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"", 0), 0u);
    for (const char* piece :
         {"P\xC3\xA3o de a\xC3\xA7\xC3\272car \xE2\x80\x93 1\xE2\x82\xAC", "fieldtype=\"string\" WIDTH=\"40\"",
          "fieldtype=\"r8\"", "DTHRINCMOV=\"20261205T23:59:59999\""})
        EXPECT_NE(xml.find(piece), std::string::npos) << piece;
    EXPECT_EQ(xml.find("RowState"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}), 1);

    ClientDataSet back;
    back.LoadFromFile(path);
    const DataPacket a = t.Data(), b = back.Data();
    ASSERT_EQ(std::make_tuple(b.fields.size(), b.rows.size()), std::make_tuple(6u, 4u));
    for (std::size_t f = 0; f < a.fields.size(); ++f) {
        EXPECT_EQ(std::tie(b.fields[f].name, b.fields[f].type, b.fields[f].size),
                  std::tie(a.fields[f].name, a.fields[f].type, a.fields[f].size));
        for (std::size_t r = 0; r < a.rows.size(); ++r) {
            EXPECT_EQ(a.rows[r][f], b.rows[r][f]) << "row " << r << " field " << a.fields[f].name;
            EXPECT_EQ(a.rows[r][f].Type(), b.rows[r][f].Type()) << "row " << r << " field " << a.fields[f].name;
        }
    }
    back.First();
    EXPECT_EQ(Row(back)[2], "1234,565");
}

TEST_F(ClientDataSetFile, ChangeLogIsSavedWithPendingStatesOnlyWhenOn) {
    ClientDataSet t;
    t.AddFieldDef("CDFILIAL", FieldType::String, 4);
    t.AddFieldDef("CAMPO02", FieldType::String, 40);
    t.CreateDataSet();
    for (const char* branch : {"0001", "0002", "0003"}) AppendRow(t, {branch, "old"});
    t.MergeChangeLog();
    EXPECT_EQ(t.ChangeCount(), 0);

    t.First();
    EditRow(t, {{"CAMPO02", "new"}});
    t.Next();
    t.Edit();
    t.FieldByName("CAMPO02").Clear();
    t.Post();
    t.Next();
    t.Delete();
    AppendRow(t, {"0004"});
    EXPECT_EQ(t.ChangeCount(), 4);

    t.SaveToFile(path);
    const std::string logged = Get(path);
    for (const char* row :
         {"RowState=\"1\" CDFILIAL=\"0001\" CAMPO02=\"old\"", "RowState=\"8\" CDFILIAL=\"0001\" CAMPO02=\"new\"",
          "RowState=\"8\" CDFILIAL=\"0002\" CAMPO02=\"\"", "RowState=\"2\" CDFILIAL=\"0003\"",
          "RowState=\"4\" CDFILIAL=\"0004\""})
        EXPECT_NE(logged.find(std::string("<ROW ") + row), std::string::npos) << row;

    // Loaded back, the pending states survive and the visible rows are the current ones.
    ClientDataSet back;
    back.LoadFromFile(path);
    EXPECT_EQ(back.ChangeCount(), 4);
    EXPECT_EQ(Column(back, "CAMPO02"), (Strings{"new", "", ""}));
    back.First();
    back.Next();
    EXPECT_TRUE(back.FieldByName("CAMPO02").IsNull());

    // With the log off the same table is written plain, the deleted row gone.
    back.SetLogChanges(false);
    back.SaveToFile(path);
    const std::string plain = Get(path);
    EXPECT_EQ(plain.find("RowState"), std::string::npos);
    EXPECT_EQ(plain.find("0003"), std::string::npos);
    EXPECT_NE(plain.find("<ROW CDFILIAL=\"0001\" CAMPO02=\"new\""), std::string::npos);

    // Changes made with the log off leave no pending state.
    ClientDataSet quiet;
    quiet.SetLogChanges(false);
    quiet.LoadFromFile(path);
    EXPECT_EQ(quiet.ChangeCount(), 0);
    quiet.First();
    EditRow(quiet, {{"CAMPO02", "x"}});
    quiet.Delete();
    EXPECT_EQ(std::make_pair(quiet.ChangeCount(), quiet.RecordCount()), std::make_pair(0, 2));
}

TEST_F(ClientDataSetFile, PacketsWrittenByTheHostAreRead) {
    // A one-byte encoding declared: the bytes are CP1252 as they stand. A modified row names only
    // what changed; types the host writes that this table folds into its own.
    Put(path,
        "<?xml version=\"1.0\" encoding=\"windows-1252\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
        "<FIELD attrname=\"NM\" fieldtype=\"string\" WIDTH=\"20\"/><FIELD attrname=\"NR\" fieldtype=\"i2\"/>"
        "<FIELD attrname=\"VR\" fieldtype=\"fixed\" DECIMALS=\"2\" WIDTH=\"15\"/>"
        "<FIELD attrname=\"DS\" fieldtype=\"string.uni\" WIDTH=\"20\"/>"
        "<FIELD attrname=\"OBS\" fieldtype=\"bin.hex\" SUBTYPE=\"Text\"/></FIELDS>"
        "<PARAMS DEFAULT_ORDER=\"1\"/></METADATA><ROWDATA>"
        "<ROW NM=\"S\xE3o Jo\xE3o\" NR=\"1\" VR=\"2.50\" DS=\"a\"/>"
        "<ROW RowState=\"1\" NM=\"B\" NR=\"2\" VR=\"3\"/><ROW RowState=\"8\" VR=\"4.25\"/>"
        "<ROW RowState=\"4\" NM=\"C\" NR=\"3\" OBS=\"livre\" EXTRA=\"ignored\"/>"
        "</ROWDATA></DATAPACKET>");
    ClientDataSet t;
    t.LoadFromFile(path);
    const auto& defs = t.FieldDefs();
    EXPECT_EQ(std::make_tuple(defs[1].type, defs[2].type, defs[3].size, defs[4].type),
              std::make_tuple(FieldType::Integer, FieldType::Float, 10, FieldType::String));
    EXPECT_EQ(t.ChangeCount(), 2);
    // The modified row keeps what its changed half does not name.
    EXPECT_EQ(Column(t, "NM"), (Strings{CP("São João"), "B", "C"}));
    EXPECT_EQ(Column(t, "VR"), (Strings{"2,5", "4,25", ""}));
    EXPECT_EQ(t.FieldByName("OBS").AsString(), "livre");

    // One declaration, at the very start: a strict reader refuses a second one.
    const std::string text = t.XmlText();
    EXPECT_EQ(text.rfind("<?xml", 0), 0u);
    EXPECT_EQ(text.find("<?xml", 1), std::string::npos);
    const DataPacket fromText = ClientDataSet::FromXml(text);
    EXPECT_EQ(fromText.rows.size(), 3u);
    EXPECT_EQ(fromText.rows[1][2], Variant(4.25));
}

TEST_F(ClientDataSetFile, TornAndGarbageFilesRaiseAndLeaveTheTableAsItWas) {
    ClientDataSet good;
    MakeAllTypes(good);
    AppendRow(good, {"a", 1, 1.5, EncodeDate(2026, 1, 1), EncodeDate(2026, 1, 1), true});
    good.SaveToFile(path);
    const std::string whole = Get(path);

    ClientDataSet t;
    t.LoadFromFile(path);
    // Every cut short of the whole file is refused.
    for (std::size_t cut : {std::size_t{0}, std::size_t{10}, whole.size() / 3, whole.find("<ROWDATA>"),
                            whole.find("</ROWDATA>"), whole.size() - 1}) {
        Put(path, whole.substr(0, cut));
        EXPECT_THROW(t.LoadFromFile(path), EDatabaseError) << "cut at " << cut;
        EXPECT_EQ(std::make_pair(t.RecordCount(), t.FieldCount()), std::make_pair(1, 6));
    }
    const std::string bad[] = {
        std::string("\x00\x01\x02garbage", 10),
        "<html><body/></html>",
        kHeader + "</FIELDS></METADATA><ROWDATA/></DATAPACKET>",  // no fields
        kHeader + "<FIELD attrname=\"A\" fieldtype=\"nested\"/></FIELDS></METADATA><ROWDATA/></DATAPACKET>",
        kHeader +
            "<FIELD attrname=\"A\" fieldtype=\"i4\"/><FIELD attrname=\"a\" fieldtype=\"i4\"/></FIELDS></METADATA>"
            "<ROWDATA/></DATAPACKET>",
        kHeader +
            "<FIELD attrname=\"A\" fieldtype=\"i4\"/></FIELDS></METADATA><ROWDATA><ROW "
            "A=\"1x\"/></ROWDATA></DATAPACKET>",
        kHeader +
            "<FIELD attrname=\"A\" fieldtype=\"date\"/></FIELDS></METADATA><ROWDATA><ROW A=\"20261332\"/></ROWDATA>"
            "</DATAPACKET>",
    };
    for (const std::string& contents : bad) {
        Put(path, contents);
        EXPECT_NE(MessageOf<EDatabaseError>([&] { t.LoadFromFile(path); }).find(path), std::string::npos) << contents;
        EXPECT_EQ(t.RecordCount(), 1);
    }
    EXPECT_NE(MessageOf<EInOutError>([&] { t.LoadFromFile(Path("missing.cds")); }).find("missing.cds"),
              std::string::npos);
    EXPECT_THROW(t.SaveToFile(Path("no-such-folder/x.cds")), EInOutError);
}
