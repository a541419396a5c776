#pragma once
// Money that enters or leaves the drawer without a sale: cash supply, withdrawal, and a
// non-fiscal receipt under one of the printer's non-fiscal totalizers.
#include <string>

namespace Orb00100 {

// Cash put into the drawer, always under the payment method "Dinheiro". An amount that is not
// above zero once rounded to the cent sends nothing and answers true. A refusal shows
// "ErroComando" after the status analysis's own message and answers false.
bool Suprimento(const std::string& unused, const std::string& scheme, double amount);
// Cash taken out. A zero amount is registered as one cent (0,01).
// Refusal as for the supply.
bool Sangria(const std::string& unused, const std::string& scheme, double amount);
// A receipt under a totalizer slot ("01".."30"); the three texts go to the printer as given.
// The status analysis's verdict, shown on a staff-operated terminal only.
bool Cupom_NFiscNVinc(const std::string& scheme, const std::string& totalizer, const std::string& amount,
                      const std::string& method);

}  // namespace Orb00100
