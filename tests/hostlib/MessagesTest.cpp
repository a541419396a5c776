#include <gtest/gtest.h>

#include "external/hostlib/HostLib.h"
#include "framework/Cp1252.h"

#include <tuple>
#include <vector>

using namespace orb::hostlib;

TEST(HostMessages, LookupIgnoresCaseFirstKeyWinsAndAMissingKeyAnswersItself) {
    TMessages catalog;
    catalog.Add("Comanda", "Comanda");
    catalog.Add("DataDif", "Data difere");
    catalog.Add("DATADIF", "second");
    catalog.Add(CP("Ação"), "x");  // case folding covers the code page's accented letters
    EXPECT_EQ((std::vector{catalog.Msg("COMANDA"), catalog.Msg("datadif"), catalog.Msg(CP("AÇÃO")),
                           catalog.Msg("Imp_N_Resp")}),
              (std::vector<std::string>{"Comanda", "Data difere", "x", "Imp_N_Resp"}));
    EXPECT_EQ(std::tuple(catalog.Has("comanda"), catalog.Has("Imp_N_Resp")), std::tuple(true, false));
    EXPECT_EQ(catalog.Count(), 4);  // duplicates are kept in order
    EXPECT_EQ(catalog.Entries()[2].second, "second");
    catalog.Clear();
    EXPECT_EQ(std::tuple(catalog.Count(), catalog.Msg("comanda")), std::tuple(0, std::string("comanda")));

    catalog.LoadLines({"Total|Total Geral\r", "", "no bar here", "Sep|a|b", "Vazio|", "total|late"});
    EXPECT_EQ((std::vector{catalog.Msg("TOTAL"), catalog.Msg("sep"), catalog.Msg("vazio")}),
              (std::vector<std::string>{"Total Geral", "a|b", ""}));
    EXPECT_EQ(std::tuple(catalog.Has("vazio"), catalog.Has("no bar here"), catalog.Count()),
              std::tuple(true, false, 4));
}
