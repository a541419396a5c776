#include "framework/DataPacketXml.h"

#include <charconv>
#include <cstring>
#include <pugixml.hpp>

#include "framework/Cp1252.h"
#include "framework/DataSetValues.h"
#include "framework/DateTime.h"
#include "framework/Exceptions.h"
#include "framework/Text.h"

namespace orb::fw::dataset {

namespace {

constexpr int kRowOriginal = 1;
constexpr int kRowDeleted = 2;
constexpr int kRowInserted = 4;
constexpr int kRowModified = 8;

[[noreturn]] void Invalid(const std::string& what) { throw EDatabaseError("Invalid data packet: " + what); }

// ---- Writing ----------------------------------------------------------------------------

const char* FileTypeName(FieldType type) {
    switch (type) {
        case FieldType::String:
            return "string";
        case FieldType::Integer:
            return "i4";
        case FieldType::Float:
            return "r8";
        case FieldType::Date:
            return "date";
        case FieldType::DateTime:
            return "dateTime";
        case FieldType::Boolean:
            return "boolean";
    }
    return "string";
}

void AppendPadded(std::string& out, int value, int width) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (value < 0) out += '-';
    if (static_cast<int>(digits.size()) < width) out.append(static_cast<std::size_t>(width) - digits.size(), '0');
    out += digits;
}

std::string DateText(TDateTime value) {
    const DateParts d = DecodeDate(value);
    std::string out;
    AppendPadded(out, d.year, 4);
    AppendPadded(out, d.month, 2);
    AppendPadded(out, d.day, 2);
    return out;
}

std::string DateTimeText(TDateTime value) {
    std::string out = DateText(value);
    const TimeParts t = DecodeTime(value);
    out += 'T';
    AppendPadded(out, t.hour, 2);
    out += ':';
    AppendPadded(out, t.minute, 2);
    out += ':';
    AppendPadded(out, t.second, 2);
    AppendPadded(out, t.msec, 3);
    return out;
}

// The value of a non-null field as it is written on file (UTF-8).
std::string FileText(FieldType type, const Variant& value) {
    switch (type) {
        case FieldType::String:
            return Cp1252ToUtf8(value.ToString());
        case FieldType::Integer:
            return std::to_string(value.ToInt64());
        case FieldType::Float: {
            char buffer[64];
            auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value.ToDouble());
            return ec == std::errc() ? std::string(buffer, end) : std::string("0");
        }
        case FieldType::Date:
            return DateText(value.ToDateTime());
        case FieldType::DateTime:
            return DateTimeText(value.ToDateTime());
        case FieldType::Boolean:
            return value.ToBool() ? "TRUE" : "FALSE";
    }
    return {};
}

void WriteRow(pugi::xml_node rowData, const std::vector<FieldDef>& fields, const std::vector<Variant>& values,
              int rowState, const std::vector<Variant>* original) {
    pugi::xml_node row = rowData.append_child("ROW");
    if (rowState != 0) row.append_attribute("RowState").set_value(rowState);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const Variant& v = i < values.size() ? values[i] : Variant();
        const std::string name = Cp1252ToUtf8(fields[i].name);
        if (v.IsEmptyOrNull()) {
            // In the new half of a modified row an empty attribute marks a value removed.
            if (original && i < original->size() && !(*original)[i].IsEmptyOrNull()) {
                row.append_attribute(name.c_str()).set_value("");
            }
            continue;
        }
        row.append_attribute(name.c_str()).set_value(FileText(fields[i].type, v).c_str());
    }
}

struct StringWriter : pugi::xml_writer {
    std::string text;
    void write(const void* data, std::size_t size) override { text.append(static_cast<const char*>(data), size); }
};

// ---- Reading ----------------------------------------------------------------------------

struct FileType {
    FieldType type;
    bool wideWidth;  // WIDTH counts bytes of a two-byte text
};

