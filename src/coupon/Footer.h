#pragma once
// The free footer printed under the payments of a fiscal coupon: the pieces the closing builds
// and their composition under a line budget.
#include <string>

#include "framework/ClientDataSet.h"
#include "framework/StringList.h"

namespace Orb00100 {

// The footer text, composed under a budget of maxLines lines of 48 columns. footerMode is "1" or
// "2"; balanceMode "0", "1" or "2"; layout "1" (agreement) or "2" (standard). Lines of the first
// text, the note, tax and state lines, and the whole agreement layout are written whatever the
// budget; the other lines are dropped once it is used up. The balance tables are accepted for
// the host's sake and not read.
std::string Formata_rodape(int maxLines, const std::string& footerMode, const std::string& firstText,
                           const std::string& noteLine, const std::string& taxLine, const std::string& stateLine,
                           const std::string& code1, const std::string& name1, const std::string& code2,
                           const std::string& name2, const std::string& operatorCode, const std::string& operatorName,
                           const std::string& tablePrefix, const std::string& passwordLine, const std::string& unused1,
                           const std::string& unused2, const std::string& unused3, const std::string& freeText,
                           const std::string& printerNumber, const std::string& cer, const std::string& coo,
                           const std::string& balanceMode, const std::string& layout, double balance, double subsidised,
                           double unusedAmount, orb::fw::ClientDataSet* balances1, orb::fw::ClientDataSet* balances2,
                           orb::fw::ClientDataSet* balances3, bool useLines, orb::fw::StringList* lines,
                           const std::string& loyaltyLine, const std::string& centredText,
                           const std::string& balanceBlock, const std::string& dailyConsumption);

}  // namespace Orb00100
