// The operation reference: the entries of exports/reference/*.inc, with the names of each
// operation's parameters taken from the export table's rows.
#include <map>

#include "exports/ExportTable.h"
#include "exports/OperationDeclarations.h"
#include "framework/Text.h"

namespace orb::exports {

namespace {

// "(scheme, total)" as the preprocessor spells a row's argument names: "scheme", "total".
std::vector<std::string> SplitNames(std::string_view list) {
    std::vector<std::string> names;
    if (list.size() >= 2 && list.front() == '(' && list.back() == ')') list = list.substr(1, list.size() - 2);
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        std::string_view name = list.substr(0, comma);
        while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
        while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
        if (!name.empty()) names.emplace_back(name);
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return names;
}

std::vector<OperationReference> BuildReferences() {
    // clang-format off
    std::vector<OperationReference> references = {
#include "exports/reference/Frame.inc"
#include "exports/reference/Port.inc"
#include "exports/reference/Status.inc"
#include "exports/reference/Queries.inc"
#include "exports/reference/Config.inc"
#include "exports/reference/CashMovements.inc"
#include "exports/reference/Coupon.inc"
#include "exports/reference/Closing.inc"
#include "exports/reference/Cancel.inc"
#include "exports/reference/Readings.inc"
#include "exports/reference/NonFiscal.inc"
#include "exports/reference/CashClosing.inc"
#include "exports/reference/MemoryReadings.inc"
#include "exports/reference/ReductionData.inc"
#include "exports/reference/Signature.inc"
#include "exports/reference/FiscalFiles.inc"
#include "exports/reference/Tables.inc"
#include "exports/reference/Accounts.inc"
    };
    // clang-format on
    std::map<std::string_view, std::string_view> argumentNames;
#define ORB_OP(EXPORTS, Result, Name, PARAMS, ARGS) argumentNames.emplace(#Name, #ARGS);
#include "exports/Operations.inc"
#undef ORB_OP
    for (OperationReference& reference : references)
        if (auto found = argumentNames.find(reference.name); found != argumentNames.end())
            reference.parameters = SplitNames(found->second);
    return references;
}

}  // namespace

const std::vector<OperationReference>& References() {
    static const std::vector<OperationReference> references = BuildReferences();
    return references;
}

const OperationReference* FindReference(std::string_view name) {
    for (const OperationReference& reference : References())
        if (reference.name == name) return &reference;
    return nullptr;
}

const NamedKey* FindReadKey(const OperationReference& reference, std::string_view name) {
    for (const NamedKey& key : reference.reads)
        if (fw::SameText(key.name, name)) return &key;
    return nullptr;
}

}  // namespace orb::exports
