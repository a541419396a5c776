#pragma once
// Delphi-compatible date and time formatting and parsing, under Settings().
#include <string>
#include <string_view>

#include "framework/DateTime.h"

namespace orb::fw {

// Specifiers: d dd ddd dddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz am/pm ampm c, '/' and ':'
// (the settings' separators), quoted literals. "m" right after an hour specifier means minutes.
std::string FormatDateTime(std::string_view picture, TDateTime value);
std::string DateToStr(TDateTime value);      // short date format
std::string TimeToStr(TDateTime value);      // long time format
std::string DateTimeToStr(TDateTime value);  // short date, then long time unless the time is 0

// Parse under the short date format (day, month, year order taken from it) and the time
// separator. Raise EConvertError: "'xx' is not a valid date" / "... valid time" / "... valid date and time".
TDateTime StrToDate(std::string_view text);
TDateTime StrToTime(std::string_view text);
TDateTime StrToDateTime(std::string_view text);
bool TryStrToDate(std::string_view text, TDateTime& out);
bool TryStrToDateTime(std::string_view text, TDateTime& out);
bool TryStrToTime(std::string_view text, TDateTime& out);

}  // namespace orb::fw
