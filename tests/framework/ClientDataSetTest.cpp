#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "FrameworkTestSupport.h"
#include "framework/ClientDataSet.h"
#include "framework/Cp1252.h"
#include "framework/Exceptions.h"

using namespace orb::fw;

namespace {

using namespace orb::fw::test;

// A payment-type table laid out as the host hands it over.
class PaymentTable : public ::testing::Test {
protected:
    void SetUp() override {
        t.AddFieldDef("CDTIPORECE", FieldType::String, 3);
        t.AddFieldDef("DSIMPFISCAL", FieldType::String, 50);
        t.AddFieldDef("IDTPBUTTON", FieldType::String, 1);
        t.AddFieldDef("IDTIPORECE", FieldType::String, 1);
        t.AddFieldDef("CDFPIMPFIS", FieldType::String, 10);
        t.AddFieldDef("VRMOVIVEND", FieldType::Float);
        t.CreateDataSet();
        // An empty text leaves the field null; a blank is a value.
        AppendRow(t, {"001", "Dinheiro", "5", "1", "S", 10.5});
        AppendRow(t, {"002", "Cheque", "5", "2", "", 20.0});
        AppendRow(t, {"003", "Cartao", "1", "5", "S", 30.0});
        AppendRow(t, {"004", "Ticket", "5", "7", " ", 40.0});
        AppendRow(t, {"005", "dinheiro", "5", "4", "X", 50.0});
    }
    ClientDataSet t{"cdsTipoRece"};
};

}  // namespace

// ---- Structure, fields and editing -------------------------------------------------------------

TEST(ClientDataSetFields, ConvertLikeTheHostsFields) {
    ClientDataSet t;
    MakeAllTypes(t, 5);
    t.Append();
    t.FieldByName("nmproduto").SetAsString("Abcdefgh");  // names without regard to case; cut to 5
    t.FieldByName("QTPRODVEND").SetAsString("12");
    t.FieldByName("VRTOTAL").SetValue(Variant("12,5"));  // decimal comma of the settings
    t.FieldByName("DTMOVIMCAIXA").SetAsDateTime(EncodeDateTime(2026, 12, 5, 14, 30, 0));
    t.FieldByName("DTHRINCMOV").SetAsDateTime(EncodeDateTime(2026, 12, 5, 14, 30, 5));
    t.FieldByName("IDATIVO").SetAsBoolean(true);
    t.Post();

    EXPECT_EQ(Row(t), (Strings{"Abcde", "12", "12,5", "05/12/2026", "05/12/2026 14:30:05", "True"}));
    EXPECT_EQ(t.FieldByName("DTMOVIMCAIXA").AsDateTime(), EncodeDate(2026, 12, 5));  // the day only

    // Empty text leaves a string field null; null reads as "" and 0.
    t.Edit();
    t.FieldByName("NMPRODUTO").SetAsString("");
    t.FieldByName("QTPRODVEND").Clear();
    t.Post();
    EXPECT_TRUE(t.FieldByName("NMPRODUTO").IsNull() && t.FieldByName("QTPRODVEND").Value().IsNull());
    EXPECT_EQ(Row(t)[0] + "|" + std::to_string(t.FieldByName("QTPRODVEND").AsInteger()), "|0");

    // A text that is not a number is refused, naming the text, and the record keeps its value.
    t.Edit();
    EXPECT_NE(MessageOf<EConvertError>([&] { t.FieldByName("QTPRODVEND").SetAsString("abc"); }).find("'abc'"),
              std::string::npos);
    t.Cancel();
    EXPECT_EQ(t.FieldByName("VRTOTAL").AsFloat(), 12.5);
}

TEST(ClientDataSetFields, MisuseRaisesTheHostsErrors) {
    ClientDataSet t;
    EXPECT_THROW(t.Open(), EDatabaseError);  // no structure
    t.AddFieldDef("A", FieldType::Integer);
    EXPECT_THROW(t.AddFieldDef("a", FieldType::String, 2), EDatabaseError);  // duplicate name
    t.CreateDataSet();
    EXPECT_THROW(t.AddFieldDef("B", FieldType::String, 2), EDatabaseError);  // while open

    EXPECT_EQ(MessageOf<EDatabaseError>([&] { t.FieldByName("CDFILIAL"); }), "Field 'CDFILIAL' not found");
    EXPECT_EQ(t.FindField("CDFILIAL"), nullptr);
    EXPECT_EQ(MessageOf<EDatabaseError>([&] { t.FieldByName("A").SetAsInteger(1); }),
              "Dataset not in edit or insert mode");
    EXPECT_THROW(t.Post(), EDatabaseError);
    EXPECT_THROW(t.Delete(), EDatabaseError);  // empty
    EXPECT_TRUE(t.FieldByName("A").IsNull());  // no current record reads as null

    t.Close();
    EXPECT_THROW(t.First(), EDatabaseError);
    EXPECT_THROW(t.FieldByName("A").AsInteger(), EDatabaseError);
    EXPECT_EQ(t.RecordCount(), 0);
}

