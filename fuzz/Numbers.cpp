// The number and date parsers the host's texts go through, under both decimal separators.
#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/DateFormat.h"
#include "framework/FormatSettings.h"
#include "framework/NumberFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orb::fw;
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const char separator : {',', '.'}) {
        Settings().DecimalSeparator = separator;
        double number = 0;
        if (TryStrToFloat(text, number)) FormatFloat("#,##0.00", number);
        TDateTime moment;
        TryStrToDateTime(text, moment);
        try {
            StrToInt(text);
        } catch (const std::exception&) {
        }
        try {
            FormatFloat(text, 1234.5);  // the text as a picture
        } catch (const std::exception&) {
        }
    }
    ResetSettings();
    return 0;
}
