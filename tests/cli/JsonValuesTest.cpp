// The bridge's encodings, module values on one side and JSON on the other.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "bridge/JsonValues.h"
#include "framework/Cp1252.h"

namespace orb::bridge {
namespace {

using exports::ParamKind;
using fw::Variant;
using fw::VarType;

Json J(const char* text) { return Json::parse(text); }

TEST(JsonText, AccentsCrossTheEdgeAsCp1252) {
    EXPECT_EQ(TextFromJson(Json("Ação – café")), CP("Ação – café"));
    EXPECT_EQ(TextToJson(CP("Ação – café")), Json("Ação – café"));
    EXPECT_EQ(TextFromJson(Json("日本")), "??");  // no CP1252 form
    EXPECT_THROW(TextFromJson(Json(12)), JsonError);
}

TEST(JsonVariant, NumbersKeepTheirKindAndArraysRoundTrip) {
    for (const auto& [text, kind] : {std::pair{"3", VarType::Integer},
                                     {"3.0", VarType::Double},
                                     {"1e2", VarType::Double},
                                     {"18446744073709551615", VarType::Double}})
        EXPECT_EQ(VariantFromJson(J(text)).Type(), kind) << text;
    EXPECT_EQ(VariantFromJson(J("-7")).AsIntRaw(), -7);
    EXPECT_DOUBLE_EQ(VariantFromJson(J("12.5")).AsDoubleRaw(), 12.5);
    EXPECT_EQ(VariantToJson(Variant::MakeArray({Variant(std::int64_t{3}), Variant(3.0), Variant()})).dump(),
              "[3,3.0,null]");

    Json in = J(R"([1, 2.5, "Pão", null, true, [3, {"datetime": "2026-12-05T14:30:05"}]])");
    Variant v = VariantFromJson(in);
    ASSERT_EQ(v.ArraySize(), 6u);
    EXPECT_EQ(std::tuple(v[2].AsTextRaw(), v[3].IsNull(), v[5][1].Type()),
              std::tuple(CP("Pão"), true, VarType::DateTime));
    EXPECT_EQ(VariantToJson(v), in);

    // Objects other than a date-time or a data packet, and string lists, do not travel in a variant.
    for (const char* bad :
         {R"({"when": "2026-12-05"})", R"({"strings": ["a"]})", R"({"datetime": "2026-12-05", "x": 1})"})
        EXPECT_THROW(VariantFromJson(J(bad)), JsonError) << bad;
}

TEST(JsonDateTime, IsoFormsTheirValuesAndTheFormsRefused) {
    const fw::TDateTime moment = fw::EncodeDateTime(2026, 12, 5, 14, 30, 5);
    const fw::TDateTime leapMs = fw::EncodeDateTime(2024, 2, 29, 23, 59, 59, 250);
    // Each form, the value it reads as, and how that value is written back.
    const struct {
        const char* iso;
        fw::TDateTime value;
        const char* written;
    } cases[] = {
        {"2026-12-05T14:30:05", moment, "2026-12-05T14:30:05"},
        {"2026-12-05 14:30:05", moment, "2026-12-05T14:30:05"},
        {"2026-12-05", fw::EncodeDate(2026, 12, 5), "2026-12-05T00:00:00"},
        {"2026-12-05T14:30", fw::EncodeDateTime(2026, 12, 5, 14, 30, 0), "2026-12-05T14:30:00"},
        {"2024-02-29T23:59:59.250", leapMs, "2024-02-29T23:59:59.250"},
        {"1899-12-30", fw::TDateTime(0.0), "1899-12-30T00:00:00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DateTimeFromIso(c.iso), c.value) << c.iso;
        EXPECT_EQ(DateTimeToIso(c.value), c.written) << c.iso;
    }
    // A day count is accepted as the host counts days.
    EXPECT_DOUBLE_EQ(DateTimeFromJson(J("46361.5")).value, 46361.5);
    for (const char* bad : {"2026-02-30", "2025-02-29", "2026-12-05T24:00:00", "2026-12-05T12:60", "05/12/2026",
                            "2026-12-05T14:30:05Z", "2026-12-5", "2026-12-05T14", "", "2026-12-05T14:30:05.5"}) {
        EXPECT_THROW(DateTimeFromIso(bad), JsonError) << bad;
    }
}

const char* kDataset = R"({"dataset": {
    "fields": [{"name": "CDTIPORECE", "type": "string", "size": 3},
               {"name": "NMTIPORECE", "type": "string", "size": 30},
               {"name": "QTPARCELAS", "type": "integer"},
               {"name": "VRMOVIVEND", "type": "float"},
               {"name": "DTMOVIMENT", "type": "date"},
               {"name": "DTHRABERTU", "type": "datetime"},
               {"name": "IDTEF", "type": "boolean"}],
    "rows": [["001", "Cartão crédito", 2, 12.5, {"datetime": "2026-12-05T00:00:00"},
              {"datetime": "2026-12-05T14:30:05"}, true],
             ["002", "Dinheiro", 1, 7.0, null, null, false]]}})";

