#include "driver/Params.h"

#include <exception>

#include "external/hostlib/Dialogs.h"
#include "external/hostlib/HostLib.h"
#include "framework/Cp1252.h"

namespace Orb00100 {

namespace hl = orb::hostlib;

std::string ParamText(const orb::fw::Variant& params, std::string_view name) {
    return hl::RecebeParams(params, name).ToString();
}

int ParamInt(const orb::fw::Variant& params, std::string_view name) { return hl::RecebeParams(params, name).ToInt(); }

bool ParamBool(const orb::fw::Variant& params, std::string_view name) {
    return hl::RecebeParams(params, name).ToBool();
}

bool GuardedIntake(std::string_view operation, const std::function<void()>& read) {
    std::string failure;
    try {
        read();
        return true;
    } catch (const std::exception& e) {
        failure = e.what();
    }
    // Shown outside the handler: the dialog may pump messages and re-enter the module.
    const std::string text = failure + '\r' + CP("Erro no recebimento dos parâmetros da função: ") +
                             std::string(operation) + " - Orb_00100.bpl";
    orb::hostlib::Inform("001", text, orb::hostlib::DialogKind::Error);
    return false;
}

void ReplaceParams(orb::fw::Variant& params, const NamedValues& outputs) { params = hl::MakeParams(outputs); }

}  // namespace Orb00100