bool TypeFromFile(const std::string& name, const std::string& subtype, FileType& out) {
    static const struct {
        const char* name;
        FieldType type;
    } kNames[] = {
        {"string", FieldType::String},
        {"i4", FieldType::Integer},
        {"i2", FieldType::Integer},
        {"i1", FieldType::Integer},
        {"i8", FieldType::Integer},
        {"ui1", FieldType::Integer},
        {"ui2", FieldType::Integer},
        {"ui4", FieldType::Integer},
        {"integer", FieldType::Integer},
        {"r8", FieldType::Float},
        {"r4", FieldType::Float},
        {"fixed", FieldType::Float},
        {"fixedFMT", FieldType::Float},
        {"float", FieldType::Float},
        {"date", FieldType::Date},
        {"dateTime", FieldType::DateTime},
        {"SQLdateTime", FieldType::DateTime},
        {"boolean", FieldType::Boolean},
    };
    out.wideWidth = false;
    for (const auto& entry : kNames) {
        if (SameText(name, entry.name)) {
            out.type = entry.type;
            return true;
        }
    }
    if (SameText(name, "string.uni")) {
        out = {FieldType::String, true};
        return true;
    }
    // Memo fields travel as bin.hex with a text subtype; their content is plain text here.
    if (SameText(name, "bin.hex") && (SameText(subtype, "Text") || SameText(subtype, "WideText"))) {
        out = {FieldType::String, false};
        return true;
    }
    return false;
}

bool ReadDigits(std::string_view text, std::size_t& pos, std::size_t count, int& out) {
    if (pos + count > text.size()) return false;
    out = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char c = text[pos + i];
        if (c < '0' || c > '9') return false;
        out = out * 10 + (c - '0');
    }
    pos += count;
    return true;
}

bool ParseDate(std::string_view text, std::size_t& pos, TDateTime& out) {
    int year = 0, month = 0, day = 0;
    const bool dashed = text.size() >= 10 && text[4] == '-';
    if (!ReadDigits(text, pos, 4, year)) return false;
    if (dashed) ++pos;
    if (!ReadDigits(text, pos, 2, month)) return false;
    if (dashed) {
        if (pos >= text.size() || text[pos] != '-') return false;
        ++pos;
    }
    if (!ReadDigits(text, pos, 2, day)) return false;
    return TryEncodeDate(year, month, day, out);
}

bool ParseDateTime(std::string_view text, TDateTime& out) {
    std::size_t pos = 0;
    TDateTime date;
    if (!ParseDate(text, pos, date)) return false;
    if (pos == text.size()) {
        out = date;
        return true;
    }
    if (text[pos] != 'T' && text[pos] != ' ') return false;
    ++pos;
    int hour = 0, minute = 0, second = 0, msec = 0;
    if (!ReadDigits(text, pos, 2, hour)) return false;
    if (pos < text.size() && text[pos] == ':') ++pos;
    if (!ReadDigits(text, pos, 2, minute)) return false;
    if (pos < text.size() && text[pos] == ':') ++pos;
    if (!ReadDigits(text, pos, 2, second)) return false;
    if (pos < text.size() && (text[pos] == '.' || text[pos] == ',')) ++pos;
    if (pos < text.size() && !ReadDigits(text, pos, 3, msec)) return false;
    if (pos != text.size()) return false;
    TDateTime time;
    if (!TryEncodeTime(hour, minute, second, msec, time)) return false;
    out =
        EncodeDateTime(DecodeDate(date).year, DecodeDate(date).month, DecodeDate(date).day, hour, minute, second, msec);
    return true;
}

bool ParseInteger(std::string_view text, std::int64_t& out) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') ++begin;
    auto [ptr, ec] = std::from_chars(begin, end, out);
    return begin != end && ec == std::errc() && ptr == end;
}

bool ParseFloat(std::string_view text, double& out) {
    std::string copy(text);
    if (copy.find('.') == std::string::npos) {
        for (char& c : copy)
            if (c == ',') c = '.';
    }
    const char* begin = copy.data();
    const char* end = begin + copy.size();
    if (begin != end && *begin == '+') ++begin;
    auto [ptr, ec] = std::from_chars(begin, end, out);
    return begin != end && ec == std::errc() && ptr == end;
}

