#include <gtest/gtest.h>

#include <tuple>

#include "external/hostlib/HostLib.h"

using namespace orb::hostlib;

namespace {
Variant Pair(Variant name, Variant value) { return Variant::MakeArray({std::move(name), std::move(value)}); }
}  // namespace

TEST(HostParams, NamesMatchWithoutCaseAndTheFirstPairWins) {
    Variant params = Variant::MakeArray({Pair("CdFilial", "0001"), Pair("cdcaixa", 2), Pair("VALOR", 1.5),
                                         Pair("valor", 2.5), Pair("NADA", Variant::Null())});
    EXPECT_EQ(RecebeParams(params, "CDFILIAL").ToString(), "0001");
    EXPECT_EQ(RecebeParams(params, "CdCaixa").ToInt(), 2);
    EXPECT_DOUBLE_EQ(RecebeParams(params, "VALOR").ToDouble(), 1.5);
    EXPECT_TRUE(RecebeParams(params, "nada").IsNull());  // values keep their kind
    for (const auto& [list, name] : {std::pair{params, "ESQUEMACOR"},
                                     {params, ""},
                                     {Variant(), "ESQUEMA"},
                                     {Variant::Null(), "ESQUEMA"},
                                     {Variant("ESQUEMA"), "ESQUEMA"}})
        EXPECT_TRUE(RecebeParams(list, name).IsUnassigned()) << name;

    // Malformed pairs are skipped, not fatal; a name that is not text never matches.
    Variant odd = Variant::MakeArray({Variant("ESQUEMA"), Variant::MakeArray({Variant("ESQUEMA")}), Pair(7, "x"),
                                      Pair(Variant::Null(), "y"), Pair("ESQUEMA", "Verde")});
    EXPECT_EQ(RecebeParams(odd, "esquema").ToString(), "Verde");
    EXPECT_TRUE(RecebeParams(odd, "7").IsUnassigned());

    Variant made = MakeParams({{"CUPNR", Variant("000123")}, {"CONTCUPOM", Variant(45)}, {"OK", Variant(true)}});
    ASSERT_EQ(made.ArraySize(), 3u);
    EXPECT_EQ(std::tuple(made[0].ArraySize(), made[0][0].ToString(), RecebeParams(made, "CONTCUPOM").ToInt(),
                         RecebeParams(made, "ok").ToBool()),
              std::tuple(2u, "CUPNR", 45, true));
    EXPECT_TRUE(MakeParams({}).IsArray() && MakeParams({}).ArraySize() == 0);
}
