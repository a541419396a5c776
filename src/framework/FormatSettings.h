#pragma once
// The number and date settings every formatting routine works under (Delphi's FormatSettings).
#include <string>

namespace orb::fw {

struct FormatSettings {
    char DecimalSeparator = ',';
    char ThousandSeparator = '.';
    char DateSeparator = '/';
    char TimeSeparator = ':';
    std::string ShortDateFormat = "dd/mm/yyyy";
    std::string LongDateFormat = "dd/mm/yyyy";
    std::string ShortTimeFormat = "hh:nn";
    std::string LongTimeFormat = "hh:nn:ss";
    int TwoDigitYearCenturyWindow = 50;
};

// The process-wide settings (the host's global FormatSettings).
FormatSettings& Settings();
// Back to the defaults above.
void ResetSettings();

// Swaps the settings for the lifetime of the object; for tests and the bridge.
class ScopedSettings {
public:
    explicit ScopedSettings(const FormatSettings& temporary);
    ~ScopedSettings();
    ScopedSettings(const ScopedSettings&) = delete;
    ScopedSettings& operator=(const ScopedSettings&) = delete;
private:
    FormatSettings saved_;
};

}  // namespace orb::fw
