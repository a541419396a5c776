#pragma once
// Parameter intake of the exported operations: named values read one name at a time through the
// host library, the guarded intake with its parameter-error dialog, and the answer of a
// named-parameter operation (the variant replaced by a new array of [name, value] pairs).
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/Variant.h"

namespace Orb00100 {

// The value of name in a named-parameter array, converted as the host converts a variant (an
// absent name reads as an unassigned variant: "", 0, false). A value that does not convert
// raises the framework's conversion error.
std::string ParamText(const orb::fw::Variant& params, std::string_view name);
int ParamInt(const orb::fw::Variant& params, std::string_view name);
bool ParamBool(const orb::fw::Variant& params, std::string_view name);

// Runs read. When reading or converting a value fails, shows the failure's own text, a carriage
// return and "Erro no recebimento dos parâmetros da função: <operation> - Orb_00100.bpl"
// (kind 3, scheme "001") and returns false; whatever read stored before the failure stays, the
// rest keeps its previous value. The caller carries on either way.
bool GuardedIntake(std::string_view operation, const std::function<void()>& read);

// The answer of a named-parameter operation: params becomes a new array of the pairs, in order.
using NamedValues = std::vector<std::pair<std::string, orb::fw::Variant>>;
void ReplaceParams(orb::fw::Variant& params, const NamedValues& outputs);

}  // namespace Orb00100
