#pragma once
// The till's closing: the withdrawal receipts (two copies, signed by the supervisor and by the
// operator), the closing report that sets sales and credit purchases against the cash
// movements, and the end-of-day questions with the general closing report.
#include <string>

#include "framework/ClientDataSet.h"
#include "framework/DateTime.h"

namespace Orb00100 {

// Tables: closingAmounts (NMTIPORECE, NRENVELOPE, VRFECHAINF, VRFECHADIG), staff (CDSUPERVISOR,
// NMSUPERVISOR, CDOPERADOR, NMOPERADOR), dayMovements and openingMovements (IDTIPOREG,
// NMTIPORECE, VRSAIDA), openingSales and daySales (VRTOTAL, also the product reports' rows),
// creditPurchases (VRCARGACREDITO of its current row).
//
// withdrawalOnly: the two receipt copies with the typed amounts and nothing else; the answer is
// then true when the report opened and every piece and the close were accepted. Otherwise the
// answer is true only when the operator chose to reopen the till. firstDocument receives the
// number of the first document printed when it is blank. tillClosed comes back true at the end
// of a till closing (not with keepTables).
bool GeraReciboSangria(
    const std::string& unused1, const std::string& serial, const std::string& counterId1, const std::string& counterId2,
    const std::string& unused2, int unused3, std::string& firstDocument, orb::fw::ClientDataSet* closingAmounts,
    orb::fw::ClientDataSet* withdrawals, orb::fw::ClientDataSet* openingSales, orb::fw::ClientDataSet* staff,
    orb::fw::ClientDataSet* dayMovements, orb::fw::ClientDataSet* openingMovements, orb::fw::ClientDataSet* daySales,
    orb::fw::ClientDataSet* creditPurchases, orb::fw::TDateTime unused4, bool printReceipts, bool reductionAllowed,
    bool unused5, orb::fw::ClientDataSet*& unused6, orb::fw::ClientDataSet*& unused7, orb::fw::ClientDataSet*& unused8,
    orb::fw::ClientDataSet*& unused9, bool& tillClosed, orb::fw::ClientDataSet* paymentTypes,
    const std::string& productConfirmMode, const std::string& productGrouped, const std::string& xReading,
    const std::string& envelopeHeading, const std::string& scheme, bool withdrawalOnly, bool keepTables,
    bool reductionConfirmed, const std::string& reason, const std::string& remark);

}  // namespace Orb00100
