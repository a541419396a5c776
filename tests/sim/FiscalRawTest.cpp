// The raw-command entries and the export list.
#include "FiscalSimFixture.h"
#include "platform/Platform.h"

using namespace simtest;

namespace {

std::string Command(const std::string& body) { return "\x1b|" + body + "|\x1b"; }

}  // namespace

TEST_F(FiscalSim, RawCommandsAnswerThroughStatusAndVariables) {
    int ack = 0, st2 = 0, st1 = 0, busy = -1;
    ASSERT_EQ(BemaFormataTX(Txt(Command("00"))), 0);
    ASSERT_EQ(BemaFormataTX(Txt(Command("19"))), 0);
    ASSERT_EQ(BemaStatus_Mp20FI(&ack, &st2, &st1, &busy), 1);
    EXPECT_EQ(ack, 6);
    EXPECT_EQ(st1, 2);  // the third integer is status byte 1
    EXPECT_EQ(busy, 0);
    ASSERT_EQ(BemaFormataTX(Txt(Command("00"))), 0);  // a second coupon is refused
    ASSERT_EQ(BemaFormataTX(Txt(Command("19"))), 0);
    ASSERT_EQ(BemaStatus_Mp20FI(&ack, &st2, &st1, &busy), 1);
    EXPECT_EQ(st2, 1);
    ASSERT_EQ(BemaFormataTX(Txt(Command("14"))), 0);
    EXPECT_EQ(ReadStatus().st1, 0);

    ASSERT_EQ(BemaFormataTX(Txt(Command("27"))), 0);
    Blanks answer(3000);
    ASSERT_EQ(BemaLe_Variaveis(answer), 1);
    EXPECT_EQ(answer.s.substr(0, 14), std::string(14, '0'));
    EXPECT_EQ(answer.s[224], ',');

    ASSERT_EQ(BemaFormataTX(Txt(Command("99"))), 0);
    EXPECT_EQ(ReadStatus().st1, 4);
    ASSERT_EQ(BemaFormataTX(Txt("|19|")), 0);
    EXPECT_EQ(ReadStatus().st1, 8);
    Control({{"sim", "power"}, {"on", false}});
    EXPECT_EQ(BemaFormataTX(Txt(Command("19"))), -1);  // not sent
}

TEST_F(FiscalSim, LibraryExportsEveryEntryPointByName) {
    auto lib = orb::platform::LoadLibrary("BemaFI32.dll");
    ASSERT_NE(lib, 0u) << "set ORB_LIBRARY_PATH to the build's lib folder";
    int count = 0;
#define ORB_CHECK_EXPORT(name, params)                                      \
    EXPECT_NE(orb::platform::GetProcAddress(lib, #name), nullptr) << #name; \
    ++count;
    ORB_FISCAL_ENTRY_POINTS(ORB_CHECK_EXPORT)
    ORB_RAW_ENTRY_POINTS(ORB_CHECK_EXPORT)
#undef ORB_CHECK_EXPORT
    EXPECT_EQ(count, 113 + 6);
    EXPECT_NE(orb::platform::GetProcAddress(lib, "BemaSim_Control"), nullptr);
    // Nothing of our own leaks out under a maker's or a common name.
    EXPECT_EQ(orb::platform::GetProcAddress(lib, "Run"), nullptr);
    orb::platform::FreeLibrary(lib);
}
