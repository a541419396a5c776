#include <gtest/gtest.h>

#include "external/hostlib/HostLib.h"
#include "framework/Cp1252.h"

using namespace orb::hostlib;

TEST(HostMessages, LookupIgnoresCaseFirstKeyWinsAndAMissingKeyAnswersItself) {
    TMessages catalog;
    catalog.Add("Comanda", "Comanda");
    catalog.Add("DataDif", "Data difere");
    catalog.Add("DATADIF", "second");
    catalog.Add(CP("Ação"), "x");  // case folding covers the code page's accented letters
    EXPECT_EQ(catalog.Msg("COMANDA"), "Comanda");
    EXPECT_EQ(catalog.Msg("datadif"), "Data difere");
    EXPECT_EQ(catalog.Msg(CP("AÇÃO")), "x");
    EXPECT_TRUE(catalog.Has("comanda"));
    EXPECT_EQ(catalog.Count(), 4);  // duplicates are kept in order
    EXPECT_EQ(catalog.Entries()[2].second, "second");
    EXPECT_EQ(catalog.Msg("Imp_N_Resp"), "Imp_N_Resp");
    EXPECT_FALSE(catalog.Has("Imp_N_Resp"));
    catalog.Clear();
    EXPECT_EQ(catalog.Count(), 0);
    EXPECT_EQ(catalog.Msg("comanda"), "comanda");

    catalog.LoadLines({"Total|Total Geral\r", "", "no bar here", "Sep|a|b", "Vazio|", "total|late"});
    EXPECT_EQ(catalog.Msg("TOTAL"), "Total Geral");
    EXPECT_EQ(catalog.Msg("sep"), "a|b");
    EXPECT_TRUE(catalog.Has("vazio"));
    EXPECT_EQ(catalog.Msg("vazio"), "");
    EXPECT_FALSE(catalog.Has("no bar here"));
    EXPECT_EQ(catalog.Count(), 4);
}
