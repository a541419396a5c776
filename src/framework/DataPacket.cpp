#include "framework/DataPacket.h"

#include "framework/Exceptions.h"
#include "framework/Text.h"
#include "framework/Variant.h"

namespace orb::fw {

const char* FieldTypeName(FieldType type) {
    switch (type) {
        case FieldType::String:
            return "string";
        case FieldType::Integer:
            return "integer";
        case FieldType::Float:
            return "float";
        case FieldType::Date:
            return "date";
        case FieldType::DateTime:
            return "datetime";
        case FieldType::Boolean:
            return "boolean";
    }
    return "string";
}

FieldType FieldTypeFromName(const std::string& name) {
    for (FieldType type : {FieldType::String, FieldType::Integer, FieldType::Float, FieldType::Date,
                           FieldType::DateTime, FieldType::Boolean}) {
        if (SameText(name, FieldTypeName(type))) return type;
    }
    throw EDatabaseError("Unknown field type '" + name + "'");
}

}  // namespace orb::fw
