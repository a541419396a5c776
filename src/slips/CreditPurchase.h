#pragma once
// Credit bought into a consumer's account and its cancellation: a management report on the
// fiscal printer, then the non-fiscal receipts that register the money under the
// personal-credit totalizer.
#include <string>

#include "framework/ClientDataSet.h"

namespace Orb00100 {

// payments: VRMOVIVEND, IDTIPORECE, NMTIPORECE, NMTIPORECEORIG. Prints two copies of the receipt,
// registers each payment under the totalizer and records "CN" once with the ledger reference.
// Answers the verdict of the last registration (false when none was made).
bool Compr_CredPessoal(const std::string& totalizer, const std::string& serial, const std::string& unused1,
                       const std::string& branch, const std::string& cashRegister, const std::string& scheme,
                       std::string& couponNumber, std::string& unused2, orb::fw::ClientDataSet* payments,
                       double previousBalance, const std::string& consumerName, const std::string& depositNumber,
                       const std::string& unused3, const std::string& unused4, const std::string& unused5,
                       const std::string& unused6, const std::string& unused7, const std::string& unused8,
                       const std::string& unused9, const std::string& unused10, const std::string& unused11,
                       const std::string& unused12, const std::string& unused13, const std::string& unused14,
                       const std::string& unused15, bool unused16, const std::string& familyName,
                       const std::string& unused17, const std::string& ledgerReference);
// Prints the cancellation, then registers the amount under the totalizer ("CC" when accepted).
// False at once when the report does not open.
bool Cancela_Cred_Pessoal(const std::string& totalizer, const std::string& serial, const std::string& counterId1,
                          const std::string& counterId2, const std::string& scheme, std::string& couponNumber,
                          const std::string& depositNumber, const std::string& client, const std::string& consumer,
                          const std::string& family, const std::string& paymentMethod, double amount,
                          double finalBalance, const std::string& unused);

}  // namespace Orb00100
