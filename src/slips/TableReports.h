#pragma once
// Management reports of the restaurant's floor: the open tables, orders and customer accounts,
// the products moved between tables, and the blocked products.
#include <string>

#include "framework/ClientDataSet.h"
#include "framework/Variant.h"

namespace Orb00100 {

// The open accounts (DSCOMANDA, NRCOMANDA, NRMESA, DTHRABERMESA) in sections by the first three
// characters of DSCOMANDA: "RES"/"PKR" tables, "DLV" orders, anything else customer accounts.
// Under the numbered report when the printer has it. Ledger "RG". True once printed; any
// exception answers false and is written to the debug log.
bool ImprimeMesasAbertas(orb::fw::ClientDataSet*& unused, const std::string& counterId1, const std::string& counterId2,
                         const std::string& scheme, const std::string& serial, const std::string& reportIndex,
                         const orb::fw::Variant& openAccounts);
// The products moved between tables (NRMESA, NRMESADSCOMORIT, CDPRODUTO, NMPRODUTO,
// QTPRODCOMVEN, VRPRECCOMVEN), grouped by origin and destination. Ledger "RG".
void imprimeProdutosTransf(const std::string& counterId1, const std::string& counterId2, const std::string& scheme,
                           const std::string& serial, const std::string& reportIndex,
                           const orb::fw::Variant& transfers);
// The blocked products of the host's table (NMFILIAL and CDLOJA of its current row, then
// CDPRODUTO, CDPROTECLADO, NMPRODUTO of every row). No ledger record. Always true.
bool ImprimeProdBloq(const std::string& counterId1, const std::string& counterId2, const std::string& scheme,
                     orb::fw::ClientDataSet* products);

}  // namespace Orb00100
