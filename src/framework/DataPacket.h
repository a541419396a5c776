#pragma once
// A whole table's content: field definitions and rows. It is what the host hands over as a
// "data packet" (a dataset's Data) and what ClientDataSet loads from and saves to file.
#include <string>
#include <vector>

namespace orb::fw {

class Variant;

enum class FieldType { String, Integer, Float, Date, DateTime, Boolean };

struct FieldDef {
    std::string name;
    FieldType type = FieldType::String;
    int size = 0;  // characters, for String fields
};

struct DataPacket {
    std::vector<FieldDef> fields;
    std::vector<std::vector<Variant>> rows;  // one value per field, Null where empty
};

const char* FieldTypeName(FieldType type);             // "string", "integer", "float", "date", "datetime", "boolean"
FieldType FieldTypeFromName(const std::string& name);  // EDatabaseError for an unknown name

}  // namespace orb::fw
