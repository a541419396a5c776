// Named-parameter intake: any JSON value a host could pass as an operation's named parameters,
// read and answered the ways the operations do it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "bridge/JsonValues.h"
#include "driver/Params.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orb::bridge;
    const Json parsed = Json::parse(std::string_view(reinterpret_cast<const char*>(data), size), nullptr, false);
    if (parsed.is_discarded()) return 0;
    orb::fw::Variant params;
    try {
        params = VariantFromJson(parsed);
    } catch (const std::exception&) {
        return 0;
    }
    for (const char* key : {"ESQUEMACOR", "QTDE", "UTILTEF", "", "esquemacor"}) {
        try {
            Orb00100::ParamText(params, key);
            Orb00100::ParamInt(params, key);
            Orb00100::ParamBool(params, key);
        } catch (const std::exception&) {
        }
    }
    try {
        Orb00100::ReplaceParams(params, {{"MENSAGEMTAA", orb::fw::Variant("x")}, {"ESQUEMACOR", orb::fw::Variant(1)}});
    } catch (const std::exception&) {
    }
    return 0;
}
