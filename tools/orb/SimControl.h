#pragma once
// The virtual printer's control entry, reached through the same fiscal library the module binds.
#include "JsonValues.h"

namespace orb::cli {

// Sends one control command ({"sim": "reset", ...}) and answers the printer's reply object.
// Raises std::runtime_error when the library or its control entry cannot be reached, or the
// reply is not a JSON object.
Json SimControl(const Json& command);

}  // namespace orb::cli
