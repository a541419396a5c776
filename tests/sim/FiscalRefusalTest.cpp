// Commands out of order or with bad arguments: the return code and the status bytes the driver
// decodes.
#include "FiscalSimFixture.h"

using namespace simtest;

TEST_F(FiscalSim, CommandsOutOfOrderAreNotExecuted) {
    EXPECT_EQ(Refused(Item()), (Status{6, 0, 1}));

    EXPECT_EQ(Refused(Bematech_FI_EfetuaFormaPagamento(Txt("Dinheiro"), Txt("1,00"))).st2, 1);

    ASSERT_EQ(OpenCoupon(), 1);
    EXPECT_EQ(Refused(OpenCoupon()), (Status{6, 2, 1}));                              // already open
    EXPECT_EQ(Bematech_FI_IniciaFechamentoCupom(Txt("d"), Txt("$"), Txt("0")), -27);  // no item yet
    EXPECT_EQ(Bematech_FI_RelatorioGerencial(Txt(" ")), -27);
    EXPECT_EQ(Bematech_FI_LeituraX(), -27);

    // The status read after a good command is clean again, but for the open coupon.
    ASSERT_EQ(Item(), 1);
    EXPECT_EQ(ReadStatus(), (Status{6, 2, 0}));
}

TEST_F(FiscalSim, UnprogrammedRateAndPaymentAndShortPayment) {
    ASSERT_EQ(OpenCoupon(), 1);
    EXPECT_EQ(Refused(Item("2500")).st2, 16);
    EXPECT_EQ(Refused(Item("09")).st2, 16);  // slot 9 is empty
    EXPECT_EQ(Item("T18"), -2);              // not a code the printer knows the form of
    ASSERT_EQ(Item("04"), 1);                // slot 4: 5,00 % (service)
    ASSERT_EQ(Item("0700", "000005000"), 1);

    ASSERT_EQ(Bematech_FI_IniciaFechamentoCupom(Txt("d"), Txt("$"), Txt("0")), 1);
    EXPECT_EQ(Bematech_FI_EfetuaFormaPagamento(Txt("Cheque"), Txt("5,00")), -24);
    EXPECT_EQ(ReadStatus().st2, 0);
    ASSERT_EQ(Bematech_FI_EfetuaFormaPagamento(Txt("Dinheiro"), Txt("5,00")), 1);
    EXPECT_EQ(Refused(Bematech_FI_TerminaFechamentoCupom(Txt(""))), (Status{6, 2, 1}));  // 5,00 of 6,00
    ASSERT_EQ(Bematech_FI_EfetuaFormaPagamento(Txt("Dinheiro"), Txt("1,00")), 1);
    EXPECT_EQ(Bematech_FI_EfetuaFormaPagamento(Txt("Dinheiro"), Txt("1,00")), -27);  // already paid
    ASSERT_EQ(Bematech_FI_TerminaFechamentoCupom(Txt("")), 1);
}

TEST_F(FiscalSim, BadArgumentsAreRefusedBeforeReachingThePrinter) {
    ASSERT_EQ(OpenCoupon(), 1);
    EXPECT_EQ(Item("1800", "10,00"), -2);
    EXPECT_EQ(Item("1800", "0000010000"), -2);  // ten digits
    EXPECT_EQ(Bematech_FI_VendeItemDepartamento(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                nullptr),
              -2);
    EXPECT_EQ(Bematech_FI_CancelaItemGenerico(Txt("12a")), -2);
    // A discount that leaves nothing to pay is refused by the printer.
    EXPECT_EQ(Item("1800", "000001000", "0001000", "00000100"), -27);
    ASSERT_EQ(Item(), 1);
    ASSERT_EQ(Bematech_FI_IniciaFechamentoCupom(Txt("x"), Txt("$"), Txt("0")), -2);
    ASSERT_EQ(Bematech_FI_IniciaFechamentoCupom(Txt("d"), Txt("$"), Txt("1,005")), -2);
    ASSERT_EQ(Bematech_FI_IniciaFechamentoCupom(Txt("d"), Txt("$"), Txt("0")), 1);
    ASSERT_EQ(Bematech_FI_EfetuaFormaPagamento(Txt("Dinheiro"), Txt("-1")), -2);
    ASSERT_EQ(Bematech_FI_EfetuaFormaPagamento(Txt("Dinheiro"), Txt("10")), 1);
    std::string footer;
    for (int i = 0; i < 9; ++i) footer += "linha\n";
    EXPECT_EQ(Bematech_FI_TerminaFechamentoCupom(Txt(footer)), -2);  // nine lines
    EXPECT_EQ(Bematech_FI_TerminaFechamentoCupom(Txt(std::string(8 * 48, 'x'))), 1);
}

TEST_F(FiscalSim, PaperAndCoverStopPrintingAndShowInTheStatus) {
    Control({{"sim", "paper"}, {"state", "low"}});
    ASSERT_EQ(OpenCoupon(), 1);
    EXPECT_EQ(ReadStatus().st1, 64 + 2);
    Control({{"sim", "paper"}, {"state", "out"}});
    EXPECT_EQ(Refused(Item()), (Status{6, 128 + 2, 1}));
    Control({{"sim", "paper"}, {"state", "ok"}});
    Control({{"sim", "cover"}, {"open", true}});
    EXPECT_EQ(Refused(Item()).st1, 16 + 2);
    Control({{"sim", "cover"}, {"open", false}});
    EXPECT_EQ(Item(), 1);
}

TEST_F(FiscalSim, OlderModelsHaveNoNumberedReports) {
    Reset(18);
    EXPECT_EQ(Refused(Bematech_FI_NomeiaRelatorioGerencialMFD(Txt("01"), Txt("Conf. Mesa"))).st1, 4);
    EXPECT_EQ(Answer(Bematech_FI_VerificaRelatorioGerencialMFD, 659, -27), std::string(659, ' '));
    EXPECT_EQ(Refused(Bematech_FI_AbreRelatorioGerencialMFD(Txt("01"))).st1, 4);
}

TEST_F(FiscalSim, TotalizerSlotsAreTakenInOrderUpToCapacity) {
    Reset(18);
    for (int slot = 1; slot <= 9; ++slot)
        ASSERT_EQ(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms(slot, Txt("TOTAL " + std::to_string(slot))), 1);
    EXPECT_EQ(Refused(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms(10, Txt("DEMAIS"))).st2, 1);
    Reset(34);
    EXPECT_EQ(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms(2, Txt("SALTO")), -27);  // slot 1 still free
    ASSERT_EQ(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms(1, Txt("CONTRA-VALE EMITIDO")), 1);
    // The detail-memory models keep 15 characters of a name.
    EXPECT_EQ(Answer(Bematech_FI_VerificaTotalizadoresNaoFiscais, 179).substr(0, 19), "CONTRA-VALE EMI    ");
}
