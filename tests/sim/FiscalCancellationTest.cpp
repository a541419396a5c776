// Cancelling items, the open coupon, the last coupon, and the linked slip that blocks it.
#include "FiscalSimFixture.h"

using namespace simtest;

TEST_F(FiscalSim, ItemsAreCancelledByNumberOrAsTheLastOne) {
    ASSERT_EQ(OpenCoupon(), 1);
    for (const char* price : {"000001000", "000002000", "000004000"}) ASSERT_EQ(Item("1800", price), 1);
    ASSERT_EQ(Bematech_FI_CancelaItemGenerico(Txt("0001")), 1);
    EXPECT_EQ(Refused(Bematech_FI_CancelaItemGenerico(Txt("0001"))).st2, 4);  // already cancelled
    EXPECT_EQ(Refused(Bematech_FI_CancelaItemGenerico(Txt("0009"))).st2, 4);  // no such item
    ASSERT_EQ(Bematech_FI_CancelaItemAnterior(), 1);                          // item 3
    EXPECT_EQ(Bematech_FI_CancelaItemAnterior(), -27);
    EXPECT_EQ(Answer(Bematech_FI_Cancelamentos, 14), "00000000000500");
    EXPECT_EQ(Answer(Bematech_FI_VerificaTotalizadoresParciaisMFD, 889).substr(0, 14), "00000000000200");

    ASSERT_EQ(Bematech_FI_IniciaFechamentoCupom(Txt("d"), Txt("%"), Txt("10,00")), 1);
    EXPECT_EQ(Answer(Bematech_FI_Descontos, 14), "00000000000020");
    EXPECT_EQ(Refused(Bematech_FI_CancelaItemGenerico(Txt("0002"))).st2, 4);  // the closing has started
    EXPECT_EQ(Bematech_FI_EfetuaFormaPagamento(Txt("Dinheiro"), Txt("1,80")), 1);
    EXPECT_EQ(Bematech_FI_TerminaFechamentoCupom(Txt("")), 1);
}

TEST_F(FiscalSim, TheOpenCouponIsCancelledWithoutANewNumber) {
    ASSERT_EQ(OpenCoupon(), 1);
    ASSERT_EQ(Item("1800", "000003000"), 1);
    ASSERT_EQ(Bematech_FI_CancelaCupom(), 1);
    EXPECT_EQ(ReadStatus().st1, 0);
    EXPECT_EQ(Answer(Bematech_FI_NumeroCupom, 6), "000001");
    EXPECT_EQ(Answer(Bematech_FI_Cancelamentos, 14), "00000000000300");
    EXPECT_EQ(Answer(Bematech_FI_NumeroCuponsCancelados, 4), "0001");
    EXPECT_EQ(Refused(Bematech_FI_CancelaCupom()).st2, 4);  // nothing left to cancel
}

TEST_F(FiscalSim, TheLastCouponIsCancellableOnlyWhileNothingElseCameAfter) {
    Sale();
    ASSERT_EQ(Bematech_FI_RelatorioGerencial(Txt("texto")), 1);
    ASSERT_EQ(Bematech_FI_FechaRelatorioGerencial(), 1);
    EXPECT_EQ(Refused(Bematech_FI_CancelaCupom()).st2, 4);

    Sale();
    EXPECT_EQ(Flags() & 32, 32);
    ASSERT_EQ(Bematech_FI_CancelaCupom(), 1);
    EXPECT_EQ(Flags() & 32, 0);
    EXPECT_EQ(Bematech_FI_CancelaCupom(), -27);
}

TEST_F(FiscalSim, ALinkedSlipMustBeReversedBeforeItsCouponIsCancelled) {
    Reset(34, {{"payments", {"Dinheiro", {{"name", "Cartao"}, {"linkable", true}}}}});
    Sale("Cartao", "10,00");

    EXPECT_EQ(Bematech_FI_AbreComprovanteNaoFiscalVinculado(Txt("Dinheiro"), Txt(""), Txt("")), -27);  // not paid so
    EXPECT_EQ(Bematech_FI_AbreComprovanteNaoFiscalVinculado(Txt("Cartao"), Txt("11,00"), Txt("")), -27);
    EXPECT_EQ(Bematech_FI_AbreComprovanteNaoFiscalVinculado(Txt("Cartao"), Txt(""), Txt("000009")), -27);
    ASSERT_EQ(Bematech_FI_AbreComprovanteNaoFiscalVinculado(Txt("Cartao"), Txt(""), Txt("")), 1);
    EXPECT_EQ(Extended(), 64 + 2);
    ASSERT_EQ(Bematech_FI_UsaComprovanteNaoFiscalVinculado(Txt("VIA DO CLIENTE\n")), 1);
    ASSERT_EQ(Bematech_FI_AvancaPapelAcionaGuilhotinaMFD(5, 1), 1);
    ASSERT_EQ(Bematech_FI_FechaComprovanteNaoFiscalVinculado(), 1);
    EXPECT_EQ(Extended(), 64);
    EXPECT_EQ(Answer(Bematech_FI_ContadorComprovantesCreditoMFD, 6), "000001");
    EXPECT_EQ(Answer(Bematech_FI_NumeroCupom, 6), "000002");  // the coupon is the one before

    EXPECT_EQ(Refused(Bematech_FI_CancelaCupom()).st2, 4);
    ASSERT_EQ(Bematech_FI_EstornoNaoFiscalVinculadoMFD(Txt(""), Txt(""), Txt("")), 1);
    EXPECT_EQ(Extended(), 0);
    EXPECT_EQ(Bematech_FI_EstornoNaoFiscalVinculadoMFD(Txt(""), Txt(""), Txt("")), -27);
    ASSERT_EQ(Bematech_FI_CancelaCupom(), 1);
    for (const char* printed : {"VIA DO CLIENTE", "corte", "ESTORNO"})
        EXPECT_NE(Roll().find(printed), std::string::npos) << printed;
}
