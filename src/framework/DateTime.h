#pragma once
// TDateTime as the host counts it: days since 30 Dec 1899, the fraction being the time of day.
#include <cstdint>
#include <functional>

namespace orb::fw {

struct TDateTime {
    double value = 0.0;
    constexpr TDateTime() = default;
    constexpr explicit TDateTime(double v) : value(v) {}
    friend constexpr bool operator==(TDateTime a, TDateTime b) { return a.value == b.value; }
    friend constexpr auto operator<=>(TDateTime a, TDateTime b) { return a.value <=> b.value; }
};

struct DateParts {
    int year = 0, month = 0, day = 0;
};
struct TimeParts {
    int hour = 0, minute = 0, second = 0, msec = 0;
};

// Raise EConvertError on an impossible date or time. Every function that takes a moment apart
// raises EConvertError for a value off the calendar (before 1 Jan 0001, after 31 Dec 9999, NaN).
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int msec = 0);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec = 0);
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& out);
DateParts DecodeDate(TDateTime dt);
TimeParts DecodeTime(TDateTime dt);
int DayOfWeek(TDateTime dt);  // 1 = Sunday .. 7 = Saturday
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

TDateTime DateOf(TDateTime dt);
TDateTime TimeOf(TDateTime dt);
TDateTime IncDay(TDateTime dt, int days = 1);
TDateTime IncMonth(TDateTime dt, int months = 1);
// Whole seconds between two moments (b - a), rounded to the nearest second.
std::int64_t SecondsBetween(TDateTime a, TDateTime b);

// The one clock of the module. Tests and the command-line host may pin it.
TDateTime Now();
TDateTime Date();
TDateTime Time();
using ClockFunction = std::function<TDateTime()>;
void SetClock(ClockFunction clock);  // empty function: back to the system clock (local time)
void SetFixedNow(TDateTime moment);  // the clock stands still at moment
TDateTime SystemNow();               // the operating system's local time, ignoring any pin

}  // namespace orb::fw
