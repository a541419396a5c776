#pragma once
// The ledger of non-fiscal documents: every document the printer issues outside a sale is handed
// to the host together with the printer counters that identify it.
#include <string>

namespace Orb00100 {

// Document types: "NC" cancelled receipt, "LX" X reading, "MF" fiscal-memory reading, "RZ"
// Z reduction, "CN" non-fiscal receipt, "CM" table check, "RV", "RG" management report, "CC"
// credit or debit slip; any other code is recorded with the coupon number and the non-fiscal
// operations counter. Never raises: a failure is shown to the operator and nothing is recorded.
void GravaDocumentosNaoFiscais(const std::string& serial, const std::string& scheme, const std::string& docType,
                               const std::string& freeField1, const std::string& freeField2);

}  // namespace Orb00100
