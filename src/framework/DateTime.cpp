#include "framework/DateTime.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <mutex>
#include <string>

#include "framework/Exceptions.h"
#include "framework/NumberFormat.h"

namespace orb::fw {

namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;

// 30 Dec 1899 counted as day n of the proleptic Gregorian calendar, 1 Jan 0001 being day 1.
constexpr std::int64_t kDateDelta = 693'594;

// A moment split as the host splits it: the whole days (toward zero, so negative before
// 30 Dec 1899) and the milliseconds of the day (always positive: -1.25 is 29 Dec 1899 06:00).
struct Stamp {
    std::int64_t days;
    std::int64_t msOfDay;
};

// The host's calendar runs from 1 Jan 0001 (-693593) to 31 Dec 9999 (2958465).
constexpr double kMinDateTime = -693594.0;
constexpr double kMaxDateTime = 2958466.0;

Stamp ToStamp(TDateTime dt) {
    // Beyond the calendar (or not a number) there is no date to take apart; the conversion to
    // whole milliseconds would overflow.
    if (!(dt.value > kMinDateTime && dt.value < kMaxDateTime)) {
        throw EConvertError("'" + FloatToStr(dt.value) + "' is not a valid date and time");
    }
    const double scaled = std::round(dt.value * static_cast<double>(kMsPerDay));
    const auto ms = static_cast<std::int64_t>(scaled);
    return {ms / kMsPerDay, std::llabs(ms) % kMsPerDay};
}

// Moments on one straight line of milliseconds, so that differences across 30 Dec 1899 are right.
std::int64_t LinearMs(TDateTime dt) {
    const Stamp s = ToStamp(dt);
    return s.days * kMsPerDay + s.msOfDay;
}

TDateTime FromLinearMs(std::int64_t ms) {
    std::int64_t days = ms / kMsPerDay;
    std::int64_t rest = ms % kMsPerDay;
    if (rest < 0) {
        --days;
        rest += kMsPerDay;
    }
    const double time = static_cast<double>(rest) / static_cast<double>(kMsPerDay);
    return TDateTime(days >= 0 ? static_cast<double>(days) + time : static_cast<double>(days) - time);
}

std::int64_t DaysFromCivil(int year, int month, int day) {
    // Days since 1 Jan 0001 (day 1 = 1 Jan 0001), proleptic Gregorian.
    std::int64_t y = year - 1;
    std::int64_t days = y * 365 + y / 4 - y / 100 + y / 400;
    for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
    return days + day;
}

DateParts CivilFromDays(std::int64_t n) {
    // n: days since 1 Jan 0001 counted from 1.
    std::int64_t t = n - 1;
    const std::int64_t y400 = t / 146'097;
    t %= 146'097;
    std::int64_t y100 = t / 36'524;
    if (y100 == 4) y100 = 3;
    t -= y100 * 36'524;
    const std::int64_t y4 = t / 1'461;
    t %= 1'461;
    std::int64_t y1 = t / 365;
    if (y1 == 4) y1 = 3;
    t -= y1 * 365;
    DateParts parts;
    parts.year = static_cast<int>(y400 * 400 + y100 * 100 + y4 * 4 + y1 + 1);
    int month = 1;
    while (t >= DaysInMonth(parts.year, month)) {
        t -= DaysInMonth(parts.year, month);
        ++month;
    }
    parts.month = month;
    parts.day = static_cast<int>(t) + 1;
    return parts;
}

std::mutex& ClockMutex() {
    static std::mutex m;
    return m;
}

ClockFunction& Clock() {
    static ClockFunction clock;
    return clock;
}

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& out) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
    out = TDateTime(static_cast<double>(DaysFromCivil(year, month, day) - kDateDelta));
    return true;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& out) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 || msec > 999) {
        return false;
    }
    const std::int64_t ms = ((hour * 60LL + minute) * 60 + second) * 1000 + msec;
    out = TDateTime(static_cast<double>(ms) / static_cast<double>(kMsPerDay));
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime out;
    if (!TryEncodeDate(year, month, day, out)) throw EConvertError("Invalid argument to date encode");
    return out;
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
    TDateTime out;
    if (!TryEncodeTime(hour, minute, second, msec, out)) throw EConvertError("Invalid argument to time encode");
    return out;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec) {
    const TDateTime date = EncodeDate(year, month, day);
    const TDateTime time = EncodeTime(hour, minute, second, msec);
    // Before 30 Dec 1899 the day count is negative and the time still counts forward from midnight.
    return TDateTime(date.value >= 0 ? date.value + time.value : date.value - time.value);
}

