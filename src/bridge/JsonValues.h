#pragma once
// The bridge's value encodings: JSON (UTF-8) on one side, the module's values (CP1252 text,
// variants, date-times, data packets, tables, string lists) on the other.
//
//   JSON string -> text; number -> integer or double (inside a variant: integer when written
//   without fraction or exponent); true/false -> bool; null -> Null; array -> variant array;
//   {"datetime": "2026-12-05T14:30:05"} -> date-time;
//   {"dataset": {"fields": [{"name", "type", "size"}], "rows": [[...]]}} -> data packet or table;
//   {"strings": [...]} -> string list.
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "exports/ExportTable.h"
#include "framework/ClientDataSet.h"
#include "framework/DataPacket.h"
#include "framework/DateTime.h"
#include "framework/StringList.h"
#include "framework/Variant.h"

namespace orb::bridge {

// Object keys keep the order they were written in, so replies read as the bridge documents them.
using Json = nlohmann::ordered_json;

// A JSON value that does not encode what it is asked to. The message is UTF-8.
class JsonError : public std::runtime_error {
public:
    explicit JsonError(const std::string& message) : std::runtime_error(message) {}
};

// Text crosses the edge here: JSON is UTF-8, the module is CP1252.
std::string TextFromJson(const Json& value);  // JsonError unless a string
Json TextToJson(std::string_view cp1252);

// "YYYY-MM-DD", "YYYY-MM-DDThh:mm", "YYYY-MM-DDThh:mm:ss" or with ".mmm"; a blank may stand for "T".
fw::TDateTime DateTimeFromIso(std::string_view iso);  // JsonError when not a valid date and time
std::string DateTimeToIso(fw::TDateTime value);       // "YYYY-MM-DDThh:mm:ss", ".mmm" added when not 0
// {"datetime": "..."}, an ISO text, or a number of days.
fw::TDateTime DateTimeFromJson(const Json& value);

fw::Variant VariantFromJson(const Json& value);
Json VariantToJson(const fw::Variant& value);

// The body of a "dataset" object: {"fields": [...], "rows": [[...]]}.
fw::DataPacket DataPacketFromJson(const Json& body);
Json DataPacketToJson(const fw::DataPacket& packet);  // the body, without the "dataset" wrapper

// {"dataset": {...}} as a table; null gives no table. The body may also carry "name", "filter",
// "filtered" and "index" (index field names), which a table passed back reports as well.
std::unique_ptr<fw::ClientDataSet> TableFromJson(const Json& value);
Json TableToJson(const fw::ClientDataSet* table);  // {"dataset": {...}}, null for none

// {"strings": [...]} (or a bare array of texts) as a string list; null gives no list.
std::unique_ptr<fw::StringList> StringListFromJson(const Json& value);
Json StringListToJson(const fw::StringList* list);  // {"strings": [...]}, null for none

// One argument of an operation, by the kind of its parameter. A var parameter also takes null
// (an output the host leaves empty).
exports::Argument ArgumentFromJson(exports::ParamKind kind, const Json& value);
Json ArgumentToJson(exports::ParamKind kind, const exports::Argument& argument);
const char* ParamKindName(exports::ParamKind kind);

}  // namespace orb::bridge
