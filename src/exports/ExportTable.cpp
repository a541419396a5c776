#include "exports/ExportTable.h"

#include "driver/DebugLog.h"
#include "driver/Globals.h"
#include "exports/Invoke.h"
#include "exports/OperationDeclarations.h"
#include "external/vendor/EntryPoints.h"

namespace orb::exports {

namespace {

#define ORB_EXPORT_KIND_BOTH ExportKind::Both
#define ORB_EXPORT_KIND_QUALIFIED ExportKind::Qualified
#define ORB_EXPORT_KIND_PLAIN ExportKind::Plain

std::vector<Operation> BuildOperations() {
    std::vector<Operation> ops;
    // The cast takes the function through the row's own signature: a row that does not match
    // the operation's declaration does not compile.
#define ORB_OP(EXPORTS, Result, Name, PARAMS, ARGS) \
    ops.push_back(                                  \
        detail::MakeOperation(#Name, ORB_EXPORT_KIND_##EXPORTS, static_cast<Result(*) PARAMS>(&::Orb00100::Name)));
#include "exports/Operations.inc"
#undef ORB_OP
    return ops;
}

template <class Value>
Global Plain(const char* name, Value& variable) {
    Global g;
    g.name = name;
    g.get = [&variable] { return fw::Variant(variable); };
    g.set = [&variable](const fw::Variant& v) {
        if constexpr (std::is_same_v<Value, bool>)
            variable = v.ToBool();
        else if constexpr (std::is_same_v<Value, int>)
            variable = v.ToInt();
        else
            variable = v.ToString();
    };
    return g;
}

// Reported, never set from outside: an object, a library handle or an entry point written by
// the bridge would be a dangling pointer inside the module.
Global ReadOnly(const char* name, std::function<fw::Variant()> get) {
    Global g;
    g.name = name;
    g.get = std::move(get);
    return g;
}

std::vector<Global> BuildGlobals() {
    using namespace ::Orb00100;
    std::vector<Global> globals;
    globals.push_back(ReadOnly("dtmBematech100", [] { return fw::Variant(dtmBematech100 != nullptr); }));
    globals.push_back(
        ReadOnly("ImpFisDLLHandle", [] { return fw::Variant(static_cast<std::int64_t>(ImpFisDLLHandle)); }));
    globals.push_back(Plain("boImpFiscalOK", boImpFiscalOK));
    globals.push_back(Plain("boNUtilTaa", boNUtilTaa));
    globals.push_back(Plain("boClieUtil", boClieUtil));
    globals.push_back(Plain("stMensagemTaa", stMensagemTaa));
    globals.push_back(Plain("inTipoImpFis", inTipoImpFis));
    globals.push_back(Plain("boComando", boComando));
    globals.push_back(Plain("stDataCat", stDataCat));
    globals.push_back(ReadOnly("cdsAuxExtSimp", [] { return fw::Variant(cdsAuxExtSimp != nullptr); }));
    for (const EntryPointSlot& slot : AllEntryPoints())
        globals.push_back(ReadOnly(slot.name, [isSet = slot.isSet] { return fw::Variant(isSet()); }));
    return globals;
}

}  // namespace

const std::vector<Operation>& Operations() {
    static const std::vector<Operation> operations = BuildOperations();
    return operations;
}

const Operation* FindOperation(std::string_view name) {
    for (const Operation& op : Operations())
        if (op.name == name) return &op;
    return nullptr;
}

const std::vector<Global>& Globals() {
    static const std::vector<Global> globals = BuildGlobals();
    return globals;
}

std::string DebugLogPath() { return ::Orb00100::DebugLogPath(); }

}  // namespace orb::exports
