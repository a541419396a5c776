// The debug log: one file per month beside the host executable, one line per call, written in
// the current date and time settings, and a failure to write raised to the caller.
#include <gtest/gtest.h>

#include "driver/DebugLog.h"
#include "driver/TestSupport.h"
#include "framework/Cp1252.h"
#include "framework/Exceptions.h"
#include "framework/FormatSettings.h"
#include "platform/Platform.h"

namespace {

using orb::fw::EncodeDateTime;
using orb::test::ReadLines;
using Orb00100::ImpFisDebug;

class FrameDebugLog : public orb::test::DriverTest {
protected:
    bool UsesPrinter() const override { return false; }
};

TEST_F(FrameDebugLog, OneFilePerMonthNamedByMonthAndYear) {
    PinClock(EncodeDateTime(2026, 12, 31, 23, 59, 59));
    EXPECT_EQ(LogPath(), HomePath("impdebug1226.txt"));
    ImpFisDebug("Bematech_FI_LeituraX");

    PinClock(EncodeDateTime(2027, 1, 1, 0, 0, 0));
    EXPECT_EQ(LogPath(), HomePath("impdebug0127.txt"));
    EXPECT_FALSE(orb::platform::FileExists(LogPath()));
    ImpFisDebug("Bematech_FI_ReducaoZ");

    EXPECT_EQ(ReadLines(HomePath("impdebug1226.txt")),
              std::vector<std::string>{"31/12/2026 23:59:59 - Bematech_FI_LeituraX"});
    EXPECT_EQ(ReadLines(HomePath("impdebug0127.txt")),
              std::vector<std::string>{"01/01/2027 00:00:00 - Bematech_FI_ReducaoZ"});
}

TEST_F(FrameDebugLog, AppendsOneCrLfLinePerCallAndKeepsTheTextsBytes) {
    PinClock(EncodeDateTime(2026, 12, 5, 14, 30, 5));
    ImpFisDebug("Bematech_FI_AbrePortaSerial: 1");
    ImpFisDebug("ERRO!!! " + CP("Erro no relógio da impressora fiscal."));
    ImpFisDebug("Bematech_FI_NumeroCupom\r\nRetorno da Impressora : 000123");

    // The accented letter goes out as its one code-page-1252 byte (0xF3).
    const std::string expected =
        "05/12/2026 14:30:05 - Bematech_FI_AbrePortaSerial: 1\r\n"
        "05/12/2026 14:30:05 - ERRO!!! Erro no rel\xf3gio da impressora fiscal.\r\n"
        "05/12/2026 14:30:05 - Bematech_FI_NumeroCupom\r\n"
        "Retorno da Impressora : 000123\r\n";
    std::string contents;
    ASSERT_TRUE(orb::platform::ReadFile(LogPath(), contents));
    EXPECT_EQ(contents, expected);
    EXPECT_EQ(LogTexts().back(), "Bematech_FI_NumeroCupom\r\nRetorno da Impressora : 000123");
}

TEST_F(FrameDebugLog, DateAndTimeFollowTheCurrentSettings) {
    PinClock(EncodeDateTime(2026, 3, 7, 8, 5, 9));
    orb::fw::FormatSettings settings;
    settings.DateSeparator = '-';
    settings.ShortDateFormat = "yyyy/mm/dd";
    settings.TimeSeparator = '.';
    settings.LongTimeFormat = "hh:nn:ss";
    orb::fw::ScopedSettings scoped(settings);
    ImpFisDebug("texto");
    EXPECT_EQ(ReadLines(HomePath("impdebug0326.txt")), std::vector<std::string>{"2026-03-07 08.05.09 - texto"});
}

TEST_F(FrameDebugLog, AnUnwritableLogRaisesAnInputOutputError) {
    setenv("ORB_HOME", HomePath("no-such-folder").c_str(), 1);
    EXPECT_THROW(ImpFisDebug("Bematech_FI_LeituraX"), orb::fw::EInOutError);
}

}  // namespace
