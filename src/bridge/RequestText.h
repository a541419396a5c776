#pragma once
// A request and its reply as the text that carries them: a line of `orb serve`, a step of a
// scenario, the argument and the answer area of Orb00100_Request.
#include <string>

#include "bridge/JsonValues.h"

namespace orb::bridge {

// Deeper than this, a request is refused: the conversions behind a call go one level down per
// level of the request, and a request is no place for more than a handful.
inline constexpr int kMaxRequestDepth = 256;

// The JSON of a request or a scenario. Raises JsonError for a NUL byte (the parser would take it
// for the end of the text and quietly drop the rest) and for nesting past kMaxRequestDepth, and
// the parser's own exception for text that is not JSON.
Json ParseRequestText(const std::string& text);

// One reply (or request) as one line of UTF-8 JSON, without the line end.
std::string JsonLine(const Json& value);

}  // namespace orb::bridge
