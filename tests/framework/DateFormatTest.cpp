#include <gtest/gtest.h>

#include "FrameworkTestSupport.h"
#include "framework/Cp1252.h"
#include "framework/DateFormat.h"
#include "framework/Exceptions.h"
#include "framework/FormatSettings.h"

using namespace orb::fw;
using orb::fw::test::MessageOf;

namespace {

class DateFormatTest : public orb::fw::test::DefaultSettings {
protected:
    void SetUp() override { SetFixedNow(EncodeDateTime(2026, 12, 5, 10, 0, 0)); }
    void TearDown() override { SetClock({}); }
    const TDateTime moment_ = EncodeDateTime(2026, 3, 7, 12, 5, 9, 42);
};

}  // namespace

TEST_F(DateFormatTest, PicturesOfTheModule) {
    const std::pair<const char*, const char*> cases[] = {
        // clang-format off
        {"ddmmyyyy", "07032026"}, {"dd/mm/yyyy hh:nn:ss", "07/03/2026 12:05:09"}, {"yyyymmddhhnnss", "20260307120509"},
        {"hhmmss", "120509"},  // mm after hh: minutes
        {"MMYY", "0326"}, {"DD/MM/YYYY hh:mm", "07/03/2026 12:05"}, {"d/m/yy h:n:s", "7/3/26 12:5:9"},
        {"ddmmyyyyhhmss", "0703202612509"},  // the reading-file stamp: "m" after the hour is an unpadded minute
        {"hh:nn:ss.zzz", "12:05:09.042"}, {"z", "42"}, {"\"Data:\" dd/mm", "Data: 07/03"}, {"'hh' hh", "hh 12"},
        {"ddddd", "07/03/2026"}, {"c", "07/03/2026 12:05:09"},
        // clang-format on
    };
    for (const auto& [picture, expected] : cases) EXPECT_EQ(FormatDateTime(picture, moment_), expected) << picture;
    EXPECT_EQ(FormatDateTime("ddmmyyyyhhmss", EncodeDateTime(2026, 3, 7, 12, 45, 9)), "07032026124509");
}

TEST_F(DateFormatTest, AmPmNamesAndSeparators) {
    EXPECT_EQ(FormatDateTime("h:nn am/pm", EncodeTime(15, 30, 0)), "3:30 pm");
    EXPECT_EQ(FormatDateTime("h:nn AM/PM", EncodeTime(0, 30, 0)), "12:30 AM");
    EXPECT_EQ(FormatDateTime("hh:nn ampm", EncodeTime(9, 0, 0)), "09:00 AM");
    EXPECT_EQ(FormatDateTime("ddd dddd mmm mmmm", moment_), CP("sáb sábado mar março"));
    EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 3, 7)), "07/03/2026");  // no time when it is midnight
    EXPECT_EQ(DateToStr(moment_), "07/03/2026");
    EXPECT_EQ(TimeToStr(moment_), "12:05:09");
    EXPECT_EQ(FormatDateTime("dd/mm/yyyy", TDateTime(-1.25)), "29/12/1899");

    FormatSettings other;
    other.DateSeparator = '-';
    other.TimeSeparator = '.';
    other.ShortDateFormat = "yyyy/mm/dd";
    ScopedSettings scoped(other);
    EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn:ss", moment_), "07-03-2026 12.05.09");
    EXPECT_EQ(DateToStr(moment_), "2026-03-07");
}

TEST_F(DateFormatTest, ParsingUnderTheShortDateFormat) {
    // Two-digit years fall in the hundred years from 50 years before the clock's year; a date
    // without a year takes the clock's.
    const struct {
        TDateTime (*parse)(std::string_view);
        const char* text;
        TDateTime expected;
    } cases[] = {
        // clang-format off
        {StrToDate, "05/12/2026", EncodeDate(2026, 12, 5)}, {StrToDate, " 5/2/2026 ", EncodeDate(2026, 2, 5)},
        {StrToDate, "05/12", EncodeDate(2026, 12, 5)}, {StrToDate, "01/01/26", EncodeDate(2026, 1, 1)},
        {StrToDate, "01/01/76", EncodeDate(1976, 1, 1)}, {StrToDate, "01/01/75", EncodeDate(2075, 1, 1)},
        {StrToDate, "01/01/0026", EncodeDate(26, 1, 1)},
        {StrToDateTime, "05/12/2026 14:30:05", EncodeDateTime(2026, 12, 5, 14, 30, 5)},
        {StrToDateTime, "05/12/2026 14:30", EncodeDateTime(2026, 12, 5, 14, 30, 0)},
        {StrToDateTime, "05/12/2026", EncodeDate(2026, 12, 5)}, {StrToDateTime, "14:30", EncodeTime(14, 30, 0)},
        {StrToDateTime, "29/12/1899 06:00", TDateTime(-1.25)}, {StrToTime, "2:30 PM", EncodeTime(14, 30, 0)},
        {StrToTime, "12:00 am", EncodeTime(0, 0, 0)}, {StrToTime, "23:59:59", EncodeTime(23, 59, 59)},
        // clang-format on
    };
    for (const auto& c : cases) EXPECT_EQ(c.parse(c.text), c.expected) << c.text;
    TDateTime time;
    EXPECT_TRUE(TryStrToTime(" 7:05 ", time));
    EXPECT_EQ(time, EncodeTime(7, 5, 0));

    FormatSettings us;
    us.ShortDateFormat = "mm/dd/yyyy";
    ScopedSettings scoped(us);
    EXPECT_EQ(StrToDate("12/05/2026"), EncodeDate(2026, 12, 5));
    FormatSettings iso;
    iso.ShortDateFormat = "yyyy-mm-dd";
    iso.DateSeparator = '-';
    ScopedSettings scoped2(iso);
    EXPECT_EQ(StrToDate("2026-12-05"), EncodeDate(2026, 12, 5));
    EXPECT_THROW(StrToDate("05/12/2026"), EConvertError);
}

TEST_F(DateFormatTest, ParsingFailuresNameTheText) {
    const struct {
        TDateTime (*parse)(std::string_view);
        const char* text;
        const char* what;
    } cases[] = {
        // clang-format off
        {StrToDate, "x", "date"}, {StrToDate, "31/02/2026", "date"}, {StrToDate, "05/12/2026 10:00", "date"},
        {StrToDate, "", "date"}, {StrToTime, "25:00", "time"}, {StrToTime, "12", "time"},
        {StrToDateTime, "05/12/2026 10:61", "date and time"}, {StrToDateTime, "abc", "date and time"},
        {StrToDateTime, "05/12/2026x", "date and time"},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MessageOf<EConvertError>([&] { c.parse(c.text); }),
                  "'" + std::string(c.text) + "' is not a valid " + c.what);
    }
    TDateTime out(3.0);
    EXPECT_FALSE(TryStrToDate("1/1/99999", out));
    EXPECT_EQ(out.value, 3.0);
}
