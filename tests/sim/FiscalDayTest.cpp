// The fiscal day: the reduction, a closed day, a day left open past midnight.
#include "FiscalSimFixture.h"

using namespace simtest;

TEST_F(FiscalSim, ReductionClosesTheDayAndRecordsIt) {
    Sale();
    ASSERT_EQ(OpenCoupon(), 1);  // left open: the reduction cancels it
    SetClock("2026-12-05T22:00:00");
    ASSERT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
    EXPECT_EQ(ReadStatus().st1, 0);
    EXPECT_EQ(Answer(Bematech_FI_NumeroReducoes, 4), "0001");
    EXPECT_EQ(Answer(Bematech_FI_GrandeTotalUltimaReducaoMFD, 18), Answer(Bematech_FI_GrandeTotal, 18));
    EXPECT_EQ(Answer(Bematech_FI_DataMovimento, 6), "000000");
    EXPECT_EQ(Answer(Bematech_FI_VendaBruta, 18), std::string(18, '0'));
    EXPECT_EQ(Answer(Bematech_FI_DataHoraReducao, 6, 6).substr(0, 8), "05122622");
    EXPECT_EQ(Flags() & 8, 8);

    // The day is closed: no sale, no second reduction; the next day sells again.
    EXPECT_EQ(Refused(OpenCoupon()).st2, 1);
    EXPECT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), -27);
    SetClock("2026-12-06T08:00:00");
    ASSERT_EQ(OpenCoupon(), 1);
    EXPECT_EQ(Answer(Bematech_FI_DataMovimento, 6), "061226");
    EXPECT_NE(Roll().find("REDUÇÃO Z"), std::string::npos);
    auto memory = Control({{"sim", "state"}})["fiscalMemory"];
    ASSERT_EQ(memory.size(), 1u);
    EXPECT_EQ(memory[0]["gross"], 1000);
}

TEST_F(FiscalSim, ADayLeftOpenPastMidnightAsksForTheReductionFirst) {
    Sale();
    SetClock("2026-12-06T09:00:00");
    EXPECT_EQ(Refused(OpenCoupon()).st2, 1);
    EXPECT_EQ(Bematech_FI_RelatorioGerencial(Txt(" ")), -27);
    EXPECT_EQ(Bematech_FI_LeituraX(), -27);
    EXPECT_EQ(Answer(Bematech_FI_DataMovimento, 6), "051226");
    ASSERT_EQ(Bematech_FI_ReducaoZ(Txt(""), Txt("")), 1);
    // The reduction closed yesterday's movement, so today is still open for sales.
    ASSERT_EQ(OpenCoupon(), 1);
}

TEST_F(FiscalSim, ClockAndDaylightSaving) {
    EXPECT_EQ(Answer(Bematech_FI_DataHoraImpressora, 6, 6).substr(0, 9), "051226100");  // 10:00 and a few seconds
    Control({{"sim", "clock"}, {"offset_seconds", 0}});
    EXPECT_EQ(Flags() & 4, 0);
    ASSERT_EQ(Bematech_FI_ProgramaHorarioVerao(), 1);
    EXPECT_EQ(Flags() & 4, 4);
    ASSERT_EQ(OpenCoupon(), 1);
    EXPECT_EQ(Bematech_FI_ProgramaHorarioVerao(), -27);  // not with a coupon open
    ASSERT_EQ(Bematech_FI_CancelaCupom(), 1);
    ASSERT_EQ(Bematech_FI_ProgramaHorarioVerao(), 1);
    EXPECT_EQ(Flags() & 4, 0);
}
