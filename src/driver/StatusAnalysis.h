#pragma once
// Every vendor return code and the printer's status bytes become one verdict, a debug-log line
// per problem and a catalogued message, shown or collected in stMensagemTaa.
#include <string>
#include <string_view>

#include "framework/Variant.h"

namespace Orb00100 {

bool AnalisaRetorno(const std::string& scheme, int returnCode, bool show, bool cancelOpenCoupon,
                    bool warnLowPaper);
bool ImpressoraOK(const std::string& scheme, bool show, bool cancelOpenCoupon, bool warnLowPaper);
// arguments: Delphi open array (pointer and highest index; high -1 for none).
bool EnviaComando(const std::string& scheme, const std::string& command, const std::string* arguments,
                  int high, bool show, bool spare);
std::string RetornoImpFiscal(const std::string& variable, bool trim);

}  // namespace Orb00100
