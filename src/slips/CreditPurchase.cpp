// The credit purchase receipts on the fiscal printer.
#include "slips/CreditPurchase.h"

#include "driver/Globals.h"
#include "external/hostlib/HostLib.h"
#include "framework/DateFormat.h"
#include "framework/DateTime.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "nonfiscal/CashMovements.h"
#include "nonfiscal/Hardware.h"
#include "nonfiscal/Ledger.h"
#include "nonfiscal/ManagementReports.h"
#include "queries/Queries.h"
#include "slips/AccountText.h"
#include "slips/CreditReceiptPrinter.h"
#include "slips/SlipText.h"

namespace Orb00100 {

namespace {

using namespace slips;
using orb::hostlib::Centraliza;

std::string PaymentMethod(orb::fw::ClientDataSet& payments) {
    const std::string kind = orb::fw::Trim(payments.FieldByName("IDTIPORECE").AsString());
    const std::string original = payments.FieldByName("NMTIPORECEORIG").AsString();
    const bool useOriginal = (kind == "1" || kind == "2") && !original.empty();
    return orb::fw::Copy(useOriginal ? original : payments.FieldByName("NMTIPORECE").AsString(), 1, 16);
}

}  // namespace

bool Compr_CredPessoal(const std::string& totalizer, const std::string& serial, const std::string& /*unused1*/,
                       const std::string& branch, const std::string& cashRegister, const std::string& scheme,
                       std::string& couponNumber, std::string& /*unused2*/, orb::fw::ClientDataSet* payments,
                       double previousBalance, const std::string& consumerName, const std::string& depositNumber,
                       const std::string&, const std::string&, const std::string&, const std::string&,
                       const std::string&, const std::string&, const std::string&, const std::string&,
                       const std::string&, const std::string&, const std::string&, const std::string&,
                       const std::string&, bool, const std::string& familyName, const std::string&,
                       const std::string& ledgerReference) {
    orb::fw::ClientDataSet& rows = Required(payments, "payments");
    double sum = 0;
    for (rows.First(); !rows.Eof(); rows.Next())
        sum = orb::fw::DecimalAdd(sum, rows.FieldByName("VRMOVIVEND").AsFloat());
    couponNumber = Nr_Cupom("", scheme);
    const bool opened = Relatorio_Gerencial_Imp(scheme, branch, cashRegister, "", "");
    if (opened) {
        GravaDocumentosNaoFiscais(serial, scheme, "RG", "", "");
        const orb::fw::TDateTime now = orb::fw::Now();
        const std::string receipt = Ln() + Ln(Centraliza(Dashes())) + Ln(Centraliza(Msg("ComprCredito"))) +
                                    Ln(Centraliza(Dashes())) + Ln48(Msg("FILIAL") + ": " + branch) +
                                    Ln48(Msg("Caixa") + ": " + cashRegister) +
                                    Ln48(Msg("DATA1") + " " + orb::fw::DateToStr(now) + " " + orb::fw::TimeToStr(now)) +
                                    Ln(Spaces(kLineWidth)) + Ln48(Msg("Nr_Deposito") + depositNumber) +
                                    CreditReceiptLines(consumerName, familyName, sum, previousBalance);
        // The second copy is not worth printing when the first was refused.
        if (SendBlock(scheme, receipt + Ln() + Ln(Centraliza(Dashes())) + "\n\n\n")) {
            Guilhotina(scheme, 0);
            SendBlock(scheme, receipt + "\n\n\n\n\n");
        }
    }
    FechRelatGerenc(scheme, boNUtilTaa, false);
    if (!opened) return false;
    // The money was taken whatever the receipt's fate: every payment is registered.
    bool verdict = false;
    for (rows.First(); !rows.Eof(); rows.Next())
        verdict =
            Cupom_NFiscNVinc(scheme, totalizer, orb::fw::FormatFloat("#0.00", rows.FieldByName("VRMOVIVEND").AsFloat()),
                             PaymentMethod(rows));
    if (!rows.IsEmpty()) GravaDocumentosNaoFiscais(serial, scheme, "CN", ledgerReference, "");
    return verdict;
}

bool Cancela_Cred_Pessoal(const std::string& totalizer, const std::string& serial, const std::string& counterId1,
                          const std::string& counterId2, const std::string& scheme, std::string& couponNumber,
                          const std::string& depositNumber, const std::string& client, const std::string& consumer,
                          const std::string& family, const std::string& paymentMethod, double amount,
                          double finalBalance, const std::string& /*unused*/) {
    couponNumber = Nr_Cupom("", scheme);
    if (!Relatorio_Gerencial_Imp(scheme, counterId1, counterId2, "", "")) return false;
    const std::string block = Ln(Centraliza(Msg("Canc_ComprCredito"))) + Ln(Dashes()) + Ln() +
                              Ln48(Msg("Canc_Deposito") + ": " + depositNumber) + Ln(Spaces(kLineWidth)) +
                              Ln48(Msg("CDCLIE") + client) + Ln48(Msg("Consumidor") + ": " + consumer) +
                              Ln48(Msg("NmFami") + family) + Ln48(Msg("VrCupom") + Money(amount)) +
                              Ln48(Msg("Sald_Cons") + Money(finalBalance));
    SendBlock(scheme, block);
    if (FechRelatGerenc(scheme, true, false)) GravaDocumentosNaoFiscais(serial, scheme, "RG", "", "");
    // The reversal of the money stands on its own: it is registered whatever the report gave.
    const bool verdict = Cupom_NFiscNVinc(scheme, totalizer, orb::fw::FormatFloat("#0.00", amount), paymentMethod);
    if (verdict) GravaDocumentosNaoFiscais(serial, scheme, "CC", "", "");
    return verdict;
}

}  // namespace Orb00100
