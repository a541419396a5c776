#pragma once
// Spanish-language sale receipts printed as management reports of the fiscal printer, for
// installations that sell under value-added-tax exemptions, and raw text on a serial port.
#include <string>

#include "framework/ClientDataSet.h"

namespace Orb00100 {

// payments: IDTIPORECE, DSIMPFISCAL, VRMOVIVEND; kinds 5 and 7 are listed.
void ImprimeNaoFiscal(const std::string& counterId1, const std::string& counterId2, const std::string& scheme,
                      double saleTotal, const std::string& password, const std::string& saleNumber,
                      const std::string& operatorText, const std::string& note, orb::fw::ClientDataSet* payments);
void IsentoCompos(const std::string& counterId1, const std::string& counterId2, const std::string& scheme,
                  const std::string& taxedTotal, const std::string& exemptTotal, const std::string& unused1,
                  const std::string& operatorText, const std::string& unused2, const std::string& password,
                  const std::string& note, double unused3, double purchaseTotal, double change);
void IsentoSimpl(const std::string& counterId1, const std::string& counterId2, const std::string& scheme,
                 const std::string& exemptTotal, const std::string& unused1, const std::string& cashierText,
                 const std::string& unused2, const std::string& password, const std::string& note, double change);
// products: QTPRODCOMVEN, VRPRECCOMVEN, VRDESCCOMVEN, NMPRODUTO.
void ImpDebito_Consumidor(const std::string& counterId1, const std::string& counterId2, const std::string& scheme,
                          const std::string& password, const std::string& consumerName, const std::string& cashierText,
                          const std::string& note, double balanceBefore, double balanceAddition,
                          orb::fw::ClientDataSet* products);
// Writes the text to the serial port at 19200 8N1. Always answers empty; a failing step is
// written to the debug log.
std::string Formata_Bematech_MP100(const std::string& text, const std::string& port);

namespace slips {

// The cash-register text of the Spanish credit receipt, whose inputs carry no register.
inline constexpr char kSpanishCashRegister[] = "0001";
// Formata_Bematech_MP100's work: true when every byte went out.
bool SerialText(const std::string& text, const std::string& port);

}  // namespace slips

}  // namespace Orb00100