// A file value (already CP1252) in its field's type; an empty text is null.
Variant ParseValue(const FieldDef& def, const std::string& text) {
    if (text.empty()) return Variant::Null();
    switch (def.type) {
        case FieldType::String:
            // Kept whole even past the field's width: rewriting a file must not cut what another
            // program wrote into it (the cut applies to what is assigned here).
            return Variant(text);
        case FieldType::Integer: {
            std::int64_t value = 0;
            if (ParseInteger(Trim(text), value)) return Variant(value);
            break;
        }
        case FieldType::Float: {
            double value = 0;
            if (ParseFloat(Trim(text), value)) return Variant(value);
            break;
        }
        case FieldType::Date:
        case FieldType::DateTime: {
            TDateTime value;
            if (ParseDateTime(Trim(text), value)) return Variant(def.type == FieldType::Date ? DateOf(value) : value);
            break;
        }
        case FieldType::Boolean: {
            const std::string t = Trim(text);
            if (SameText(t, "TRUE") || t == "1") return Variant(true);
            if (SameText(t, "FALSE") || t == "0") return Variant(false);
            break;
        }
    }
    Invalid("value '" + text + "' of field '" + def.name + "' is not a " + FileTypeName(def.type));
}

// A declaration naming a one-byte encoding means the file holds CP1252 bytes as they are.
bool DeclaresSingleByteEncoding(std::string_view xml) {
    if (xml.substr(0, 5) != "<?xml") return false;
    const std::size_t end = xml.find("?>");
    std::string declaration = LowerCase(xml.substr(0, end == std::string_view::npos ? 0 : end));
    for (const char* name : {"windows-1252", "iso-8859-1", "iso-8859-15", "latin1", "cp1252"}) {
        if (declaration.find(name) != std::string::npos) return true;
    }
    return false;
}

}  // namespace

void CheckFieldDefs(const std::vector<FieldDef>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (Trim(fields[i].name).empty()) throw EDatabaseError("Field name missing");
        for (std::size_t j = 0; j < i; ++j) {
            if (SameText(fields[i].name, fields[j].name))
                throw EDatabaseError("Duplicate field name '" + fields[i].name + "'");
        }
    }
}

std::string WriteDataPacketXml(const std::vector<FieldDef>& fields, const std::vector<const PacketRow*>& rows,
                               bool withStates) {
    pugi::xml_document doc;
    pugi::xml_node packet = doc.append_child("DATAPACKET");
    packet.append_attribute("Version").set_value("2.0");
    pugi::xml_node metadata = packet.append_child("METADATA");
    pugi::xml_node fieldsNode = metadata.append_child("FIELDS");
    for (const FieldDef& def : fields) {
        pugi::xml_node field = fieldsNode.append_child("FIELD");
        field.append_attribute("attrname").set_value(Cp1252ToUtf8(def.name).c_str());
        field.append_attribute("fieldtype").set_value(FileTypeName(def.type));
        if (def.type == FieldType::String) field.append_attribute("WIDTH").set_value(def.size > 0 ? def.size : 255);
    }
    metadata.append_child("PARAMS");

    pugi::xml_node rowData = packet.append_child("ROWDATA");
    for (const PacketRow* row : rows) {
        if (!withStates) {
            if (row->status != RowStatus::Deleted) WriteRow(rowData, fields, row->values, 0, nullptr);
            continue;
        }
        switch (row->status) {
            case RowStatus::Plain:
                WriteRow(rowData, fields, row->values, 0, nullptr);
                break;
            case RowStatus::Inserted:
                WriteRow(rowData, fields, row->values, kRowInserted, nullptr);
                break;
            case RowStatus::Deleted:
                WriteRow(rowData, fields, row->values, kRowDeleted, nullptr);
                break;
            case RowStatus::Modified:
                WriteRow(rowData, fields, row->original, kRowOriginal, nullptr);
                WriteRow(rowData, fields, row->values, kRowModified, &row->original);
                break;
        }
    }

    StringWriter writer;
    // The declaration is written here, once: a second one would make the file unreadable to a
    // strict XML reader.
    doc.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>" + writer.text;
}

