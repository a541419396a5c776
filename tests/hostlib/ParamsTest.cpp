#include <gtest/gtest.h>

#include "external/hostlib/HostLib.h"

using namespace orb::hostlib;

namespace {
Variant Pair(const char* name, Variant value) { return Variant::MakeArray({Variant(name), std::move(value)}); }
}  // namespace

TEST(HostParams, NamesMatchWithoutRegardToCase) {
    Variant params = Variant::MakeArray({Pair("CdFilial", "0001"), Pair("cdcaixa", 2), Pair("BOUTILTAA", true)});
    EXPECT_EQ(RecebeParams(params, "CDFILIAL").ToString(), "0001");
    EXPECT_EQ(RecebeParams(params, "CdCaixa").ToInt(), 2);
    EXPECT_TRUE(RecebeParams(params, "boutiltaa").ToBool());
}

TEST(HostParams, MissingNamesAndOddInputAnswerUnassigned) {
    Variant params = Variant::MakeArray({Pair("ESQUEMA", "Azul")});
    EXPECT_TRUE(RecebeParams(params, "ESQUEMACOR").IsUnassigned());
    EXPECT_TRUE(RecebeParams(params, "").IsUnassigned());
    EXPECT_EQ(RecebeParams(params, "ESQUEMACOR").ToString(), "");
    EXPECT_TRUE(RecebeParams(Variant(), "ESQUEMA").IsUnassigned());
    EXPECT_TRUE(RecebeParams(Variant::Null(), "ESQUEMA").IsUnassigned());
    EXPECT_TRUE(RecebeParams(Variant("ESQUEMA"), "ESQUEMA").IsUnassigned());

    // Malformed pairs are skipped, not fatal; a name that is not text never matches.
    Variant odd = Variant::MakeArray({Variant("ESQUEMA"), Variant::MakeArray({Variant("ESQUEMA")}),
                                      Variant::MakeArray({Variant(7), Variant("x")}),
                                      Variant::MakeArray({Variant::Null(), Variant("y")}), Pair("ESQUEMA", "Verde")});
    EXPECT_EQ(RecebeParams(odd, "esquema").ToString(), "Verde");
    EXPECT_TRUE(RecebeParams(odd, "7").IsUnassigned());
}

TEST(HostParams, FirstPairWinsAndValuesKeepTheirKind) {
    Variant params = Variant::MakeArray({Pair("VALOR", 1.5), Pair("valor", 2.5), Pair("NADA", Variant::Null())});
    EXPECT_DOUBLE_EQ(RecebeParams(params, "VALOR").ToDouble(), 1.5);
    EXPECT_TRUE(RecebeParams(params, "nada").IsNull());
}

TEST(HostParams, MakeParamsReadsBack) {
    Variant made = MakeParams({{"CUPNR", Variant("000123")}, {"CONTCUPOM", Variant(45)}, {"OK", Variant(true)}});
    ASSERT_EQ(made.ArraySize(), 3u);
    EXPECT_EQ(made[0][0].ToString(), "CUPNR");
    EXPECT_EQ(made[0].ArraySize(), 2u);
    EXPECT_EQ(RecebeParams(made, "cupnr").ToString(), "000123");
    EXPECT_EQ(RecebeParams(made, "CONTCUPOM").ToInt(), 45);
    EXPECT_TRUE(RecebeParams(made, "OK").ToBool());
    EXPECT_EQ(MakeParams({}).ArraySize(), 0u);
    EXPECT_TRUE(MakeParams({}).IsArray());
}
