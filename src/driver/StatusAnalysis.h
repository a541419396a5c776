#pragma once
// Every vendor return code and the printer's status bytes become one verdict, a debug-log line
// per problem and a catalogued message, shown or collected in stMensagemTaa.
#include <span>
#include <string>
#include <string_view>

#include "framework/Variant.h"

namespace Orb00100 {

bool AnalisaRetorno(const std::string& scheme, int returnCode, bool show, bool cancelOpenCoupon, bool warnLowPaper);
bool ImpressoraOK(const std::string& scheme, bool show, bool cancelOpenCoupon, bool warnLowPaper);
bool EnviaComando(const std::string& scheme, const std::string& command, std::span<const std::string> arguments,
                  bool show, bool spare);
std::string RetornoImpFiscal(const std::string& variable, bool trim);

}  // namespace Orb00100
