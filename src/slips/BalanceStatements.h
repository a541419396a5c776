#pragma once
// Consumer-account balances as management reports: the common heading, the balance of one
// consumer's family groups or debit account, a free statement text, the consumers with a
// negative balance by consumer type, and the list of family balances.
#include <string>

#include "framework/ClientDataSet.h"

namespace Orb00100 {

// Opens the report and prints the heading; the report stays open for ImpSaldo, ImpSaldoDeb or
// Extrato. False when the report did not open or on any exception.
bool Cabecalho(const std::string& counterId1, const std::string& scheme, const std::string& title,
               const std::string& cashRegister, const std::string& unused1, const std::string& unused2);
// families: NMFAMILISALD, SALDOFAM. Every row and the total are printed, in as many pieces as
// they take. True when everything printed and the report closed.
bool ImpSaldo(const std::string& scheme, orb::fw::ClientDataSet* families, const std::string& consumerCode,
              const std::string& consumerName);
// consumer: VRSALDOCONS of the current row.
bool ImpSaldoDeb(const std::string& scheme, orb::fw::ClientDataSet* consumer, const std::string& consumerCode,
                 const std::string& consumerName);
void Extrato(const std::string& text, const std::string& scheme);
// types: CDTIPOCONS, NMTIPOCONS; consumers: CDTIPOCONS, NMCONSUMIDOR, SALDONEGATIVO. The consumers'
// filter is restored afterwards. False, with no report opened, when no type has consumers.
bool SaldoNegativo(const std::string& counterId1, const std::string& scheme, orb::fw::ClientDataSet* types,
                   orb::fw::ClientDataSet* consumers, const std::string& title, const std::string& cashRegister,
                   const std::string& unused1, const std::string& unused2);
// families: NMFAMILISALD, VRSALDCONFAM; families at 0 are left out. False on any exception.
bool Saldo_CredPessoal(const std::string& counterId1, const std::string& counterId2, const std::string& scheme,
                       const std::string& title, orb::fw::ClientDataSet* families);

}  // namespace Orb00100