// Texts, floats and date-times travel in every scenario; here the other kinds and nulls.
TEST(JsonDataset, EveryKindOfFieldReachesTheTableAndComesBack) {
    auto table = TableFromJson(J(kDataset));
    ASSERT_TRUE(table && table->Active());
    EXPECT_EQ(TableToJson(table.get()), J(kDataset));
    Variant v = VariantFromJson(J(kDataset));  // inside a variant: a data packet
    ASSERT_EQ(v.Type(), VarType::DataPacket);
    EXPECT_EQ(VariantToJson(v), J(kDataset));

    // A filter the host set is applied; every row comes back, as the table holds them.
    Json in = J(kDataset);
    in["dataset"]["filter"] = "CDTIPORECE = '002'";
    auto filtered = TableFromJson(in);
    EXPECT_EQ(std::tuple(filtered->Filtered(), filtered->RecordCount(),
                         TableToJson(filtered.get())["dataset"]["rows"].size()),
              std::tuple(true, 1, 2u));

    // An unsized text field holds a long text; a table without fields stays empty for the
    // operation to fill.
    auto sized = TableFromJson(J(R"({"dataset": {"fields": [{"name": "DS"}], "rows": [["uma descrição longa"]]}})"));
    EXPECT_EQ(sized->FieldByName("DS").AsString(), CP("uma descrição longa"));
    auto empty = TableFromJson(J(R"({"dataset": {"name": "cdsSaldCred"}})"));
    ASSERT_TRUE(empty);
    EXPECT_EQ(std::tuple(empty->Name(), empty->FieldDefs().empty()), std::tuple("cdsSaldCred", true));
    EXPECT_TRUE(TableFromJson(Json(nullptr)) == nullptr && TableToJson(nullptr).is_null());
}

TEST(JsonDataset, MalformedDatasetsNameTheirFault) {
    const struct {
        const char* dataset;
        std::vector<const char*> named;
    } cases[] = {
        {R"({"fields": [{"name": "A", "type": "money"}]})", {"money"}},
        {R"({"fields": [{"name": "A"}], "rows": [["x"], ["y", "z"]]})", {"row 2"}},
        {R"({"fields": [{"name": "QT", "type": "integer"}], "rows": [["3"]]})", {"row 1", "QT"}},
        {R"({"rows": [[1]]})", {}},
        {R"({"fields": [], "colour": 1})", {"colour"}},
        {R"({"fields": [{"name": "N", "type": "integer"}], "rows": [[2147483648]]})", {}},
    };
    for (const auto& c : cases) {
        const Json request = {{"dataset", Json::parse(c.dataset)}};
        try {
            TableFromJson(request);
            ADD_FAILURE() << "accepted " << c.dataset;
        } catch (const JsonError& e) {
            for (const char* word : c.named) EXPECT_NE(std::string(e.what()).find(word), std::string::npos) << e.what();
        }
    }
}

TEST(JsonStringList, LinesRoundTripInCp1252) {
    auto list = StringListFromJson(J(R"({"strings": ["Linha 1", "Preço: 12,50", ""]})"));
    ASSERT_TRUE(list);
    ASSERT_EQ(list->Count(), 3);
    EXPECT_EQ((*list)[1], CP("Preço: 12,50"));
    EXPECT_EQ(StringListToJson(list.get()), J(R"({"strings": ["Linha 1", "Preço: 12,50", ""]})"));
    EXPECT_EQ(StringListFromJson(J(R"(["a", "b"])"))->Count(), 2);
    EXPECT_EQ(StringListFromJson(Json(nullptr)), nullptr);
    for (const char* bad : {R"({"strings": ["a", 2]})", R"("a")"})
        EXPECT_THROW(StringListFromJson(J(bad)), JsonError) << bad;
}

TEST(JsonArguments, ScalarsListsAndArraysByParameterKind) {
    EXPECT_EQ(ArgumentFromJson(ParamKind::Integer, J("7.0")).value.ToInt(), 7);
    EXPECT_EQ(ArgumentFromJson(ParamKind::Double, J("7")).value.Type(), VarType::Double);
    EXPECT_EQ(ArgumentFromJson(ParamKind::Bool, J("true")).value.ToBool(), true);
    EXPECT_EQ(ArgumentFromJson(ParamKind::DateTime, J(R"({"datetime": "2026-12-05T14:30:05"})")).value.ToDateTime(),
              fw::EncodeDateTime(2026, 12, 5, 14, 30, 5));
    // A var parameter may start empty; an input may not.
    EXPECT_EQ(ArgumentFromJson(ParamKind::TextVar, J("null")).value.AsTextRaw(), "");
    EXPECT_EQ(ArgumentFromJson(ParamKind::IntegerVar, J("null")).value.ToInt(), 0);
    // clang-format off
    const std::pair<ParamKind, const char*> refused[] = {
        {ParamKind::Integer, "7.5"}, {ParamKind::Integer, "2147483648"}, {ParamKind::Integer, R"("7")"},
        {ParamKind::Bool, R"("S")"}, {ParamKind::Text, "null"}, {ParamKind::VariantOpenArray, R"("001")"},
        {ParamKind::TextOpenArray, R"(["a", 1])"}};
    // clang-format on
    for (const auto& [kind, json] : refused) EXPECT_THROW(ArgumentFromJson(kind, J(json)), JsonError) << json;

    auto texts = ArgumentFromJson(ParamKind::TextOpenArray, J(R"(["a", "é"])"));
    EXPECT_EQ(texts.value[1].AsTextRaw(), CP("é"));
    auto list = ArgumentFromJson(ParamKind::StringListVar, J(R"({"strings": ["x"]})"));
    ASSERT_TRUE(list.strings);
    list.strings->Add("y");
    EXPECT_EQ(ArgumentToJson(ParamKind::StringListVar, list), J(R"({"strings": ["x", "y"]})"));
    EXPECT_EQ(ArgumentToJson(ParamKind::DataSet, ArgumentFromJson(ParamKind::DataSet, J("null"))), Json(nullptr));
}

}  // namespace
}  // namespace orb::bridge