TEST_F(PaymentTable, EditingStatesMoveTheCursorLikeTheHost) {
    EXPECT_EQ(t.RecordCount(), 5);
    EXPECT_EQ(t.State(), DataSetState::Browse);

    // Cancel restores; navigation posts a modified record.
    t.First();
    t.Edit();
    t.FieldByName("DSIMPFISCAL").SetAsString("Outro");
    t.Cancel();
    EXPECT_EQ(t.FieldByName("DSIMPFISCAL").AsString(), "Dinheiro");
    t.Edit();
    t.FieldByName("DSIMPFISCAL").SetAsString("Especie");
    t.Next();
    EXPECT_EQ(t.State(), DataSetState::Browse);
    EXPECT_EQ(Column(t, "DSIMPFISCAL")[0], "Especie");

    // Insert goes before the current row; an untouched append is dropped on navigation.
    t.First();
    t.Next();
    t.Insert();
    t.FieldByName("CDTIPORECE").SetAsString("010");
    t.Post();
    EXPECT_EQ(std::make_tuple(t.FieldByName("CDTIPORECE").AsString(), t.RecNo()), std::make_tuple("010", 2));
    t.Append();
    t.First();
    EXPECT_EQ(Column(t, "CDTIPORECE"), (Strings{"001", "010", "002", "003", "004", "005"}));

    // Delete moves to the following row; deleting the last one ends a delete-or-next loop.
    t.First();
    t.Next();
    t.Delete();
    EXPECT_EQ(std::make_tuple(t.FieldByName("CDTIPORECE").AsString(), t.Eof()), std::make_tuple("002", false));
    t.Last();
    t.Delete();
    EXPECT_EQ(std::make_tuple(t.FieldByName("CDTIPORECE").AsString(), t.Eof()), std::make_tuple("004", true));
    int visited = 0;
    for (t.First(); !t.Eof() && visited < 10; ++visited) {
        if (t.FieldByName("IDTPBUTTON").AsString() == "5")
            t.Delete();
        else
            t.Next();
    }
    EXPECT_EQ(Column(t, "CDTIPORECE"), (Strings{"003"}));

    // Edit on an empty table starts an insert, as the host's does.
    t.Delete();
    EXPECT_TRUE(t.IsEmpty() && t.Bof() && t.Eof());
    t.Edit();
    EXPECT_EQ(t.State(), DataSetState::Insert);
    t.FieldByName("CDTIPORECE").SetAsString("099");
    t.Post();
    EXPECT_EQ(t.RecordCount(), 1);
}

TEST_F(PaymentTable, NavigationFlags) {
    // Bof, Eof and the row number after each move.
    std::vector<std::tuple<bool, bool, int>> seen;
    for (auto move : {&ClientDataSet::First, &ClientDataSet::Prior, &ClientDataSet::Last, &ClientDataSet::Next}) {
        (t.*move)();
        seen.emplace_back(t.Bof(), t.Eof(), t.RecNo());
    }
    EXPECT_EQ(seen, (decltype(seen){{true, false, 1}, {true, false, 1}, {false, true, 5}, {false, true, 5}}));
    EXPECT_EQ(t.FieldByName("CDTIPORECE").AsString(), "005");
    Strings backwards;
    for (t.Last(); !t.Bof(); t.Prior()) backwards.push_back(t.FieldByName("CDTIPORECE").AsString());
    EXPECT_EQ(backwards, (Strings{"005", "004", "003", "002", "001"}));
    t.EmptyDataSet();
    EXPECT_EQ(t.RecordCount(), 0);
    EXPECT_EQ(t.RecNo(), 0);
}

// ---- Filters ----------------------------------------------------------------------------------

