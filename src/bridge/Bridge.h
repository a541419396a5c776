#pragma once
// The JSON bridge: one request object in, one reply object out. A request holds exactly one of
// "call" (+ "args"), "sim", "answers", "settings", "file" / "system_file" (+ "text" or
// "dataset") and "globals". A request that cannot be served gets a reply with "error" (UTF-8
// text) and never an exception.
#include "bridge/JsonValues.h"
#include "external/hostlib/HostLib.h"

namespace orb::bridge {

Json HandleRequest(const Json& request);

// The pieces, one per request kind; each raises on a malformed request (JsonError) or a failure
// outside the operation, which HandleRequest turns into "error".
Json CallOperation(const Json& request);
Json QueueAnswers(const Json& request);
Json ChangeSettings(const Json& request);
Json WriteFile(const Json& request, bool systemFolder);
Json ChangeGlobals(const Json& request);
Json SettingsToJson();

// {"kind", "text", "scheme", "question", "answer"}, with "unanswered": true when no answer was
// queued and the default "N" was taken.
Json DialogToJson(const hostlib::Dialog& dialog);

}  // namespace orb::bridge
