// Non-fiscal receipts, cash supply and withdrawal, management reports and their titles.
#include "FiscalSimFixture.h"

using namespace simtest;

TEST_F(FiscalSim, ReceiptsGoToTheirTotalizersAndMayBeCancelledRightAfter) {
    Reset(34, {{"totalizers", {"CONTRA-VALE EMI", "Relatorios"}}});
    EXPECT_EQ(Bematech_FI_RecebimentoNaoFiscal(Txt("03"), Txt("5,00"), Txt("Dinheiro")), -25);
    EXPECT_EQ(Bematech_FI_RecebimentoNaoFiscal(Txt("01"), Txt("5,00"), Txt("Vale")), -24);
    EXPECT_EQ(Bematech_FI_RecebimentoNaoFiscal(Txt("01"), Txt("abc"), Txt("Dinheiro")), -2);
    ASSERT_EQ(Bematech_FI_RecebimentoNaoFiscal(Txt("01"), Txt("5,00"), Txt("Dinheiro")), 1);
    ASSERT_EQ(Bematech_FI_Suprimento(Txt("100,00"), Txt("Dinheiro")), 1);
    ASSERT_EQ(Bematech_FI_Sangria(Txt("30,00")), 1);
    EXPECT_EQ(Answer(Bematech_FI_NumeroOperacoesNaoFiscais, 6), "000003");
    EXPECT_EQ(Answer(Bematech_FI_NumeroCupom, 6), "000003");

    std::string totals = Answer(Bematech_FI_VerificaRecebimentoNaoFiscalMFD, 2200);
    EXPECT_EQ(totals.substr(0, 34), "CONTRA-VALE EMI    00000000000500,");
    EXPECT_EQ(totals.substr(952, 33), "Sangria            00000000003000");
    EXPECT_EQ(totals.substr(1005, 14), "00000000010000");

    // Only the last receipt may be cancelled, and only once.
    ASSERT_EQ(Bematech_FI_CancelaRecebimentoNaoFiscalMFD(nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(Answer(Bematech_FI_VerificaRecebimentoNaoFiscalMFD, 2200).substr(971, 14), "00000000000000");
    EXPECT_EQ(Refused(Bematech_FI_CancelaRecebimentoNaoFiscalMFD(nullptr, nullptr, nullptr)).st2, 4);
    std::string methods = Answer(Bematech_FI_VerificaFormasPagamento, 3016);
    EXPECT_EQ(methods.substr(16, 20), "00000000000000010500");  // 5,00 + 100,00
}

TEST_F(FiscalSim, ManagementReportsOpenPrintAndClose) {
    ASSERT_EQ(Bematech_FI_RelatorioGerencial(Txt(" ")), 1);
    EXPECT_EQ(Extended(), 4);
    // A report takes its text through either text entry point.
    ASSERT_EQ(Bematech_FI_UsaComprovanteNaoFiscalVinculado(Txt("linha um\nlinha dois\n")), 1);
    ASSERT_EQ(Bematech_FI_UsaRelatorioGerencialMFD(Txt(std::string(60, 'x'))), 1);
    ASSERT_EQ(Bematech_FI_CodigoBarrasEAN13MFD(Txt("789012345678")), 1);
    EXPECT_EQ(Bematech_FI_CodigoBarrasEAN13MFD(Txt("78901234567A")), -2);
    EXPECT_EQ(OpenCoupon(), -27);
    ASSERT_EQ(Bematech_FI_FechaRelatorioGerencial(), 1);
    EXPECT_EQ(Bematech_FI_FechaRelatorioGerencial(), -27);
    EXPECT_EQ(Bematech_FI_UsaRelatorioGerencialMFD(Txt("solto")), -27);
    EXPECT_EQ(Bematech_FI_CodigoBarrasEAN13MFD(Txt("789012345678")), -27);
    EXPECT_EQ(Answer(Bematech_FI_ContadorRelatoriosGerenciaisMFD, 6), "000001");
    std::string roll = Roll();
    EXPECT_NE(roll.find("linha dois\n"), std::string::npos);
    EXPECT_NE(roll.find(std::string(48, 'x') + "\n" + std::string(12, 'x') + "\n"), std::string::npos);
    EXPECT_NE(roll.find("[EAN13 789012345678]"), std::string::npos);
}

TEST_F(FiscalSim, NumberedReportsNeedATitledSlot) {
    EXPECT_EQ(Bematech_FI_AbreRelatorioGerencialMFD(Txt("02")), -27);
    ASSERT_EQ(Bematech_FI_NomeiaRelatorioGerencialMFD(Txt("02"), Txt("Conf. Mesa da casa longo")), 1);
    std::string list = Answer(Bematech_FI_VerificaRelatorioGerencialMFD, 659);
    EXPECT_EQ(list.substr(0, 43), "0000                 ,0000Conf. Mesa da cas");
    ASSERT_EQ(Bematech_FI_AbreRelatorioGerencialMFD(Txt("02")), 1);
    ASSERT_EQ(Bematech_FI_UsaRelatorioGerencialMFD(Txt("mesa 4\n")), 1);
    ASSERT_EQ(Bematech_FI_FechaComprovanteNaoFiscalVinculado(), 1);  // closes a report as well
    EXPECT_EQ(Answer(Bematech_FI_VerificaRelatorioGerencialMFD, 659).substr(22, 4), "0001");
    EXPECT_EQ(Bematech_FI_NomeiaRelatorioGerencialMFD(Txt("02"), Txt("Outro")), -27);  // in use
    EXPECT_EQ(Bematech_FI_NomeiaRelatorioGerencialMFD(Txt("31"), Txt("Outro")), -2);
}

TEST_F(FiscalSim, PaymentMethodsAreProgrammedByNameWithinTheModelsWidth) {
    ASSERT_EQ(Bematech_FI_ProgramaFormaPagamentoMFD(Txt("Cartao Credito"), Txt("1")), 1);
    ASSERT_EQ(Bematech_FI_ProgramaFormaPagamentoMFD(Txt("CARTAO CREDITO"), Txt("1")), 1);  // already there
    EXPECT_EQ(Bematech_FI_ProgramaFormaPagamentoMFD(Txt("Vale Refeicao Sodexo"), Txt("1")), -2);
    std::string list = Answer(Bematech_FI_VerificaFormasPagamento, 3016);
    EXPECT_EQ(list.substr(58, 16), "Cartao Credito  ");
    EXPECT_EQ(list[58 + 56], '1');
    EXPECT_EQ(list.substr(116), std::string(3016 - 116, ' '));
    Reset(19);
    EXPECT_EQ(Bematech_FI_ProgramaFormaPagamentoMFD(Txt("Rel Gerencial 16"), Txt("1")), -2);
    EXPECT_EQ(Bematech_FI_ProgramaFormaPagamentoMFD(Txt("Rel Gerencial 1"), Txt("1")), 1);
}

TEST_F(FiscalSim, RatesAreListedInSlotOrderAndServiceRatesApart) {
    Reset(34, {{"rates", {{{"value", 18.0}}, {{"value", 7.5}}, {{"value", 2.0}, {"service", true}}}}});
    // Every one of the 16 slots, the empty ones as "0000".
    std::string slots = "1800,0750,0200";
    for (int i = 3; i < 16; ++i) slots += ",0000";
    EXPECT_EQ(Answer(Bematech_FI_RetornoAliquotas, 79), slots);
    EXPECT_EQ(Answer(Bematech_FI_VerificaAliquotasIss, 80).substr(0, 5), "0200 ");
}

TEST_F(FiscalSim, ASlipRidesOnTheReceiptJustRegisteredInFourteenDigitAmounts) {
    Reset(34, {{"totalizers", {"MESA"}}, {"payments", {"Dinheiro", {{"name", "Rel Gerencial"}, {"linkable", true}}}}});
    // Thirteen digits are whole reais; fourteen carry the cents: one real and one cent.
    ASSERT_EQ(Bematech_FI_RecebimentoNaoFiscal(Txt("01"), Txt("0000000000001"), Txt("Rel Gerencial")), 1);
    ASSERT_EQ(Bematech_FI_RecebimentoNaoFiscal(Txt("01"), Txt("00000000000001"), Txt("Rel Gerencial")), 1);
    EXPECT_EQ(Answer(Bematech_FI_VerificaRecebimentoNaoFiscalMFD, 2200).substr(0, 34),
              "MESA               00000000000101,");
    // The slip may not ask for more than the receipt, nor name another document or method.
    EXPECT_EQ(Bematech_FI_AbreComprovanteNaoFiscalVinculado(Txt("Rel Gerencial"), Txt("00000000000002"), Txt("")), -27);
    EXPECT_EQ(Bematech_FI_AbreComprovanteNaoFiscalVinculado(Txt("Rel Gerencial"), Txt(""), Txt("000001")), -27);
    EXPECT_EQ(Bematech_FI_AbreComprovanteNaoFiscalVinculado(Txt("Dinheiro"), Txt(""), Txt("")), -27);
    ASSERT_EQ(Bematech_FI_AbreComprovanteNaoFiscalVinculado(Txt("Rel Gerencial"), Txt("00000000000001"), Txt("000002")),
              1);
    // Open, but not reversible: only a coupon's slip is.
    EXPECT_EQ(Extended(), 2);
    ASSERT_EQ(Bematech_FI_UsaComprovanteNaoFiscalVinculado(Txt("Mesa: 0012\n")), 1);
    ASSERT_EQ(Bematech_FI_FechaComprovanteNaoFiscalVinculado(), 1);
    EXPECT_NE(Roll().find("COO DO COMPROVANTE:                       000002\nRel Gerencial"), std::string::npos);
    // Once another document came, the receipt has no slip to give.
    EXPECT_EQ(Bematech_FI_AbreComprovanteNaoFiscalVinculado(Txt("Rel Gerencial"), Txt(""), Txt("")), -27);
}
