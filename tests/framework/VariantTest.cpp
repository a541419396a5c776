#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "FrameworkTestSupport.h"
#include "framework/DataPacket.h"
#include "framework/DateTime.h"
#include "framework/Exceptions.h"
#include "framework/FormatSettings.h"
#include "framework/Variant.h"

using namespace orb::fw;
using orb::fw::test::MessageOf;

using VariantTest = orb::fw::test::DefaultSettings;

TEST_F(VariantTest, KindsAndTextConversion) {
    EXPECT_TRUE(Variant().IsUnassigned() && Variant::Null().IsNull() && Variant::Null().IsEmptyOrNull());
    EXPECT_EQ(Variant(5).Type(), VarType::Integer);
    EXPECT_EQ(Variant(std::string_view("x")).Type(), VarType::Text);
    // clang-format off
    const std::pair<Variant, const char*> texts[] = {
        {Variant(), ""}, {Variant(static_cast<const char*>(nullptr)), ""}, {Variant(true), "True"},
        {Variant(false), "False"}, {Variant(-12), "-12"}, {Variant(12.5), "12,5"},
        {Variant(EncodeDateTime(2026, 12, 5, 14, 30, 0)), "05/12/2026 14:30:00"},
        {Variant(EncodeDate(2026, 12, 5)), "05/12/2026"}};
    // clang-format on
    for (const auto& [v, text] : texts) EXPECT_EQ(v.ToString(), text);
    EXPECT_EQ(MessageOf([] { Variant::Null().ToString(); }),
              "Could not convert variant of type (Null) into type (String)");
    EXPECT_THROW(Variant::MakeArray(2).ToString(), EVariantError);
}

TEST_F(VariantTest, NumbersFromEveryKind) {
    // Doubles round to even, as the host's variants do.
    const std::pair<Variant, int> ints[] = {{Variant(true), -1},   {Variant(), 0},       {Variant(2.5), 2},
                                            {Variant(3.5), 4},     {Variant(-2.5), -2},  {Variant(" 42 "), 42},
                                            {Variant("12,0"), 12}, {Variant("12,5"), 12}};
    for (const auto& [v, n] : ints) EXPECT_EQ(v.ToInt(), n) << v.ToString();
    EXPECT_EQ(Variant("9000000000").ToInt64(), 9000000000LL);
    EXPECT_DOUBLE_EQ(Variant("12,5").ToDouble(), 12.5);
    EXPECT_DOUBLE_EQ(Variant(7).ToDouble(), 7.0);
    EXPECT_DOUBLE_EQ(Variant(EncodeDate(2000, 1, 1)).ToDouble(), 36526.0);
    EXPECT_EQ(MessageOf([] { Variant("abc").ToInt(); }), "'abc' is not a valid integer value");
    EXPECT_EQ(MessageOf([] { Variant("9000000000").ToInt(); }), "'9000000000' is not a valid integer value");
    EXPECT_EQ(MessageOf([] { Variant("abc").ToDouble(); }), "'abc' is not a valid floating point value");
    EXPECT_EQ(MessageOf([] { Variant::Null().ToInt(); }),
              "Could not convert variant of type (Null) into type (Integer)");
    EXPECT_EQ(MessageOf([] { Variant::Null().ToDouble(); }),
              "Could not convert variant of type (Null) into type (Double)");
    EXPECT_THROW(Variant(1e30).ToInt(), EVariantError);
    EXPECT_THROW(Variant(std::int64_t{1} << 40).ToInt(), EVariantError);
    EXPECT_THROW(Variant::MakeArray(1).ToDouble(), EVariantError);
}

TEST_F(VariantTest, BooleansAndDates) {
    const std::pair<Variant, bool> bools[] = {{Variant("true"), true}, {Variant("FALSE"), false}, {Variant("-1"), true},
                                              {Variant("0"), false},   {Variant(2), true},        {Variant(), false}};
    for (const auto& [v, b] : bools) EXPECT_EQ(v.ToBool(), b) << v.ToString();
    EXPECT_EQ(MessageOf([] { Variant("S").ToBool(); }), "'S' is not a valid boolean value");
    EXPECT_THROW(Variant::Null().ToBool(), EVariantError);
    EXPECT_EQ(Variant("05/12/2026 14:30:05").ToDateTime(), EncodeDateTime(2026, 12, 5, 14, 30, 5));
    EXPECT_EQ(Variant(36526).ToDateTime(), EncodeDate(2000, 1, 1));
    EXPECT_EQ(MessageOf([] { Variant("amanha").ToDateTime(); }), "'amanha' is not a valid date and time");
    EXPECT_THROW(Variant(true).ToDateTime(), EVariantError);
}

TEST_F(VariantTest, ArraysAsNamedParameters) {
    Variant params =
        Variant::MakeArray({Variant::MakeArray({"CDFILIAL", "0001"}), Variant::MakeArray({"BOUTILTAA", true})});
    ASSERT_TRUE(params.IsArray());
    EXPECT_EQ(std::make_tuple(params.ArraySize(), params.HighBound(), Variant(1).ArraySize(), Variant(1).HighBound()),
              std::make_tuple(2u, 1, 0u, -1));  // a scalar is no array
    EXPECT_EQ(params[0][1].ToString(), "0001");
    EXPECT_TRUE(params[1][1].ToBool());
    params[1][1] = Variant(false);  // elements are written in place, as result arrays are
    EXPECT_FALSE(params[1][1].ToBool());
    EXPECT_EQ(Variant::MakeArray(3).AsArray().size(), 3u);
    EXPECT_TRUE(Variant::MakeArray(3)[2].IsUnassigned());
    EXPECT_THROW(params[2], EVariantError);
    EXPECT_THROW(Variant(1)[0], EVariantError);
    EXPECT_THROW(Variant("x").AsArray(), EVariantError);
}

TEST_F(VariantTest, DataPacketsTravelByValue) {
    DataPacket packet;
    packet.fields = {{"CDPRODUTO", FieldType::String, 10}, {"VRPRECO", FieldType::Float, 0}};
    packet.rows = {{Variant("001"), Variant(2.5)}, {Variant("002"), Variant::Null()}};
    const Variant v(packet);
    EXPECT_EQ(v.Type(), VarType::DataPacket);
    EXPECT_EQ(v.AsDataPacket().rows.size(), 2u);
    EXPECT_EQ(v.AsDataPacket().fields[0].size, 10);
    DataPacket other = packet;
    other.rows[1][1] = Variant(1.0);
    EXPECT_FALSE(Variant(other) == v);
    EXPECT_EQ(Variant(packet), v);  // equal content, separate packets
    EXPECT_THROW(Variant(1).AsDataPacket(), EVariantError);
    EXPECT_THROW(v.ToString(), EVariantError);
    EXPECT_EQ(FieldTypeFromName("DateTime"), FieldType::DateTime);
    EXPECT_STREQ(FieldTypeName(FieldType::Boolean), "boolean");
    EXPECT_THROW(FieldTypeFromName("blob"), EDatabaseError);
}

TEST_F(VariantTest, Equality) {
    EXPECT_EQ(Variant(2), Variant(2.0));
    EXPECT_FALSE(Variant(2) == Variant("2"));
    EXPECT_EQ(Variant(), Variant());
    EXPECT_FALSE(Variant() == Variant::Null());
    EXPECT_EQ(Variant::MakeArray({1, "a"}), Variant::MakeArray({1.0, "a"}));
    EXPECT_FALSE(Variant::MakeArray({1, "a"}) == Variant::MakeArray({1, "b"}));
}
