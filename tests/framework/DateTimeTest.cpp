#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include "framework/DateTime.h"
#include "framework/Exceptions.h"

using namespace orb::fw;

TEST(DateTimeTest, DaysCountFromTheHostsEpochAndDecodeBackOnBothSides) {
    const struct {
        int year, month, day;
        double days;
    } dates[] = {{1899, 12, 30, 0.0},   {1899, 12, 31, 1.0},    {1899, 12, 29, -1.0}, {1900, 1, 1, 2.0},
                 {2000, 1, 1, 36526.0}, {2026, 12, 5, 46361.0}, {1, 1, 1, -693593.0}};
    for (const auto& d : dates) EXPECT_EQ(EncodeDate(d.year, d.month, d.day).value, d.days) << d.year << "-" << d.month;
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0).value, 0.25);
    EXPECT_DOUBLE_EQ(EncodeDateTime(2000, 1, 1, 12, 0, 0).value, 36526.5);
    // Before the epoch the time still runs forward from midnight: 29 Dec 1899 06:00 is -1.25.
    EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0).value, -1.25);
    EXPECT_EQ(DecodeTime(TDateTime(-1.25)).hour, 6);
    EXPECT_EQ(DecodeDate(TDateTime(-1.25)).day, 29);

    for (int year : {1, 1600, 1899, 1900, 1999, 2000, 2024, 2026, 9999}) {
        for (int month : {1, 2, 12}) {
            const int day = DaysInMonth(year, month);
            const TDateTime dt = EncodeDateTime(year, month, day, 23, 59, 58, 7);
            const DateParts d = DecodeDate(dt);
            const TimeParts t = DecodeTime(dt);
            EXPECT_EQ(std::tie(d.year, d.month, d.day, t.hour, t.minute, t.second, t.msec),
                      std::make_tuple(year, month, day, 23, 59, 58, 7));
        }
    }
    // A moment a fraction of a millisecond before midnight is shown as the next day, never 24:00.
    const TDateTime almost(EncodeDate(2026, 1, 31).value + 0.99999999999);
    EXPECT_EQ(std::make_tuple(DecodeDate(almost).month, DecodeTime(almost).hour), std::make_tuple(2, 0));
}

TEST(DateTimeTest, ImpossibleDatesAndTimesAreRefused) {
    TDateTime out(5.0);
    const struct {
        int year, month, day;
        bool valid;
    } dates[] = {{2026, 2, 29, false}, {2024, 2, 29, true},  {1900, 2, 29, false},
                 {2000, 2, 29, true},  {2026, 13, 1, false}, {0, 1, 1, false}};
    for (const auto& d : dates)
        EXPECT_EQ(TryEncodeDate(d.year, d.month, d.day, out), d.valid) << d.year << "-" << d.month;
    EXPECT_EQ(std::make_pair(IsLeapYear(2000), IsLeapYear(2100)), std::make_pair(true, false));
    EXPECT_EQ(DaysInMonth(2026, 13), 0);
    for (const auto& [h, m, ms] : {std::tuple{24, 0, 0}, std::tuple{12, 60, 0}, std::tuple{12, 0, 1000}})
        EXPECT_FALSE(TryEncodeTime(h, m, 0, ms, out)) << h << ":" << m << "." << ms;
    EXPECT_THROW(EncodeDate(2026, 4, 31), EConvertError);
    EXPECT_THROW(EncodeTime(-1, 0, 0), EConvertError);
    EXPECT_THROW(EncodeDateTime(2026, 1, 1, 25, 0, 0), EConvertError);
    // Values off the calendar raise instead of overflowing the millisecond count.
    EXPECT_THROW(DecodeDate(TDateTime(1e300)), EConvertError);
    EXPECT_THROW(DecodeTime(TDateTime(std::nan(""))), EConvertError);
    EXPECT_THROW(IncDay(TDateTime(-1e20)), EConvertError);
    EXPECT_EQ(DecodeDate(TDateTime(2958465.5)).year, 9999);
    EXPECT_EQ(DecodeDate(TDateTime(-693593.5)).year, 1);
}

TEST(DateTimeTest, ArithmeticAcrossTheEpochAndMonthEnds) {
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7);  // Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 6)), 1);   // Sunday
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 24)), 1);
    EXPECT_DOUBLE_EQ(IncDay(EncodeDateTime(1899, 12, 29, 6, 0, 0)).value, 0.25);  // 30 Dec 06:00
    EXPECT_DOUBLE_EQ(IncDay(TDateTime(0.25), -1).value, -1.25);
    EXPECT_EQ(IncDay(EncodeDate(2026, 12, 31)), EncodeDate(2027, 1, 1));
    EXPECT_EQ(IncMonth(EncodeDate(2026, 1, 31)), EncodeDate(2026, 2, 28));
    EXPECT_EQ(IncMonth(EncodeDate(2024, 1, 31)), EncodeDate(2024, 2, 29));
    EXPECT_EQ(IncMonth(EncodeDate(2026, 1, 15), -2), EncodeDate(2025, 11, 15));
    EXPECT_EQ(DecodeTime(IncMonth(EncodeDateTime(2026, 3, 1, 8, 30, 0))).minute, 30);
    EXPECT_EQ(DateOf(EncodeDateTime(2026, 12, 5, 14, 0, 0)), EncodeDate(2026, 12, 5));
    EXPECT_DOUBLE_EQ(TimeOf(EncodeDateTime(2026, 12, 5, 18, 0, 0)).value, 0.75);
    EXPECT_EQ(DateOf(TDateTime(-1.25)).value, -1.0);
    EXPECT_DOUBLE_EQ(TimeOf(TDateTime(-1.25)).value, 0.25);
    // 29 Dec 23:00 to 30 Dec 01:00 is two hours although the raw values are -1.958 and 0.042;
    // half a second rounds up.
    const struct {
        TDateTime from, to;
        int seconds;
    } gaps[] = {{EncodeDateTime(2026, 12, 5, 23, 59, 0), EncodeDateTime(2026, 12, 6, 0, 1, 0), 120},
                {EncodeDateTime(2026, 12, 6, 0, 1, 0), EncodeDateTime(2026, 12, 5, 23, 59, 0), -120},
                {EncodeDateTime(1899, 12, 29, 23, 0, 0), EncodeDateTime(1899, 12, 30, 1, 0, 0), 7200},
                {EncodeTime(0, 0, 0, 0), EncodeTime(0, 0, 1, 499), 1},
                {EncodeTime(0, 0, 0, 0), EncodeTime(0, 0, 1, 500), 2}};
    for (const auto& g : gaps) EXPECT_EQ(SecondsBetween(g.from, g.to), g.seconds) << g.seconds;
}

TEST(DateTimeTest, OneClockThatTestsCanPin) {
    const TDateTime moment = EncodeDateTime(2026, 12, 5, 14, 30, 5);
    SetFixedNow(moment);
    EXPECT_EQ(Now(), moment);
    EXPECT_EQ(Date(), EncodeDate(2026, 12, 5));
    EXPECT_DOUBLE_EQ(Time().value, EncodeTime(14, 30, 5).value);
    int ticks = 0;
    SetClock([&ticks] { return TDateTime(static_cast<double>(++ticks)); });
    EXPECT_EQ((std::vector{Now().value, Now().value}), (std::vector{1.0, 2.0}));
    SetClock({});  // back on the system
    const double before = SystemNow().value;
    const double now = Now().value;
    EXPECT_GE(now, before);
    EXPECT_GT(now, EncodeDate(2020, 1, 1).value);
    EXPECT_LT(now - before, 1.0 / 24);
}