DateParts DecodeDate(TDateTime dt) {
    const Stamp s = ToStamp(dt);
    return CivilFromDays(s.days + kDateDelta);
}

TimeParts DecodeTime(TDateTime dt) {
    std::int64_t ms = ToStamp(dt).msOfDay;
    TimeParts parts;
    parts.msec = static_cast<int>(ms % 1000);
    ms /= 1000;
    parts.second = static_cast<int>(ms % 60);
    ms /= 60;
    parts.minute = static_cast<int>(ms % 60);
    parts.hour = static_cast<int>(ms / 60);
    return parts;
}

int DayOfWeek(TDateTime dt) {
    // 30 Dec 1899 was a Saturday.
    const std::int64_t days = ToStamp(dt).days;
    const std::int64_t index = ((days + 6) % 7 + 7) % 7;  // 0 = Sunday
    return static_cast<int>(index) + 1;
}

TDateTime DateOf(TDateTime dt) { return TDateTime(static_cast<double>(ToStamp(dt).days)); }

TDateTime TimeOf(TDateTime dt) {
    return TDateTime(static_cast<double>(ToStamp(dt).msOfDay) / static_cast<double>(kMsPerDay));
}

TDateTime IncDay(TDateTime dt, int days) { return FromLinearMs(LinearMs(dt) + days * kMsPerDay); }

TDateTime IncMonth(TDateTime dt, int months) {
    const DateParts d = DecodeDate(dt);
    std::int64_t total = static_cast<std::int64_t>(d.year) * 12 + (d.month - 1) + months;
    const int year = static_cast<int>(total / 12);
    const int month = static_cast<int>(total % 12) + 1;
    const int day = std::min(d.day, DaysInMonth(year, month));
    const TDateTime date = EncodeDate(year, month, day);
    return FromLinearMs(LinearMs(date) + ToStamp(dt).msOfDay);
}

std::int64_t SecondsBetween(TDateTime a, TDateTime b) {
    const std::int64_t diff = LinearMs(b) - LinearMs(a);
    // Round half away from zero on whole milliseconds.
    return diff >= 0 ? (diff + 500) / 1000 : -((-diff + 500) / 1000);
}

TDateTime SystemNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    // The local time of the minute is kept: within it only the seconds move, since clocks change
    // (daylight saving, a new zone offset) on whole minutes. The reentrant conversion, since
    // std::localtime would also look the time-zone file up again on every call.
    struct Minute {
        std::time_t start = -1;
        std::tm local{};
    };
    thread_local Minute minute;
    const int second = static_cast<int>(((seconds % 60) + 60) % 60);
    std::tm local{};
    if (minute.start == seconds - second) {
        local = minute.local;
        local.tm_sec = second;
    } else {
#if defined(_WIN32)
        localtime_s(&local, &seconds);
#else
        localtime_r(&seconds, &local);
#endif
        // An offset with seconds of its own (old local mean times) is not kept.
        minute.start = local.tm_sec == second ? seconds - second : -1;
        minute.local = local;
    }
    return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                          std::min(local.tm_sec, 59), static_cast<int>(ms < 0 ? 0 : ms));
}

TDateTime Now() {
    ClockFunction clock;
    {
        std::lock_guard<std::mutex> lock(ClockMutex());
        clock = Clock();
    }
    return clock ? clock() : SystemNow();
}

TDateTime Date() { return DateOf(Now()); }

TDateTime Time() { return TimeOf(Now()); }

void SetClock(ClockFunction clock) {
    std::lock_guard<std::mutex> lock(ClockMutex());
    Clock() = std::move(clock);
}

void SetFixedNow(TDateTime moment) {
    SetClock([moment] { return moment; });
}

}  // namespace orb::fw
