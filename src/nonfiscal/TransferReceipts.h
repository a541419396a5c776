#pragma once
// The transfer operator's receipts: each transaction's first and second copies printed in one
// linked slip (or management report), the paper cut between copies, and everything printed again
// inside a management report when the printer stops mid-way and the operator asks for it.
#include <string>
#include <string_view>
#include <vector>

#include "framework/StringList.h"

namespace Orb00100 {

// Item i of each list is one whole receipt copy of transaction i; a list not given counts as
// empty. documentMode 2 prints in a management report, any other value in a linked slip for the
// payment method (cut to 16 characters; a report when it is empty). The first copies are
// printed only when firstCopiesFlag is "N"; hostKind "APC" or "TAA" (self-service) drops the
// second copies. True when the receipts were printed and the document closed.
bool ImprimeTef(const std::string& serial, const std::string& counterId1, const std::string& counterId2,
                const std::string& scheme, orb::fw::StringList* firstCopies, orb::fw::StringList* secondCopies,
                orb::fw::StringList* unused1, orb::fw::StringList* unused2, const std::string& unused3,
                const std::string& paymentMethod, const std::string& unused4, double unused5, double unused6,
                int documentMode, const std::string& firstCopiesFlag, const std::string& hostKind);

namespace nonfiscal {

// A receipt copy in the pieces it is sent in. Each piece takes, four times over, the text up to
// and including the next line feed as it stands, then the text up to the next backslash with a
// line feed in the backslash's place. So only the backslashes that the second step reaches
// break lines; one that comes before the next line feed is printed as it stands. The copy is
// expected to end with a line feed (a rest without one is taken whole).
std::vector<std::string> ReceiptPieces(std::string_view copy);

}  // namespace nonfiscal

}  // namespace Orb00100
