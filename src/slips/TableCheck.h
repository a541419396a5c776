#pragma once
// The table check ("conferência de mesa") on the non-fiscal receipt printer: the products with
// discount, minimum consumption, service charge, cover charge and the per-person split.
#include <string>

#include "framework/Variant.h"

namespace Orb00100 {

// Prints the check of the products (a data packet with CDARVPROD, NMPRODUTO, QTPRODCOMVEN,
// VRPRECCOMVEN). When no printer answers on the port the operator is told "ERRO_IMP" and the
// answer is false, with nothing printed. Exceptions reach the host; the port is closed first.
bool Parcial_BematechNFiscal(const std::string& port, const std::string& orderPad, const std::string& table,
                             const std::string& waiter, const std::string& unused, const orb::fw::Variant& products,
                             double discount, double minimumConsumption, double coverCharge, double serviceCharge,
                             double persons, double total);

}  // namespace Orb00100