TEST_F(PaymentTable, FiltersInTheFormsTheModuleWrites) {
    struct Case {
        const char* filter;
        Strings codes;
    } cases[] = {
        {"IDTPBUTTON = '5'", {"001", "002", "004", "005"}},
        {"CDFPIMPFIS <> ' '", {"001", "003", "005"}},  // blank and null values do not pass
        {"IDTIPORECE = 5 OR IDTIPORECE = 7", {"003", "004"}},
        {"DSIMPFISCAL = 'dinheiro'", {"005"}},  // texts compare exactly
        {"VRMOVIVEND >= 20 and VRMOVIVEND < 40.5", {"002", "003", "004"}},
        {"not (IDTPBUTTON = '5') or VRMOVIVEND = 10.5", {"001", "003"}},
        {"CDFPIMPFIS IS NULL", {"002"}},
        {"CDFPIMPFIS is not null AND [IDTIPORECE] <> '1'", {"003", "004", "005"}},
        {"VRMOVIVEND > -1 AND VRMOVIVEND <> '30'", {"001", "002", "004", "005"}},
        {"IDTIPORECE > 2", {"003", "004", "005"}},
        {"   ", {"001", "002", "003", "004", "005"}},
    };
    t.SetFiltered(true);
    for (const Case& c : cases) {
        t.SetFilter(c.filter);
        EXPECT_EQ(Column(t, "CDTIPORECE"), c.codes) << c.filter;
        EXPECT_EQ(t.RecordCount(), static_cast<int>(c.codes.size())) << c.filter;
    }
    t.SetFiltered(false);
    EXPECT_EQ(t.RecordCount(), 5);
    EXPECT_EQ(t.Filter(), "   ");
}

TEST_F(PaymentTable, FilterTextsWithQuotesAndAccents) {
    t.First();
    EditRow(t, {{"DSIMPFISCAL", CP("Cartão d'Água")}});
    t.SetFilter(CP("DSIMPFISCAL = 'Cartão d''Água'"));
    t.SetFiltered(true);
    EXPECT_EQ(Column(t, "CDTIPORECE"), (Strings{"001"}));
}

TEST_F(PaymentTable, AFilterIsSetAndLeftAsTheHostExpects) {
    t.SetFilter("IDTPBUTTON = '5'");
    t.SetFiltered(true);
    t.First();
    // A posted row that no longer passes leaves the view; the cursor goes on with the next one.
    EditRow(t, {{"IDTPBUTTON", "1"}});
    EXPECT_EQ(t.FieldByName("CDTIPORECE").AsString(), "002");
    EXPECT_EQ(t.RecordCount(), 3);
    // A row appended that does not pass is kept but not shown.
    AppendRow(t, {"006", "", "2"});
    EXPECT_EQ(t.RecordCount(), 3);
    // The whole data ignores the filter.
    EXPECT_EQ(t.Data().rows.size(), 6u);
    EXPECT_TRUE(t.Filtered());
    EXPECT_EQ(t.Filter(), "IDTPBUTTON = '5'");
}

TEST_F(PaymentTable, BadFiltersAreRefusedAndTheOldOneStays) {
    t.SetFilter("IDTPBUTTON = '5'");
    t.SetFiltered(true);
    for (const char* bad :
         {"IDTPBUTTON = '5", "IDTPBUTTON = ", "IDTPBUTTON '5'", "(IDTPBUTTON = '5'", "IDTPBUTTON = '5' AND",
          "IDTPBUTTON = '5' XOR A = 1", "A ? 1", "A < NULL", "NOSUCHFIELD = '1'", "VRMOVIVEND = 'abc'"}) {
        EXPECT_THROW(t.SetFilter(bad), EDatabaseError) << bad;
        EXPECT_EQ(t.Filter(), "IDTPBUTTON = '5'");
        EXPECT_EQ(t.RecordCount(), 4) << bad;
    }
    // Nesting a host's text could use to exhaust the stack is refused; a long flat chain is not
    // nesting and works.
    const std::string deep = std::string(15000, '(') + "A = 1" + std::string(15000, ')');
    std::string nots;
    for (int i = 0; i < 15000; ++i) nots += "NOT ";
    for (const std::string& bad : {deep, nots + "IDTPBUTTON = '5'"}) EXPECT_THROW(t.SetFilter(bad), EDatabaseError);
    std::string chain = "IDTPBUTTON = '5'";
    for (int i = 0; i < 100000; ++i) chain += " AND VRMOVIVEND > -1";
    t.SetFilter(chain);
    EXPECT_EQ(t.RecordCount(), 4);

    // An unknown field in an inactive filter is found when the filter is switched on.
    t.SetFiltered(false);
    t.SetFilter("NOSUCHFIELD = 1");
    EXPECT_EQ(MessageOf<EDatabaseError>([&] { t.SetFiltered(true); }), "Field 'NOSUCHFIELD' not found");
    EXPECT_FALSE(t.Filtered());
}

