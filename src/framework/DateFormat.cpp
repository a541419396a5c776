#include "framework/DateFormat.h"

#include <cctype>

#include "framework/Exceptions.h"
#include "framework/FormatSettings.h"
#include "framework/NumberFormat.h"

namespace orb::fw {

namespace {

char Up(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool StartsWithNoCase(std::string_view s, std::size_t at, std::string_view word) {
    if (s.size() - at < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (Up(s[at + i]) != Up(word[i])) return false;
    }
    return true;
}

std::string Padded(int value, int width) { return IntToStrPadded(value, width); }

class DateWriter {
public:
    DateWriter(TDateTime value, std::string& out)
        : value_(value), date_(DecodeDate(value)), time_(DecodeTime(value)), out_(out) {}

    void Write(std::string_view picture, int depth) {
        // A format that names itself (through "c", "ddddd" or "t") cannot loop for ever.
        if (depth > 2) return;
        char lastToken = ' ';
        std::size_t i = 0;
        while (i < picture.size()) {
            const char starter = picture[i];
            char token = Up(starter);
            if (token >= 'A' && token <= 'Z') {
                if (token == 'M' && lastToken == 'H') token = 'N';
                lastToken = token;
            }
            std::size_t count = 1;
            auto run = [&](char letter) {
                while (i + count < picture.size() && Up(picture[i + count]) == letter) ++count;
            };
            switch (token) {
                case 'Y':
                    run('Y');
                    out_ += count <= 2 ? Padded(date_.year % 100, 2) : Padded(date_.year, 4);
                    break;
                case 'M':
                    run('M');
                    if (count <= 2)
                        out_ += Padded(date_.month, static_cast<int>(count));
                    else if (date_.month >= 1 && count == 3)
                        out_ += Settings().ShortMonthNames[date_.month - 1];
                    else if (date_.month >= 1)
                        out_ += Settings().LongMonthNames[date_.month - 1];
                    break;
                case 'D':
                    run('D');
                    if (count <= 2)
                        out_ += Padded(date_.day, static_cast<int>(count));
                    else if (count == 3)
                        out_ += Settings().ShortDayNames[DayOfWeek(value_) - 1];
                    else if (count == 4)
                        out_ += Settings().LongDayNames[DayOfWeek(value_) - 1];
                    else if (count == 5)
                        Write(Settings().ShortDateFormat, depth + 1);
                    else
                        Write(Settings().LongDateFormat, depth + 1);
                    break;
                case 'H': {
                    run('H');
                    int hour = time_.hour;
                    if (TwelveHour(picture, i + count)) {
                        hour %= 12;
                        if (hour == 0) hour = 12;
                    }
                    out_ += Padded(hour, count >= 2 ? 2 : 1);
                    break;
                }
                case 'N':
                    // 'M' becomes a minute after an hour; its run is made of M's, a real 'N' run of N's.
                    run(Up(starter));
                    out_ += Padded(time_.minute, count >= 2 ? 2 : 1);
                    break;
                case 'S':
                    run('S');
                    out_ += Padded(time_.second, count >= 2 ? 2 : 1);
                    break;
                case 'Z':
                    run('Z');
                    out_ += Padded(time_.msec, count >= 3 ? 3 : 1);
                    break;
                case 'T':
                    run('T');
                    Write(count == 1 ? Settings().ShortTimeFormat : Settings().LongTimeFormat, depth + 1);
                    break;
                case 'C':
                    Write(Settings().ShortDateFormat, depth + 1);
                    if (time_.hour || time_.minute || time_.second || time_.msec) {
                        out_.push_back(' ');
                        Write(Settings().LongTimeFormat, depth + 1);
                    }
                    break;
                case 'A':
                    if (StartsWithNoCase(picture, i, "am/pm")) {
                        const std::string_view word = time_.hour < 12 ? picture.substr(i, 2) : picture.substr(i + 3, 2);
                        out_ += word;
                        count = 5;
                    } else if (StartsWithNoCase(picture, i, "a/p")) {
                        out_.push_back(time_.hour < 12 ? picture[i] : picture[i + 2]);
                        count = 3;
                    } else if (StartsWithNoCase(picture, i, "ampm")) {
                        out_ += time_.hour < 12 ? Settings().TimeAMString : Settings().TimePMString;
                        count = 4;
                    } else {
                        out_.push_back(starter);
                    }
                    break;
                case '/':
                    out_.push_back(Settings().DateSeparator);
                    break;
                case ':':
                    out_.push_back(Settings().TimeSeparator);
                    break;
                case '"':
                case '\'': {
                    const std::size_t end = picture.find(starter, i + 1);
                    const std::size_t stop = end == std::string_view::npos ? picture.size() : end;
                    out_.append(picture.substr(i + 1, stop - i - 1));
                    count = stop - i + (end == std::string_view::npos ? 0 : 1);
                    break;
                }
                default:
                    out_.push_back(starter);
                    break;
            }
            i += count;
        }
    }

private:
    // An am/pm specifier later in the picture turns the hour into a 12-hour clock.
    static bool TwelveHour(std::string_view picture, std::size_t from) {
        char quote = 0;
        for (std::size_t j = from; j < picture.size(); ++j) {
            const char c = picture[j];
            if (quote) {
                if (c == quote) quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (StartsWithNoCase(picture, j, "am/pm") || StartsWithNoCase(picture, j, "a/p") ||
                       StartsWithNoCase(picture, j, "ampm")) {
                return true;
            }
        }
        return false;
    }

    TDateTime value_;
    DateParts date_;
    TimeParts time_;
    std::string& out_;
};

// ---- Parsing ---------------------------------------------------------------------------------

enum class DateOrder { DMY, MDY, YMD };

DateOrder OrderOf(std::string_view format) {
    for (char c : format) {
        switch (Up(c)) {
            case 'D':
                return DateOrder::DMY;
            case 'M':
                return DateOrder::MDY;
            case 'Y':
                return DateOrder::YMD;
            default:
                break;
        }
    }
    return DateOrder::DMY;
}

struct Scanner {
    std::string_view s;
    std::size_t pos = 0;

    void SkipBlanks() {
        while (pos < s.size() && s[pos] == ' ') ++pos;
    }
    bool AtEnd() {
        SkipBlanks();
        return pos >= s.size();
    }
    bool Char(char c) {
        SkipBlanks();
        if (pos < s.size() && s[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    }
    // Up to 9 digits; digits gets the count read.
    bool Number(int& value, int& digits) {
        SkipBlanks();
        const std::size_t start = pos;
        value = 0;
        while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9' && pos - start < 9) {
            value = value * 10 + (s[pos] - '0');
            ++pos;
        }
        digits = static_cast<int>(pos - start);
        return digits > 0 && !(pos < s.size() && s[pos] >= '0' && s[pos] <= '9');
    }
};

bool ScanDate(Scanner& sc, TDateTime& out) {
    const FormatSettings& fs = Settings();
    int n1 = 0, n2 = 0, n3 = 0, l1 = 0, l2 = 0, l3 = 0;
    if (!sc.Number(n1, l1) || !sc.Char(fs.DateSeparator) || !sc.Number(n2, l2)) return false;
    const int currentYear = DecodeDate(Date()).year;
    int year = 0, month = 0, day = 0, yearDigits = 0;
    const std::size_t save = sc.pos;
    const bool three = sc.Char(fs.DateSeparator) && sc.Number(n3, l3);
    if (!three) sc.pos = save;
    const DateOrder order = OrderOf(fs.ShortDateFormat);
    if (three) {
        switch (order) {
            case DateOrder::DMY:
                day = n1;
                month = n2;
                year = n3;
                yearDigits = l3;
                break;
            case DateOrder::MDY:
                month = n1;
                day = n2;
                year = n3;
                yearDigits = l3;
                break;
            case DateOrder::YMD:
                year = n1;
                month = n2;
                day = n3;
                yearDigits = l1;
                break;
        }
    } else {
        year = currentYear;
        yearDigits = 4;
        if (order == DateOrder::MDY) {
            month = n1;
            day = n2;
        } else if (order == DateOrder::DMY) {
            day = n1;
            month = n2;
        } else {
            month = n1;
            day = n2;
        }
    }
    if (year <= 99 && yearDigits <= 2) {
        // Two-digit years fall in the window of the hundred years starting
        // TwoDigitYearCenturyWindow years before the current year.
        const int base = currentYear - fs.TwoDigitYearCenturyWindow;
        year += base / 100 * 100;
        if (fs.TwoDigitYearCenturyWindow > 0 && year < base) year += 100;
    }
    sc.Char(fs.DateSeparator);  // a trailing separator is tolerated
    return TryEncodeDate(year, month, day, out);
}

bool ScanAmPm(Scanner& sc, int& hour) {
    sc.SkipBlanks();
    const std::string_view rest = sc.s.substr(sc.pos);
    auto match = [&](std::string_view word, bool pm) {
        if (word.empty() || !StartsWithNoCase(rest, 0, word)) return false;
        sc.pos += word.size();
        if (hour > 12 || hour == 0)
            hour = -1;
        else if (pm)
            hour = hour % 12 + 12;
        else
            hour %= 12;
        return true;
    };
    return match(Settings().TimeAMString, false) || match(Settings().TimePMString, true) || match("AM", false) ||
           match("PM", true) || match("A", false) || match("P", true);
}

bool ScanTime(Scanner& sc, TDateTime& out) {
    const FormatSettings& fs = Settings();
    int hour = 0, minute = 0, second = 0, msec = 0, digits = 0;
    if (!sc.Number(hour, digits)) return false;
    bool minutes = false;
    if (sc.Char(fs.TimeSeparator)) {
        if (!sc.Number(minute, digits)) return false;
        minutes = true;
        if (sc.Char(fs.TimeSeparator)) {
            if (!sc.Number(second, digits)) return false;
            if (sc.Char(fs.DecimalSeparator)) {
                if (!sc.Number(msec, digits)) return false;
            }
        }
    }
    const bool ampm = ScanAmPm(sc, hour);
    if (hour < 0) return false;
    if (!minutes && !ampm) return false;
    return TryEncodeTime(hour, minute, second, msec, out);
}

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

}  // namespace

bool TryStrToTime(std::string_view text, TDateTime& out) {
    Scanner sc{text};
    TDateTime time;
    if (!ScanTime(sc, time) || !sc.AtEnd()) return false;
    out = time;
    return true;
}

std::string FormatDateTime(std::string_view picture, TDateTime value) {
    std::string out;
    DateWriter(value, out).Write(picture.empty() ? std::string_view("c") : picture, 0);
    return out;
}

std::string DateToStr(TDateTime value) { return FormatDateTime(Settings().ShortDateFormat, value); }

std::string TimeToStr(TDateTime value) { return FormatDateTime(Settings().LongTimeFormat, value); }

std::string DateTimeToStr(TDateTime value) { return FormatDateTime("c", value); }

bool TryStrToDate(std::string_view text, TDateTime& out) {
    Scanner sc{text};
    TDateTime date;
    if (!ScanDate(sc, date) || !sc.AtEnd()) return false;
    out = date;
    return true;
}

bool TryStrToDateTime(std::string_view text, TDateTime& out) {
    Scanner sc{text};
    TDateTime date, time;
    if (ScanDate(sc, date)) {
        if (sc.AtEnd()) {
            out = date;
            return true;
        }
        if (ScanTime(sc, time) && sc.AtEnd()) {
            out = TDateTime(date.value >= 0 ? date.value + time.value : date.value - time.value);
            return true;
        }
    }
    return TryStrToTime(text, out);
}

TDateTime StrToDate(std::string_view text) {
    TDateTime out;
    if (!TryStrToDate(text, out)) throw EConvertError(Quoted(text) + " is not a valid date");
    return out;
}

TDateTime StrToTime(std::string_view text) {
    TDateTime out;
    if (!TryStrToTime(text, out)) throw EConvertError(Quoted(text) + " is not a valid time");
    return out;
}

TDateTime StrToDateTime(std::string_view text) {
    TDateTime out;
    if (!TryStrToDateTime(text, out)) throw EConvertError(Quoted(text) + " is not a valid date and time");
    return out;
}

}  // namespace orb::fw
