// Text helpers shared with the coupon and reduction code.
#include "framework/FormatSettings.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "queries/Queries.h"

namespace Orb00100 {

double GetValue(const std::string& text) {
    using namespace orb::fw;
    std::string digits = StringReplaceAll(StringReplaceAll(Trim(text), ",", ""), ".", "");
    // The last two digits are the hundredths even when there is only one digit.
    if (digits.size() == 1) digits.insert(0, "0");
    const std::size_t split = digits.size() >= 2 ? digits.size() - 2 : 0;
    return StrToFloat(digits.substr(0, split) + Settings().DecimalSeparator + digits.substr(split));
}

std::string FormataCNPJ(const std::string& cnpj) {
    using orb::fw::StringReplaceAll;
    return StringReplaceAll(StringReplaceAll(StringReplaceAll(cnpj, ".", ""), "/", ""), "-", "");
}

}  // namespace Orb00100