// ---- Indexes -----------------------------------------------------------------------------------

TEST(ClientDataSetIndexes, RateTableOrderedByKindAndRate) {
    ClientDataSet t("cdsAliqImpFis");
    t.AddFieldDef("CDALIQIMPFIS", FieldType::String, 10);
    t.AddFieldDef("VRALIQIMPFIS", FieldType::Float);
    t.AddFieldDef("IDALIQIMPFIS", FieldType::String, 1);
    t.AddIndex("IdxIdAliqVrAliq", "IDALIQIMPFIS;VRALIQIMPFIS");
    t.SetIndexName("IdxIdAliqVrAliq");
    t.CreateDataSet();
    const std::tuple<const char*, double, const char*> rows[] = {
        {"01", 18, "T"}, {"02", 12, "T"}, {"04", 5, "S"}, {"05", 7, "T"},
        {"06", 12, "T"}, {"NN", 0, "N"},  {"II", 0, "I"}, {"FF", 0, "F"},
    };
    for (const auto& [code, rate, kind] : rows) {
        AppendRow(t, {code, rate, kind});
        // The cursor follows the posted row to its place in the order.
        EXPECT_EQ(t.FieldByName("CDALIQIMPFIS").AsString(), code);
    }
    // Equal keys (two 12% rates) keep the order they were added in.
    EXPECT_EQ(Column(t, "CDALIQIMPFIS"), (Strings{"FF", "II", "NN", "04", "05", "02", "06", "01"}));

    // Copying the data keeps the receiving table's own order.
    ClientDataSet host;
    host.AddFieldDef("OTHER", FieldType::Integer);
    host.CreateDataSet();
    host.CopyDataFrom(t);
    EXPECT_EQ(host.FieldDefs().size(), 3u);
    EXPECT_EQ(Column(host, "CDALIQIMPFIS"), (Strings{"01", "02", "04", "05", "06", "NN", "II", "FF"}));
    host.First();
    EXPECT_EQ(host.FieldByName("VRALIQIMPFIS").AsFloat(), 18.0);
}

TEST_F(PaymentTable, IndexFieldNamesAndNamedIndexOptions) {
    t.SetIndexFieldNames("IDTPBUTTON;DSIMPFISCAL");
    EXPECT_EQ(Column(t, "CDTIPORECE"), (Strings{"003", "002", "001", "004", "005"}));  // bytes: 'D' < 'T' < 'd'

    t.AddIndex("idxNome", "DSIMPFISCAL", false, true);
    t.SetIndexName("idxNome");
    EXPECT_EQ(t.IndexFieldNames(), "");
    // Case-insensitive: "Dinheiro" and "dinheiro" are equal and keep their insertion order.
    EXPECT_EQ(Column(t, "CDTIPORECE"), (Strings{"003", "002", "001", "005", "004"}));

    t.AddIndex("idxValorDesc", "VRMOVIVEND", true);
    t.SetIndexName("idxValorDesc");
    EXPECT_EQ(Column(t, "CDTIPORECE"), (Strings{"005", "004", "003", "002", "001"}));

    // Editing the key moves the row; the cursor stays on it.
    t.First();
    EditRow(t, {{"VRMOVIVEND", 1}});
    EXPECT_EQ(std::make_tuple(t.FieldByName("CDTIPORECE").AsString(), t.RecNo()), std::make_tuple("005", 5));

    EXPECT_THROW(t.SetIndexName("idxNone"), EDatabaseError);
    EXPECT_EQ(t.IndexName(), "idxValorDesc");
    EXPECT_THROW(t.SetIndexFieldNames("NOSUCH"), EDatabaseError);
    EXPECT_EQ(t.IndexName(), "idxValorDesc");
    t.SetIndexFieldNames("");
    EXPECT_EQ(Column(t, "CDTIPORECE"), (Strings{"001", "002", "003", "004", "005"}));
}

