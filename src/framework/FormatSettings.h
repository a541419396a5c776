#pragma once
// The number and date settings every formatting routine works under (Delphi's FormatSettings).
#include <array>
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
    // Currency amounts (FloatToStrCurrency): the symbol and Windows' placement codes
    // (CurrencyFormat 0..3, NegCurrFormat 0..15); the defaults write "R$ 1.234,50" and "-R$ 1.234,50".
    std::string CurrencyString = "R$";
    int CurrencyFormat = 2;
    int NegCurrFormat = 9;
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    // Names for the "mmm", "mmmm", "ddd" and "dddd" date specifiers, code page 1252 (Sunday first).
    std::array<std::string, 12> ShortMonthNames{"jan", "fev", "mar", "abr", "mai", "jun",
                                                "jul", "ago", "set", "out", "nov", "dez"};
    std::array<std::string, 12> LongMonthNames{"janeiro",
                                               "fevereiro",
                                               "mar\xE7"
                                               "o",
                                               "abril",
                                               "maio",
                                               "junho",
                                               "julho",
                                               "agosto",
                                               "setembro",
                                               "outubro",
                                               "novembro",
                                               "dezembro"};
    std::array<std::string, 7> ShortDayNames{"dom",
                                             "seg",
                                             "ter",
                                             "qua",
                                             "qui",
                                             "sex",
                                             "s\xE1"
                                             "b"};
    std::array<std::string, 7> LongDayNames{"domingo",
                                            "segunda-feira",
                                            "ter\xE7"
                                            "a-feira",
                                            "quarta-feira",
                                            "quinta-feira",
                                            "sexta-feira",
                                            "s\xE1"
                                            "bado"};

    bool operator==(const FormatSettings&) const = default;
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
