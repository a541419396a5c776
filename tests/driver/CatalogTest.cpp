// The two message catalogs as the module loads them.
#include <gtest/gtest.h>

#include <string>

#include "driver/Catalogs.h"
#include "external/hostlib/HostLib.h"

namespace {

using orb::hostlib::TMessages;

class Catalogs : public ::testing::Test {
protected:
    void SetUp() override { Orb00100::LoadCatalogs(padrao_, padrao2_); }
    TMessages padrao_, padrao2_;

    static std::vector<std::size_t> Positions(const TMessages& catalog, const std::string& key) {
        std::vector<std::size_t> at;
        for (std::size_t i = 0; i < catalog.Entries().size(); ++i)
            if (catalog.Entries()[i].first == key) at.push_back(i);
        return at;
    }
};

TEST_F(Catalogs, HoldEveryEntryInCatalogOrderWithTheDuplicates) {
    ASSERT_EQ(padrao_.Count(), 232);
    ASSERT_EQ(padrao2_.Count(), 38);
    EXPECT_EQ(padrao_.Entries().front().first, "Nome");
    EXPECT_EQ(padrao_.Entries()[1].first, "Relatorio");
    EXPECT_EQ(padrao_.Entries().back().first, "MFD_OK");
    EXPECT_EQ(padrao2_.Entries().front().first, "Erro_Detectar");
    EXPECT_EQ(padrao2_.Entries().back().first, "DOTZ");

    EXPECT_EQ(Positions(padrao_, "Nome"), (std::vector<std::size_t>{0, 70}));
    EXPECT_EQ(Positions(padrao_, "AliqNaoCad"), (std::vector<std::size_t>{7, 53}));
    EXPECT_EQ(Positions(padrao_, "Suprimento").size(), 2u);
    EXPECT_EQ(Positions(padrao_, "CV-EMITIDO").size(), 2u);
    // The first of two equal keys answers a lookup.
    EXPECT_EQ(padrao_.Entries()[53].second, "AliqNaoCad");
    EXPECT_EQ(padrao_.Msg("AliqNaoCad"), "Al\xEDquota n\xE3o cadastrada na impressora fiscal.");
}

TEST_F(Catalogs, TextsAreCodePage1252AndExact) {
    EXPECT_EQ(padrao_.Msg("ConfReducao"), "Confirma impress\xE3o da redu\xE7\xE3o z?");
    EXPECT_EQ(padrao_.Msg("Garcon"), "Garz\xF3n     :");
    EXPECT_EQ(padrao_.Msg("AGUARDE_CUPOM"), "AGUARDE A EMISS\xC3O DO CUPOM FISCAL");
    EXPECT_EQ(padrao_.Msg("ImpDeslig"), "Impressora desligada ou desconectada.");
    EXPECT_EQ(padrao_.Msg("Cabecalho"), "CODIGO     NOME          QTDE   VR.UNIT. VR.TOT.");
    EXPECT_EQ(padrao_.Msg("CONF_MES"), " Conferencia de Mesa ");
    EXPECT_NE(padrao_.Msg("ArqConfig_Inv1").find("no nome do  arquivo."), std::string::npos);
    EXPECT_NE(padrao2_.Msg("Erro_FechaPorta").find("gera\xE7\xE3o do  arquivo COTEPE"), std::string::npos);
    EXPECT_EQ(padrao2_.Msg("Data"), "Data/Hora");  // a key both catalogs hold, each its own text
    EXPECT_EQ(padrao_.Msg("Data"), "Data/Hora  :");

    // No text is left in UTF-8 (a lead byte followed by a continuation byte).
    for (const TMessages* catalog : {&padrao_, &padrao2_}) {
        for (const auto& [key, text] : catalog->Entries()) {
            EXPECT_FALSE(text.empty()) << key;
            for (std::size_t i = 0; i + 1 < text.size(); ++i) {
                const auto lead = static_cast<unsigned char>(text[i]);
                const auto next = static_cast<unsigned char>(text[i + 1]);
                EXPECT_FALSE(lead >= 0xC2 && lead <= 0xC3 && next >= 0x80 && next <= 0xBF) << key;
            }
        }
    }
}

TEST_F(Catalogs, KeysCompareWithoutRegardToCase) {
    EXPECT_EQ(padrao_.Msg("COMANDA"), "Comanda");
    EXPECT_EQ(padrao_.Msg("impdeslig"), padrao_.Msg("ImpDeslig"));
    // "Conf_mesa" and "Conf-Mesa" are different keys, not case variants.
    EXPECT_EQ(padrao_.Msg("CONF_MESA"), "Conf.de Mesa");
    EXPECT_EQ(padrao_.Msg("conf-mesa"), "Conf. Mesa");
}

}  // namespace