TEST(ClientDataSetIndexes, MovementsByTimeAndChangeOrderWithNulls) {
    ClientDataSet t("cdsMovCaixa");
    t.AddFieldDef("DTHRINCMOV", FieldType::DateTime);
    t.AddFieldDef("NRORDTROCO", FieldType::Integer);
    t.AddFieldDef("ID", FieldType::String, 2);
    t.AddIndex("idxDTHRINCMOV", "DTHRINCMOV");
    t.AddIndex("idxNRORDTROCO", "DTHRINCMOV;NRORDTROCO");
    t.SetIndexName("idxNRORDTROCO");
    t.CreateDataSet();
    const TDateTime late = EncodeDateTime(2026, 12, 5, 14, 0, 0), early = EncodeDateTime(2026, 12, 5, 9, 0, 0);
    const std::tuple<TDateTime, Variant, const char*> rows[] = {
        {late, 2, "a"}, {early, 3, "b"}, {late, 1, "c"}, {late, Variant::Null(), "d"}, {early, 3, "e"}};
    for (const auto& [when, order, id] : rows) AppendRow(t, {when, order, id});
    EXPECT_EQ(Column(t, "ID"), (Strings{"b", "e", "d", "c", "a"}));  // nulls first
    t.SetIndexName("idxDTHRINCMOV");
    EXPECT_EQ(Column(t, "ID"), (Strings{"b", "e", "a", "c", "d"}));
    // Close and Open keep rows and order.
    t.Close();
    t.Open();
    EXPECT_EQ(Column(t, "ID"), (Strings{"b", "e", "a", "c", "d"}));
}

// ---- Locate -------------------------------------------------------------------------------------

TEST_F(PaymentTable, LocateByOneOrSeveralFields) {
    // Each search, whether it finds a row, and the row the cursor is on afterwards: a failed search
    // leaves the cursor where it was; a case-insensitive one takes the first match.
    const struct {
        const char* fields;
        Variant values;
        unsigned options;
        bool found;
        const char* code;
    } cases[] = {
        {"CDTIPORECE", Variant("003"), loNone, true, "003"},
        {"DSIMPFISCAL", Variant("DINHEIRO"), loCaseInsensitive, true, "001"},
        {"DSIMPFISCAL", Variant("DINHEIRO"), loNone, false, "001"},
        {"dsimpfiscal;IDTIPORECE", Variant::MakeArray({"dinheiro", "4"}), loNone, true, "005"},
        {"DSIMPFISCAL", Variant("Che"), loPartialKey, true, "002"},
        {"VRMOVIVEND", Variant(40), loNone, true, "004"},
        {"CDFPIMPFIS", Variant::Null(), loNone, true, "002"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(t.Locate(c.fields, c.values, c.options), c.found) << c.fields;
        EXPECT_EQ(t.FieldByName("CDTIPORECE").AsString(), c.code) << c.fields;
    }

    // Only visible rows are searched.
    t.SetFilter("CDFPIMPFIS <> ' '");
    t.SetFiltered(true);
    EXPECT_FALSE(t.Locate("CDTIPORECE", Variant("002")));
    EXPECT_TRUE(t.Locate("CDTIPORECE", Variant("005"), loCaseInsensitive));

    EXPECT_THROW(t.Locate("NOSUCH", Variant("1")), EDatabaseError);
    EXPECT_THROW(t.Locate("CDTIPORECE;IDTIPORECE", Variant("1")), EDatabaseError);
    EXPECT_THROW(t.Locate("VRMOVIVEND", Variant("abc")), EConvertError);
}

// ---- Data packets ---------------------------------------------------------------------------------

TEST_F(PaymentTable, SetDataChecksBeforeReplacing) {
    // Fields held by the caller survive new data of the same structure.
    Field& code = t.FieldByName("CDTIPORECE");
    const DataPacket same = t.Data();
    t.SetData(same);
    t.Last();
    EXPECT_EQ(code.AsString(), "005");

    DataPacket packet;
    packet.fields = {{"A", FieldType::Integer, 0}, {"B", FieldType::Float, 0}};
    packet.rows = {{Variant(1), Variant("2,5")}, {Variant(2)}};
    EXPECT_THROW(t.SetData(packet), EDatabaseError);  // a short row
    packet.rows.pop_back();
    t.SetIndexFieldNames("CDTIPORECE");
    EXPECT_THROW(t.SetData(packet), EDatabaseError);  // the index names a field the packet lacks
    EXPECT_EQ(std::make_pair(t.RecordCount(), t.FieldDefs().size()), std::make_pair(5, std::size_t{6}));

    t.SetIndexFieldNames("");
    t.SetData(packet);
    EXPECT_EQ(t.FieldCount(), 2);
    EXPECT_EQ(t.FieldByName("B").AsFloat(), 2.5);  // converted to the field's type
    EXPECT_EQ(t.FieldByName("B").Value().Type(), VarType::Double);
    EXPECT_EQ(t.FindField("CDTIPORECE"), nullptr);
}
