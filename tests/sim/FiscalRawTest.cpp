// The raw-command entries: answers through the status and the variables.
#include "FiscalSimFixture.h"

using namespace simtest;

namespace {

std::string Command(const std::string& body) { return "\x1b|" + body + "|\x1b"; }

}  // namespace

TEST_F(FiscalSim, RawCommandsAnswerThroughStatusAndVariables) {
    int ack = 0, st2 = 0, st1 = 0, busy = -1;
    for (const char* code : {"00", "19"}) ASSERT_EQ(BemaFormataTX(Txt(Command(code))), 0);
    ASSERT_EQ(BemaStatus_Mp20FI(&ack, &st2, &st1, &busy), 1);
    EXPECT_EQ(std::make_tuple(ack, st1, busy), std::make_tuple(6, 2, 0));  // the third integer is status byte 1
    for (const char* code : {"00", "19"}) ASSERT_EQ(BemaFormataTX(Txt(Command(code))), 0);  // a second coupon: refused
    ASSERT_EQ(BemaStatus_Mp20FI(&ack, &st2, &st1, &busy), 1);
    EXPECT_EQ(st2, 1);
    ASSERT_EQ(BemaFormataTX(Txt(Command("14"))), 0);
    EXPECT_EQ(ReadStatus().st1, 0);

    ASSERT_EQ(BemaFormataTX(Txt(Command("27"))), 0);
    const std::string totals = Answer(BemaLe_Variaveis, 3000);
    EXPECT_EQ(totals.substr(0, 14), std::string(14, '0'));
    EXPECT_EQ(totals[224], ',');

    ASSERT_EQ(BemaFormataTX(Txt(Command("99"))), 0);
    EXPECT_EQ(ReadStatus().st1, 4);
    ASSERT_EQ(BemaFormataTX(Txt("|19|")), 0);
    EXPECT_EQ(ReadStatus().st1, 8);
    Control({{"sim", "power"}, {"on", false}});
    EXPECT_EQ(BemaFormataTX(Txt(Command("19"))), -1);  // not sent
}
