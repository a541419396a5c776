#include "framework/DataSetValues.h"

#include <charconv>
#include <string>

#include "framework/Exceptions.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"

namespace orb::fw::dataset {

int FindFieldIndex(const std::vector<FieldDef>& defs, std::string_view name) {
    for (std::size_t i = 0; i < defs.size(); ++i) {
        if (SameText(defs[i].name, name)) return static_cast<int>(i);
    }
    return -1;
}

void ThrowFieldNotFound(std::string_view name) { throw EDatabaseError("Field '" + std::string(name) + "' not found"); }

std::vector<int> ResolveFieldList(const std::vector<FieldDef>& defs, std::string_view names) {
    std::vector<int> result;
    for (const std::string& part : SplitString(names, ';')) {
        std::string name = Trim(part);
        if (name.empty()) continue;
        int index = FindFieldIndex(defs, name);
        if (index < 0) ThrowFieldNotFound(name);
        result.push_back(index);
    }
    return result;
}

Variant ToFieldValue(const FieldDef& def, const Variant& value) {
    if (value.IsEmptyOrNull()) return Variant::Null();
    switch (def.type) {
        case FieldType::String: {
            std::string text = value.ToString();
            if (def.size > 0 && static_cast<int>(text.size()) > def.size)
                text.resize(static_cast<std::size_t>(def.size));
            if (text.empty()) return Variant::Null();
            return Variant(std::move(text));
        }
        case FieldType::Integer:
            return Variant(value.ToInt64());
        case FieldType::Float:
            return Variant(value.ToDouble());
        case FieldType::Date:
            return Variant(DateOf(value.ToDateTime()));
        case FieldType::DateTime:
            return Variant(value.ToDateTime());
        case FieldType::Boolean:
            return Variant(value.ToBool());
    }
    return Variant::Null();
}

bool NumericValue(const Variant& value, double& out) {
    switch (value.Type()) {
        case VarType::Integer:
            out = static_cast<double>(value.AsIntRaw());
            return true;
        case VarType::Double:
            out = value.AsDoubleRaw();
            return true;
        case VarType::DateTime:
            out = value.AsDateTimeRaw().value;
            return true;
        case VarType::Bool:
            out = value.AsBoolRaw() ? 1.0 : 0.0;
            return true;
        case VarType::Text: {
            const std::string text = Trim(value.AsTextRaw());
            if (TryStrToFloat(text, out)) return true;
            // Numbers written in filter texts and data packets use a decimal point.
            const char* begin = text.data();
            const char* end = begin + text.size();
            if (begin != end && *begin == '+') ++begin;
            auto [ptr, ec] = std::from_chars(begin, end, out);
            return begin != end && ec == std::errc() && ptr == end;
        }
        default:
            return false;
    }
}

namespace {

template <typename T>
int Sign(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

int CompareFieldValues(FieldType type, const Variant& a, const Variant& b, bool caseInsensitive) {
    const bool aNull = a.IsEmptyOrNull();
    const bool bNull = b.IsEmptyOrNull();
    if (aNull || bNull) return aNull == bNull ? 0 : (aNull ? -1 : 1);
    if (type == FieldType::String && a.Type() == VarType::Text && b.Type() == VarType::Text) {
        if (caseInsensitive) {
            int c = CompareText(a.AsTextRaw(), b.AsTextRaw());
            return c < 0 ? -1 : (c > 0 ? 1 : 0);
        }
        int c = a.AsTextRaw().compare(b.AsTextRaw());
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    if (a.Type() == VarType::Integer && b.Type() == VarType::Integer) return Sign(a.AsIntRaw(), b.AsIntRaw());
    double x = 0, y = 0;
    const bool xOk = NumericValue(a, x);
    const bool yOk = NumericValue(b, y);
    if (xOk && yOk) return Sign(x, y);
    if (xOk != yOk) return xOk ? -1 : 1;  // numbers before texts that are not numbers
    int c = a.ToString().compare(b.ToString());
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace orb::fw::dataset