StatedPacket ReadDataPacketXml(std::string_view xml) {
    const bool singleByte = DeclaresSingleByteEncoding(xml);
    pugi::xml_document doc;
    // Attribute values are kept as written: no whitespace or line-end normalisation, so texts
    // with line breaks survive the round trip.
    const unsigned flags = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_declaration;
    pugi::xml_parse_result parsed =
        doc.load_buffer(xml.data(), xml.size(), flags, singleByte ? pugi::encoding_utf8 : pugi::encoding_auto);
    if (!parsed) {
        Invalid(std::string(parsed.description()) + " at offset " + std::to_string(parsed.offset));
    }
    auto text = [singleByte](const char* raw) { return singleByte ? std::string(raw) : Utf8ToCp1252(raw); };

    pugi::xml_node packet = doc.child("DATAPACKET");
    if (!packet) Invalid("no DATAPACKET element");
    pugi::xml_node fieldsNode = packet.child("METADATA").child("FIELDS");
    if (!fieldsNode) Invalid("no METADATA/FIELDS element");

    StatedPacket result;
    for (pugi::xml_node field : fieldsNode.children("FIELD")) {
        FieldDef def;
        def.name = text(field.attribute("attrname").value());
        if (def.name.empty()) Invalid("a FIELD without attrname");
        const std::string typeName = field.attribute("fieldtype").value();
        FileType fileType{};
        if (!TypeFromFile(typeName, field.attribute("SUBTYPE").value(), fileType)) {
            Invalid("field '" + def.name + "' has the unsupported type '" + typeName + "'");
        }
        def.type = fileType.type;
        if (def.type == FieldType::String) {
            int width = field.attribute("WIDTH").as_int(0);
            def.size = fileType.wideWidth ? width / 2 : width;
            if (def.size < 0) def.size = 0;
        }
        result.fields.push_back(std::move(def));
    }
    if (result.fields.empty()) Invalid("no fields");
    try {
        CheckFieldDefs(result.fields);
    } catch (const EDatabaseError& e) {
        Invalid(e.what());
    }

    const std::size_t n = result.fields.size();
    bool originalPending = false;  // the last row read is the original half of a modified row
    for (pugi::xml_node rowNode : packet.child("ROWDATA").children("ROW")) {
        int rowState = 0;
        std::vector<Variant> values(n, Variant::Null());
        std::vector<bool> present(n, false);
        for (pugi::xml_attribute attr : rowNode.attributes()) {
            const std::string name = text(attr.name());
            if (name == "RowState") {
                std::int64_t state = 0;
                if (!ParseInteger(attr.value(), state)) Invalid("bad RowState '" + std::string(attr.value()) + "'");
                rowState = static_cast<int>(state);
                continue;
            }
            int index = -1;
            for (std::size_t i = 0; i < n && index < 0; ++i) {
                if (result.fields[i].name == name) index = static_cast<int>(i);
            }
            if (index < 0) index = FindFieldIndex(result.fields, name);
            if (index < 0) continue;  // an attribute the metadata does not declare
            const auto i = static_cast<std::size_t>(index);
            values[i] = ParseValue(result.fields[i], text(attr.value()));
            present[i] = true;
        }

        PacketRow row;
        if (rowState & kRowModified) {
            if (originalPending) {
                PacketRow& target = result.rows.back();
                target.original = target.values;
                for (std::size_t i = 0; i < n; ++i) {
                    if (present[i]) target.values[i] = values[i];
                }
                target.status = RowStatus::Modified;
                originalPending = false;
                continue;
            }
            row.original = values;
            row.status = RowStatus::Modified;
        } else if (rowState & kRowDeleted) {
            row.status = RowStatus::Deleted;
        } else if (rowState & kRowInserted) {
            row.status = RowStatus::Inserted;
        }
        originalPending = (rowState & ~kRowOriginal) == 0 && (rowState & kRowOriginal);
        row.values = std::move(values);
        result.rows.push_back(std::move(row));
    }
    return result;
}

}  // namespace orb::fw::dataset
