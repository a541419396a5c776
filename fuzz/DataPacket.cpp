// The data-packet XML reader: any file text loads into a table or is refused with an exception,
// and a table that loads writes itself back.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "framework/ClientDataSet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const orb::fw::DataPacket packet =
            orb::fw::ClientDataSet::FromXml(std::string_view(reinterpret_cast<const char*>(data), size));
        orb::fw::ClientDataSet table;
        table.SetData(packet);
        orb::fw::ClientDataSet::ToXml(table.Data());
    } catch (const std::exception&) {
    }
    return 0;
}
