// Consumer accounts against the virtual printer: the credit sale's balance modes, and the
// negative-balance list's filter on the host's table.
#include "driver/DataModule.h"
#include "driver/TestSupport.h"
#include "slips/BalanceStatements.h"
#include "slips/ConsumerSales.h"

namespace {

using namespace Orb00100;
using orb::fw::FieldType;
using orb::test::Texts;

constexpr const char* kUsa = "Bematech_FI_UsaComprovanteNaoFiscalVinculado";
constexpr const char* kReport = "Bematech_FI_RelatorioGerencial";

class Accounts : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        Start({{"payments", {"Dinheiro", {{"name", "Conta Consumidor"}, {"linkable", true}}}}});
    }
    // The last block of the slip, the one that carries the balance lines.
    std::string CreditSale(const std::string& mode, double amount = 9) {
        CardSaleThroughEntryPoints("Conta Consumidor");
        ClearJournal();
        const auto products = orb::test::TableData(
            {{"CDARVPROD"}, {"NMPRODUTO"}, {"QTPRODCOMVEN", FieldType::Float}, {"VRPRECCOMVEN", FieldType::Float}},
            {{"1", "ALMOCO", 1.0, amount}});
        const auto families =
            orb::test::TableData({{"CDFAMILISALD"}, {"NMFAMILISALD"}, {"VRSALDCONFAM", FieldType::Float}},
                                 {{"01", "REFEICOES", 40.0}, {"02", "LANCHES", 0.0}, {"03", "BEBIDAS", 12.5}});
        EXPECT_TRUE(Imp_CompVenCred("001", products, families, amount, "Conta Consumidor", "4711", "ANA", "1", "X", "",
                                    50, 2, 1, mode));
        const Texts blocks = SentTexts(kUsa);
        return blocks.empty() ? "" : blocks.back();
    }
};

TEST_F(Accounts, CreditSaleBalanceModes) {
    TdtmBematech100& dm = EnsureDataModule();
    const std::string head =
        std::string(48, ' ') + "\n" + "Total Geral" + std::string(33, ' ') + "9,00\n" + std::string(48, '-') + "\n\n";
    // Mode 0 adds the families to the final balance (50 + 2 + 1 - 9 = 44, + 52,50).
    EXPECT_EQ(CreditSale("0"), head + "Saldo Final : R$ 96,50\nPr. subsidiado: R$ 2,00Valor complemento: R$ 1,00");
    EXPECT_EQ(CreditSale("2"), head + "Pr. subsidiado: R$ 2,00Valor complemento: R$ 1,00");
    // Mode 1: what each family held before comes off, the day's loan goes on (a credit only for a
    // family held before).
    orb::test::FillTable(dm.cdsFamiliaSaldo, {{"CDFAMILISALD"}, {"VRSALDCONFAM", FieldType::Float}}, {{"01", 30.0}});
    orb::test::FillTable(dm.cdsEmprestimo, {{"CDFAMILISALD"}, {"IDTPMOVEXT"}, {"VRMOVEXTCONS", FieldType::Float}},
                         {{"01", "C", 5.0}, {"03", "D", 2.5}});
    EXPECT_EQ(CreditSale("1"), head + "REFEICOES" + std::string(16 + 17, ' ') + "15,00\nBEBIDAS" +
                                   std::string(18 + 17, ' ') + "10,00\n" +
                                   "Pr. subsidiado: R$ 2,00Valor complemento: R$ 1,00");
    dm.cdsFamiliaSaldo.Close();
    dm.cdsEmprestimo.Close();
    // Nothing to sell, nothing printed.
    EXPECT_EQ(CreditSale("0", 0), "");
    EXPECT_EQ(CallCount("Bematech_FI_AbreComprovanteNaoFiscalVinculado"), 0);
}

TEST_F(Accounts, NegativeBalancesQuoteTheTypeAndGiveTheHostItsFilterBack) {
    orb::fw::ClientDataSet types("types"), consumers("consumers");
    orb::test::FillTable(types, {{"CDTIPOCONS"}, {"NMTIPOCONS"}}, {{"O'B", "SOCIOS"}, {"X' OR '1'='1", "NINGUEM"}});
    orb::test::FillTable(consumers, {{"CDTIPOCONS"}, {"NMCONSUMIDOR"}, {"SALDONEGATIVO", FieldType::Float}},
                         {{"O'B", "ANA", -3.0}, {"F", "RUI", -4.0}, {"O'B", "EVA", 1.0}});
    consumers.SetFilter("NMCONSUMIDOR <> 'RUI'");
    consumers.SetFiltered(true);
    ClearJournal();
    EXPECT_TRUE(SaldoNegativo("0001", "001", &types, &consumers, "SALDOS", "001", "", ""));
    // The quoted code matches only its own type; the other code is text, not an expression.
    const Texts blocks = SentTexts(kUsa);
    ASSERT_EQ(blocks.size(), 4u) << ::testing::PrintToString(blocks);  // heading, two consumers, the total
    EXPECT_NE(blocks[1].find("SOCIOS\n  ANA "), std::string::npos) << blocks[1];
    EXPECT_TRUE(blocks[3].ends_with("Saldo Total" + std::string(32, ' ') + "-2,00\n")) << blocks[3];
    EXPECT_EQ((std::pair{consumers.Filter(), consumers.Filtered()}),
              (std::pair{std::string("NMCONSUMIDOR <> 'RUI'"), true}));
    EXPECT_EQ(consumers.RecordCount(), 2);
    EXPECT_EQ(Extended() & 4, 0) << "the report is closed";

    // Nobody of any listed type: no report at all.
    types.First();
    types.Delete();
    ClearJournal();
    EXPECT_FALSE(SaldoNegativo("0001", "001", &types, &consumers, "SALDOS", "001", "", ""));
    EXPECT_EQ(CallCount(kReport), 0);
}

}  // namespace
