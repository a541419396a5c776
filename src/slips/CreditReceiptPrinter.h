#pragma once
// The credit purchase receipt on a non-fiscal printer: through the receipt printer's library,
// or, for the model attached straight to a serial port, as raw text on that port.
#include <string>

#include "framework/ClientDataSet.h"

namespace Orb00100 {

// payments: VRMOVIVEND. Prints the receipt copies times. False, with nothing printed, when no
// printer is attached to the port or it does not answer.
bool Compr_Cred_Bematech_MP100(std::string& unused1, orb::fw::ClientDataSet* payments, double previousBalance,
                               const std::string& consumerName, const std::string& depositNumber,
                               const std::string& familyName, const std::string& copies, const std::string& unused2,
                               const std::string& port, const std::string& unused3, bool unused4);
// The layout follows the country code: "01" Brazilian with the header lines, "02" Spanish, any
// other the plain receipt. Printer model "7" takes raw text on the serial port; the others the
// receipt printer's library, with the model's control string after the copies.
bool Compr_Cred_Bematech_NFISC(std::string& unused1, orb::fw::ClientDataSet* payments, double previousBalance,
                               const std::string& consumerName, const std::string& depositNumber,
                               const std::string& rechargeText, const std::string& copies,
                               const std::string& countryCode, const std::string& printerModel, const std::string& port,
                               const std::string& ticketNumber, const std::string& header1, const std::string& header2,
                               const std::string& header3, const std::string& header4,
                               const std::string& registrationNumber, const std::string& serial,
                               const std::string& footerText, bool unused2);

namespace slips {

// The consumer, family, value and final-balance lines of a credit purchase.
std::string CreditReceiptLines(const std::string& consumerName, const std::string& familyName, double sum,
                               double previousBalance);

}  // namespace slips

}  // namespace Orb00100
