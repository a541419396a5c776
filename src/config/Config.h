#pragma once
// The printer's configuration tables as the host sees them: the slots of the non-fiscal
// totalizers and management-report titles, the tax-rate codes and the payment methods, read
// from the printer, reconciled with the host's names and programmed where missing.
#include <string>

#include "framework/ClientDataSet.h"

namespace Orb00100 {

// ---- Non-fiscal totalizers and report titles -----------------------------------------------
// The slot numbers ("01".."30") of the voucher, consumer-sale, credit-purchase, credit-
// cancellation and report totalizers, found on the printer or programmed into its first free
// slots. A value passed in stands unless the printer's list names that totalizer, and is never
// programmed. A slot the printer refuses to program comes back empty. The table is not used.
void CarregaTotalizador(std::string& cvEmitido, std::string& vendaCons, std::string& compraCred, std::string& cancCred,
                        std::string& relatorio, const std::string& scheme, int model, orb::fw::ClientDataSet*& unused);
// The slot numbers of the six management-report titles (payment means, identification,
// configuration, table transfers, table check, open tables); all empty on the models without
// a detail memory, and for a title neither found nor programmed.
void CarregaRelatorioGer(std::string& meiosPgto, std::string& identPafEcf, std::string& paramConfig,
                         std::string& transMesa, std::string& confMesa, std::string& mesasAbertas,
                         const std::string& scheme, int model);
// Partial totalizers cannot be named on these printers: nothing is sent and the answer is false.
bool Nomeia_TotParcial_Bematech(const std::string& name, const std::string& index, const std::string& scheme,
                                const std::string& spare, bool show, bool spareFlag);

// ---- Tax rates -----------------------------------------------------------------------------
// The host's table receives the rates table: one row per programmed rate (code "01".., value,
// "T" or "S"), then the fixed rows "NN", "II" and "FF". Raises when no table is passed.
void CarregaAliquota(const std::string& scheme, orb::fw::ClientDataSet*& table);
// True when the printer answered the service-tax rate list.
bool Retorno_Aliquotas_Imp(const std::string& scheme);

// ---- Payment methods -----------------------------------------------------------------------
// Reconciles the host's payment types with the printer's payment methods (see PaymentMethods.cpp).
// The table is left filtered to the payment buttons and positioned past its last row. Raises
// when no table is passed.
void CarregaRecebimento(const std::string& unused, const std::string& scheme, int model,
                        orb::fw::ClientDataSet*& table);
// Programs the first 16 characters of name as a payment method; the status analysis's verdict.
bool Config_FormaPg(const std::string& scheme, const std::string& name, bool show, bool cancelOpenCoupon);

}  // namespace Orb00100
