// A sale through the entry points, and how the counters, totals and paper answer for it.
#include "FiscalSimFixture.h"

using namespace simtest;
using nlohmann::json;

TEST_F(FiscalSim, SaleAnswersItsTotalsInTheMakersLayouts) {
    ASSERT_EQ(Bematech_FI_AbreCupomMFD(Txt("12345678909"), Txt("JOSE"), Txt("RUA A, 1")), 1);
    // 2 x 10,00 at 18 % less 1,00, and 1,5 x 3,333 rounded (5,00) exempt on the model-34 form.
    ASSERT_EQ(Item("1800", "000010000", "0002000", "00000100", "REFRIGERANTE"), 1);
    ASSERT_EQ(Bematech_FI_VendeItemArredondamentoMFD(Txt("555"), Txt("AGUA"), Txt("II"), Txt("UN"), Txt("0001500"),
                                                     Txt("00003333"), Txt("0000"), Txt("0000"), 1),
              1);
    ASSERT_EQ(Bematech_FI_IniciaFechamentoCupom(Txt("a"), Txt("$"), Txt("2,00")), 1);
    EXPECT_EQ(Answer(Bematech_FI_Acrescimos, 14), "00000000000200");
    ASSERT_EQ(Bematech_FI_EfetuaFormaPagamento(Txt("dinheiro"), Txt("30,00")), 1);
    ASSERT_EQ(Bematech_FI_TerminaFechamentoCupom(Txt("Volte sempre\nMesa 4")), 1);

    // 25,00 gross, 1,00 item discount, 2,00 surcharge: total 26,00, change 4,00.
    EXPECT_EQ(Answer(Bematech_FI_GrandeTotal, 18), "000000000000002700");
    EXPECT_EQ(Answer(Bematech_FI_VendaBruta, 18), "000000000000002700");
    EXPECT_EQ(Answer(Bematech_FI_Descontos, 14), "00000000000100");
    EXPECT_EQ(Answer(Bematech_FI_Cancelamentos, 14), "00000000000000");
    const std::string partial = Answer(Bematech_FI_VerificaTotalizadoresParciaisMFD, 889);
    EXPECT_EQ(partial.substr(0, 14), "00000000001900");    // rate 1: 20,00 - 1,00
    EXPECT_EQ(partial.substr(225, 14), "00000000000500");  // exempt
    const std::string methods = Answer(Bematech_FI_VerificaFormasPagamento, 3016);
    EXPECT_EQ(methods.substr(0, 36), "Dinheiro        00000000000000002600");  // 30,00 paid less 4,00 change
    EXPECT_EQ(Answer(Bematech_FI_InicioFimCOOsMFD, 6, 6), "000001000001");

    // The paper holds 48 columns at most (the roll is UTF-8 in the reply), and is also written beside
    // the state file in code page 1252, with the journal one call a line.
    for (const std::string& line : orbtest::TextLines(Roll())) {
        std::size_t chars = 0;
        for (unsigned char ch : line) chars += (ch & 0xC0) != 0x80;
        EXPECT_LE(chars, 48u) << line;
    }
    const std::string paper = orbtest::ReadBytes(folder_ / "printer.roll.txt");
    EXPECT_NE(paper.find("ITEM C\323DIGO"), std::string::npos);  // code page 1252
    EXPECT_NE(paper.find("Mesa 4"), std::string::npos);
    const std::string journal = orbtest::ReadBytes(folder_ / "printer.journal.txt");
    EXPECT_EQ(json::parse(journal.substr(0, journal.find('\n')))["entry"], "Bematech_FI_AbreCupomMFD");
}

TEST_F(FiscalSim, ItemArithmeticTruncatesUnlessRoundingIsAsked) {
    ASSERT_EQ(OpenCoupon(), 1);
    // 0,333 x 10,99: 3,65967 -> 3,65 truncated, 3,66 rounded.
    ASSERT_EQ(Item("FF", "000010990", "0000333"), 1);
    for (int round : {1, 0})
        ASSERT_EQ(Bematech_FI_VendeItemArredondamentoMFD(Txt("2"), Txt("B"), Txt("FF"), Txt("KG"), Txt("0000333"),
                                                         Txt("00010990"), Txt("0000"), Txt("0000"), round),
                  1);
    const std::string partial = Answer(Bematech_FI_VerificaTotalizadoresParciaisMFD, 889);
    EXPECT_EQ(partial.substr(255, 14), "00000000001096");  // substitution: 3,65 + 3,66 + 3,65
}

TEST_F(FiscalSim, GrandTotalOnlyGrowsAndCouponNumbersFollowEveryDocument) {
    Sale();
    const std::string gt = Answer(Bematech_FI_GrandeTotal, 18);
    ASSERT_EQ(Bematech_FI_CancelaCupom(), 1);  // the last coupon
    EXPECT_EQ(Answer(Bematech_FI_GrandeTotal, 18), gt);
    EXPECT_EQ(Answer(Bematech_FI_Cancelamentos, 14), "00000000001000");
    EXPECT_EQ(Answer(Bematech_FI_NumeroCuponsCancelados, 4), "0001");
    EXPECT_EQ(Answer(Bematech_FI_NumeroCupom, 6), "000002");
    ASSERT_EQ(Bematech_FI_LeituraX(), 1);
    EXPECT_EQ(Answer(Bematech_FI_NumeroCupom, 6), "000003");
    EXPECT_EQ(Answer(Bematech_FI_NumeroOperacoesNaoFiscais, 6), "000001");
    EXPECT_EQ(Answer(Bematech_FI_ContadorCupomFiscalMFD, 6), "000001");
}
