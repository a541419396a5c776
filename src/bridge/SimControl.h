#pragma once
// The virtual printer's control entry, reached through the same fiscal library the module binds.
#include <cstddef>

#include "bridge/JsonValues.h"

namespace orb::bridge {

// Sends one control command ({"sim": "reset", ...}) and answers the printer's reply object.
// Raises std::runtime_error when the library or its control entry cannot be reached, or the
// reply is not a JSON object. A reply longer than firstArea is asked for again with room for it.
Json SimControl(const Json& command, std::size_t firstArea = 1 << 16);

}  // namespace orb::bridge
