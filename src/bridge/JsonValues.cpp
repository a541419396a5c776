#include "bridge/JsonValues.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "framework/Cp1252.h"
#include "framework/NumberFormat.h"

namespace orb::bridge {

using exports::Argument;
using exports::ParamKind;
using fw::FieldType;
using fw::TDateTime;
using fw::Variant;

namespace {

std::string Describe(const Json& value) {
    if (value.is_number_integer() || value.is_number_unsigned()) return "an integer";
    if (value.is_number_float()) return "a number with a fraction";
    if (value.is_string()) return "a text";
    if (value.is_boolean()) return "a boolean";
    if (value.is_null()) return "null";
    if (value.is_array()) return "an array";
    return "an object";
}

[[noreturn]] void Expected(const char* what, const Json& value) {
    throw JsonError(std::string("expected ") + what + ", got " + Describe(value));
}

// An object with exactly one member named key.
bool IsWrapped(const Json& value, const char* key) {
    return value.is_object() && value.size() == 1 && value.contains(key);
}

std::int64_t IntegerFromJson(const Json& value, std::int64_t low, std::int64_t high) {
    std::int64_t n = 0;
    if (value.is_number_integer() && !value.is_number_unsigned()) {
        n = value.get<std::int64_t>();
    } else if (value.is_number_unsigned()) {
        std::uint64_t u = value.get<std::uint64_t>();
        if (u > static_cast<std::uint64_t>(high)) throw JsonError("integer out of range: " + value.dump());
        n = static_cast<std::int64_t>(u);
    } else if (value.is_number_float()) {
        // 3.0 is taken as 3 where only an integer makes sense; 3.5 is not.
        double d = value.get<double>();
        if (!std::isfinite(d) || d != std::trunc(d) || d < static_cast<double>(low) || d > static_cast<double>(high))
            throw JsonError("expected an integer, got " + value.dump());
        n = static_cast<std::int64_t>(d);
    } else {
        Expected("an integer", value);
    }
    if (n < low || n > high) throw JsonError("integer out of range: " + value.dump());
    return n;
}

int Int32FromJson(const Json& value) {
    return static_cast<int>(IntegerFromJson(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

double DoubleFromJson(const Json& value) {
    if (!value.is_number()) Expected("a number", value);
    return value.get<double>();
}

bool BoolFromJson(const Json& value) {
    if (!value.is_boolean()) Expected("true or false", value);
    return value.get<bool>();
}

// Fixed-width decimal digits at text[pos..pos+width).
bool Digits(std::string_view text, std::size_t pos, std::size_t width, int& out) {
    if (pos + width > text.size()) return false;
    int n = 0;
    for (std::size_t i = pos; i < pos + width; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        n = n * 10 + (text[i] - '0');
    }
    out = n;
    return true;
}

bool ParseIso(std::string_view s, TDateTime& out) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
    if (!Digits(s, 0, 4, year) || s.size() < 10 || s[4] != '-' || !Digits(s, 5, 2, month) || s[7] != '-' ||
        !Digits(s, 8, 2, day))
        return false;
    std::size_t pos = 10;
    if (pos < s.size()) {
        if (s[pos] != 'T' && s[pos] != ' ') return false;
        if (!Digits(s, pos + 1, 2, hour) || pos + 3 >= s.size() || s[pos + 3] != ':' || !Digits(s, pos + 4, 2, minute))
            return false;
        pos += 6;
        if (pos < s.size()) {
            if (s[pos] != ':' || !Digits(s, pos + 1, 2, second)) return false;
            pos += 3;
            if (pos < s.size()) {
                if (s[pos] != '.' || !Digits(s, pos + 1, 3, msec) || pos + 4 != s.size()) return false;
                pos += 4;
            }
        }
    }
    TDateTime date, time;
    if (!fw::TryEncodeDate(year, month, day, date) || !fw::TryEncodeTime(hour, minute, second, msec, time))
        return false;
    out = fw::EncodeDateTime(year, month, day, hour, minute, second, msec);
    return true;
}

const FieldType kFieldTypes[] = {FieldType::String, FieldType::Integer,  FieldType::Float,
                                 FieldType::Date,   FieldType::DateTime, FieldType::Boolean};

FieldType FieldTypeFromJson(const Json& value) {
    std::string name = value.is_string() ? value.get<std::string>() : std::string();
    for (FieldType t : kFieldTypes)
        if (name == fw::FieldTypeName(t)) return t;
    throw JsonError("unknown field type " + value.dump() + " (string, integer, float, date, datetime or boolean)");
}

// A String field without a size would cut every text to nothing.
constexpr int kDefaultStringSize = 255;

Variant CellFromJson(const fw::FieldDef& field, const Json& value) {
    if (value.is_null()) return Variant::Null();
    switch (field.type) {
        case FieldType::String:
            return Variant(TextFromJson(value));
        case FieldType::Integer:
            return Variant(static_cast<std::int64_t>(Int32FromJson(value)));
        case FieldType::Float:
            return Variant(DoubleFromJson(value));
        case FieldType::Date:
        case FieldType::DateTime:
            return Variant(DateTimeFromJson(value));
        case FieldType::Boolean:
            return Variant(BoolFromJson(value));
    }
    throw JsonError("unknown field type");
}

void CheckKeys(const Json& object, std::initializer_list<const char*> allowed, const char* what) {
    for (auto it = object.begin(); it != object.end(); ++it) {
        bool known = false;
        for (const char* key : allowed) known = known || it.key() == key;
        if (!known) throw JsonError(std::string("unknown member \"") + it.key() + "\" in " + what);
    }
}

}  // namespace

std::string TextFromJson(const Json& value) {
    if (!value.is_string()) Expected("a text", value);
    return fw::Utf8ToCp1252(value.get_ref<const std::string&>());
}

Json TextToJson(std::string_view cp1252) { return Json(fw::Cp1252ToUtf8(cp1252)); }

TDateTime DateTimeFromIso(std::string_view iso) {
    TDateTime out;
    if (!ParseIso(iso, out)) throw JsonError("not a valid date and time: \"" + std::string(iso) + "\"");
    return out;
}

std::string DateTimeToIso(TDateTime value) {
    fw::DateParts d = fw::DecodeDate(value);
    fw::TimeParts t = fw::DecodeTime(value);
    std::string s = fw::IntToStrPadded(d.year, 4) + "-" + fw::IntToStrPadded(d.month, 2) + "-" +
                    fw::IntToStrPadded(d.day, 2) + "T" + fw::IntToStrPadded(t.hour, 2) + ":" +
                    fw::IntToStrPadded(t.minute, 2) + ":" + fw::IntToStrPadded(t.second, 2);
    if (t.msec != 0) s += "." + fw::IntToStrPadded(t.msec, 3);
    return s;
}

TDateTime DateTimeFromJson(const Json& value) {
    if (IsWrapped(value, "datetime")) return DateTimeFromJson(value["datetime"]);
    if (value.is_string()) return DateTimeFromIso(value.get_ref<const std::string&>());
    if (value.is_number()) return TDateTime(value.get<double>());
    Expected("{\"datetime\": \"YYYY-MM-DDThh:mm:ss\"}", value);
}

Variant VariantFromJson(const Json& value) {
    switch (value.type()) {
        case Json::value_t::null:
            return Variant::Null();
        case Json::value_t::boolean:
            return Variant(value.get<bool>());
        case Json::value_t::number_integer:
            return Variant(value.get<std::int64_t>());
        case Json::value_t::number_unsigned: {
            std::uint64_t u = value.get<std::uint64_t>();
            if (u <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
                return Variant(static_cast<std::int64_t>(u));
            return Variant(static_cast<double>(u));
        }
        case Json::value_t::number_float:
            return Variant(value.get<double>());
        case Json::value_t::string:
            return Variant(TextFromJson(value));
        case Json::value_t::array: {
            Variant::Array items;
            items.reserve(value.size());
            for (const Json& item : value) items.push_back(VariantFromJson(item));
            return Variant(std::move(items));
        }
        case Json::value_t::object:
            if (IsWrapped(value, "datetime")) return Variant(DateTimeFromJson(value));
            if (IsWrapped(value, "dataset")) return Variant(DataPacketFromJson(value["dataset"]));
            if (IsWrapped(value, "strings")) throw JsonError("a string list cannot travel inside a variant");
            throw JsonError("an object inside a variant must be {\"datetime\": ...} or {\"dataset\": ...}, got " +
                            value.dump());
        default:
            break;
    }
    throw JsonError("cannot encode " + value.dump() + " as a variant");
}

Json VariantToJson(const Variant& value) {
    switch (value.Type()) {
        case fw::VarType::Unassigned:
        case fw::VarType::Null:
            return Json(nullptr);
        case fw::VarType::Bool:
            return Json(value.AsBoolRaw());
        case fw::VarType::Integer:
            return Json(value.AsIntRaw());
        case fw::VarType::Double:
            return Json(value.AsDoubleRaw());
        case fw::VarType::Text:
            return TextToJson(value.AsTextRaw());
        case fw::VarType::DateTime:
            return Json{{"datetime", DateTimeToIso(value.AsDateTimeRaw())}};
        case fw::VarType::Array: {
            Json items = Json::array();
            for (const Variant& item : value.AsArray()) items.push_back(VariantToJson(item));
            return items;
        }
        case fw::VarType::DataPacket:
            return Json{{"dataset", DataPacketToJson(value.AsDataPacket())}};
    }
    return Json(nullptr);
}

fw::DataPacket DataPacketFromJson(const Json& body) {
    if (!body.is_object()) Expected("a dataset object {\"fields\": [...], \"rows\": [...]}", body);
    fw::DataPacket packet;
    if (body.contains("fields")) {
        const Json& fields = body["fields"];
        if (!fields.is_array()) throw JsonError("dataset \"fields\": expected an array");
        for (const Json& f : fields) {
            if (!f.is_object() || !f.contains("name"))
                throw JsonError("a dataset field is {\"name\", \"type\", \"size\"}");
            CheckKeys(f, {"name", "type", "size"}, "a dataset field");
            fw::FieldDef def;
            def.name = TextFromJson(f["name"]);
            def.type = f.contains("type") ? FieldTypeFromJson(f["type"]) : FieldType::String;
            if (f.contains("size")) {
                def.size = Int32FromJson(f["size"]);
                if (def.size < 0) throw JsonError("field \"" + f["name"].get<std::string>() + "\": negative size");
            } else if (def.type == FieldType::String) {
                def.size = kDefaultStringSize;
            }
            packet.fields.push_back(std::move(def));
        }
    }
    if (body.contains("rows")) {
        const Json& rows = body["rows"];
        if (!rows.is_array()) throw JsonError("dataset \"rows\": expected an array");
        std::size_t r = 0;
        for (const Json& row : rows) {
            ++r;
            if (!row.is_array() || row.size() != packet.fields.size())
                throw JsonError("dataset row " + std::to_string(r) + ": expected an array of " +
                                std::to_string(packet.fields.size()) + " values");
            std::vector<Variant> values;
            values.reserve(row.size());
            for (std::size_t i = 0; i < row.size(); ++i) {
                try {
                    values.push_back(CellFromJson(packet.fields[i], row[i]));
                } catch (const JsonError& e) {
                    throw JsonError("dataset row " + std::to_string(r) + ", field \"" +
                                    fw::Cp1252ToUtf8(packet.fields[i].name) + "\": " + e.what());
                }
            }
            packet.rows.push_back(std::move(values));
        }
    }
    return packet;
}

Json DataPacketToJson(const fw::DataPacket& packet) {
    Json fields = Json::array();
    for (const fw::FieldDef& def : packet.fields) {
        Json f{{"name", fw::Cp1252ToUtf8(def.name)}, {"type", fw::FieldTypeName(def.type)}};
        if (def.size != 0) f["size"] = def.size;
        fields.push_back(std::move(f));
    }
    Json rows = Json::array();
    for (const auto& row : packet.rows) {
        Json values = Json::array();
        for (const Variant& v : row) values.push_back(VariantToJson(v));
        rows.push_back(std::move(values));
    }
    return Json{{"fields", std::move(fields)}, {"rows", std::move(rows)}};
}

std::unique_ptr<fw::ClientDataSet> TableFromJson(const Json& value) {
    if (value.is_null()) return nullptr;
    if (!IsWrapped(value, "dataset")) Expected("{\"dataset\": {...}} or null", value);
    const Json& body = value["dataset"];
    if (!body.is_object()) Expected("a dataset object", body);
    CheckKeys(body, {"name", "fields", "rows", "filter", "filtered", "index"}, "a dataset");
    fw::DataPacket packet = DataPacketFromJson(body);
    auto table = std::make_unique<fw::ClientDataSet>(body.contains("name") ? TextFromJson(body["name"]) : "");
    if (packet.fields.empty()) {
        // A table the host declared without fields: the operation fills it wholesale.
        if (!packet.rows.empty()) throw JsonError("a dataset with rows needs fields");
    } else {
        table->SetData(packet);
    }
    if (body.contains("index")) table->SetIndexFieldNames(TextFromJson(body["index"]));
    std::string filter = body.contains("filter") ? TextFromJson(body["filter"]) : std::string();
    bool filtered = body.contains("filtered") ? BoolFromJson(body["filtered"]) : !filter.empty();
    if (!filter.empty()) table->SetFilter(filter);
    if (filtered) table->SetFiltered(true);
    if (table->Active()) table->First();
    return table;
}

Json TableToJson(const fw::ClientDataSet* table) {
    if (!table) return Json(nullptr);
    Json body;
    if (!table->Name().empty()) body["name"] = fw::Cp1252ToUtf8(table->Name());
    Json packet = DataPacketToJson(table->Data());
    body["fields"] = std::move(packet["fields"]);
    body["rows"] = std::move(packet["rows"]);
    if (!table->Filter().empty() || table->Filtered()) {
        body["filter"] = fw::Cp1252ToUtf8(table->Filter());
        body["filtered"] = table->Filtered();
    }
    if (!table->IndexFieldNames().empty()) body["index"] = fw::Cp1252ToUtf8(table->IndexFieldNames());
    return Json{{"dataset", std::move(body)}};
}

std::unique_ptr<fw::StringList> StringListFromJson(const Json& value) {
    if (value.is_null()) return nullptr;
    const Json* lines = &value;
    if (IsWrapped(value, "strings")) lines = &value["strings"];
    if (!lines->is_array()) Expected("{\"strings\": [...]} or null", value);
    auto list = std::make_unique<fw::StringList>();
    for (const Json& line : *lines) list->Add(TextFromJson(line));
    return list;
}

Json StringListToJson(const fw::StringList* list) {
    if (!list) return Json(nullptr);
    Json lines = Json::array();
    for (const std::string& line : list->Lines()) lines.push_back(fw::Cp1252ToUtf8(line));
    return Json{{"strings", std::move(lines)}};
}

const char* ParamKindName(ParamKind kind) {
    switch (kind) {
        case ParamKind::Text:
            return "text";
        case ParamKind::TextVar:
            return "var text";
        case ParamKind::Integer:
            return "integer";
        case ParamKind::IntegerVar:
            return "var integer";
        case ParamKind::Double:
            return "double";
        case ParamKind::DoubleVar:
            return "var double";
        case ParamKind::Bool:
            return "bool";
        case ParamKind::BoolVar:
            return "var bool";
        case ParamKind::DateTime:
            return "date-time";
        case ParamKind::DateTimeVar:
            return "var date-time";
        case ParamKind::Variant:
            return "variant";
        case ParamKind::VariantVar:
            return "var variant";
        case ParamKind::VariantOpenArray:
            return "array of variant";
        case ParamKind::TextOpenArray:
            return "array of text";
        case ParamKind::StringList:
            return "string list";
        case ParamKind::StringListVar:
            return "var string list";
        case ParamKind::DataSet:
            return "dataset";
        case ParamKind::DataSetVar:
            return "var dataset";
    }
    return "?";
}

Argument ArgumentFromJson(ParamKind kind, const Json& value) {
    Argument arg;
    bool isVar = kind == ParamKind::TextVar || kind == ParamKind::IntegerVar || kind == ParamKind::DoubleVar ||
                 kind == ParamKind::BoolVar || kind == ParamKind::DateTimeVar;
    bool empty = isVar && value.is_null();
    switch (kind) {
        case ParamKind::Text:
        case ParamKind::TextVar:
            arg.value = Variant(empty ? std::string() : TextFromJson(value));
            break;
        case ParamKind::Integer:
        case ParamKind::IntegerVar:
            arg.value = Variant(static_cast<std::int64_t>(empty ? 0 : Int32FromJson(value)));
            break;
        case ParamKind::Double:
        case ParamKind::DoubleVar:
            arg.value = Variant(empty ? 0.0 : DoubleFromJson(value));
            break;
        case ParamKind::Bool:
        case ParamKind::BoolVar:
            arg.value = Variant(empty ? false : BoolFromJson(value));
            break;
        case ParamKind::DateTime:
        case ParamKind::DateTimeVar:
            arg.value = Variant(empty ? TDateTime() : DateTimeFromJson(value));
            break;
        case ParamKind::Variant:
        case ParamKind::VariantVar:
            arg.value = VariantFromJson(value);
            break;
        case ParamKind::VariantOpenArray:
            if (!value.is_array()) Expected("an array", value);
            arg.value = VariantFromJson(value);
            break;
        case ParamKind::TextOpenArray: {
            if (!value.is_array()) Expected("an array of texts", value);
            Variant::Array items;
            for (const Json& item : value) items.push_back(Variant(TextFromJson(item)));
            arg.value = Variant(std::move(items));
            break;
        }
        case ParamKind::StringList:
        case ParamKind::StringListVar:
            arg.strings = StringListFromJson(value);
            break;
        case ParamKind::DataSet:
        case ParamKind::DataSetVar:
            arg.table = TableFromJson(value);
            break;
    }
    return arg;
}

Json ArgumentToJson(ParamKind kind, const Argument& argument) {
    switch (kind) {
        case ParamKind::StringList:
        case ParamKind::StringListVar:
            return StringListToJson(argument.strings.get());
        case ParamKind::DataSet:
        case ParamKind::DataSetVar:
            return TableToJson(argument.table.get());
        default:
            return VariantToJson(argument.value);
    }
}

}  // namespace orb::bridge
