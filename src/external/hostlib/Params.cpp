// Named-parameter arrays: [[name, value], ...] inside one Variant.
#include "external/hostlib/HostLib.h"

#include "framework/Text.h"

namespace orb::hostlib {

Variant RecebeParams(const Variant& params, std::string_view name) {
    RecordParamName(name);
    if (!params.IsArray()) return Variant();
    for (const Variant& pair : params.AsArray()) {
        if (!pair.IsArray()) continue;
        const Variant::Array& items = pair.AsArray();
        if (items.size() < 2) continue;
        const Variant& key = items[0];
        if (key.Type() == fw::VarType::Text && fw::SameText(key.AsTextRaw(), name)) return items[1];
    }
    return Variant();
}

Variant MakeParams(const std::vector<std::pair<std::string, Variant>>& pairs) {
    Variant::Array items;
    items.reserve(pairs.size());
    for (const auto& [name, value] : pairs) items.push_back(Variant::MakeArray({Variant(name), value}));
    return Variant(std::move(items));
}

}  // namespace orb::hostlib
