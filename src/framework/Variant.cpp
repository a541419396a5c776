#include "framework/Variant.h"

#include <cmath>
#include <limits>

#include "framework/DateFormat.h"
#include "framework/Exceptions.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"

namespace orb::fw {

namespace {

const char* TypeName(VarType type) {
    switch (type) {
        case VarType::Unassigned:
            return "Empty";
        case VarType::Null:
            return "Null";
        case VarType::Bool:
            return "Boolean";
        case VarType::Integer:
            return "Int64";
        case VarType::Double:
            return "Double";
        case VarType::Text:
            return "String";
        case VarType::DateTime:
            return "Date";
        case VarType::Array:
            return "Array Variant";
        case VarType::DataPacket:
            return "Data Packet";
    }
    return "Unknown";
}

[[noreturn]] void CastError(VarType from, const char* to) {
    throw EVariantError(std::string("Could not convert variant of type (") + TypeName(from) + ") into type (" + to +
                        ")");
}

[[noreturn]] void OverflowError(VarType from, const char* to) {
    throw EVariantError(std::string("Overflow while converting variant of type (") + TypeName(from) + ") into type (" +
                        to + ")");
}

// Round half to even, as the host's Round does.
bool BankersRound(double value, std::int64_t& out) {
    if (!std::isfinite(value)) return false;
    const double rounded = std::nearbyint(value);  // default rounding mode: to nearest, ties to even
    if (rounded < -9223372036854775808.0 || rounded >= 9223372036854775808.0) return false;
    out = static_cast<std::int64_t>(rounded);
    return true;
}

bool PacketsEqual(const DataPacket& a, const DataPacket& b) {
    if (a.fields.size() != b.fields.size() || a.rows != b.rows) return false;
    for (std::size_t i = 0; i < a.fields.size(); ++i) {
        const FieldDef& x = a.fields[i];
        const FieldDef& y = b.fields[i];
        if (x.name != y.name || x.type != y.type || x.size != y.size) return false;
    }
    return true;
}

}  // namespace

Variant::Variant(DataPacket packet) : v_(std::make_shared<const DataPacket>(std::move(packet))) {}

std::string Variant::ToString() const {
    switch (Type()) {
        case VarType::Unassigned:
            return {};
        case VarType::Bool:
            return AsBoolRaw() ? "True" : "False";
        case VarType::Integer:
            return IntToStr(AsIntRaw());
        case VarType::Double:
            return FloatToStr(AsDoubleRaw());
        case VarType::Text:
            return AsTextRaw();
        case VarType::DateTime:
            return DateTimeToStr(AsDateTimeRaw());
        default:
            CastError(Type(), "String");
    }
}

std::int64_t Variant::ToInt64() const {
    std::int64_t out = 0;
    switch (Type()) {
        case VarType::Unassigned:
            return 0;
        case VarType::Bool:
            return AsBoolRaw() ? -1 : 0;
        case VarType::Integer:
            return AsIntRaw();
        case VarType::Double:
            if (!BankersRound(AsDoubleRaw(), out)) OverflowError(Type(), "Int64");
            return out;
        case VarType::DateTime:
            if (!BankersRound(AsDateTimeRaw().value, out)) OverflowError(Type(), "Int64");
            return out;
        case VarType::Text: {
            const std::string& text = AsTextRaw();
            std::int64_t value = 0;
            try {
                return StrToInt64(text);
            } catch (const EConvertError&) {}
            double d = 0.0;
            // The host accepts '12,0' for an integer: the text is read as a number, then rounded.
            if (TryStrToFloat(text, d) && BankersRound(d, value)) return value;
            throw EConvertError("'" + text + "' is not a valid integer value");
        }
        default:
            CastError(Type(), "Int64");
    }
}

int Variant::ToInt() const {
    const VarType type = Type();
    if (type == VarType::Null || type == VarType::Array || type == VarType::DataPacket) CastError(type, "Integer");
    const std::int64_t value = ToInt64();
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
        if (type == VarType::Text) throw EConvertError("'" + AsTextRaw() + "' is not a valid integer value");
        OverflowError(type, "Integer");
    }
    return static_cast<int>(value);
}

double Variant::ToDouble() const {
    switch (Type()) {
        case VarType::Unassigned:
            return 0.0;
        case VarType::Bool:
            return AsBoolRaw() ? -1.0 : 0.0;
        case VarType::Integer:
            return static_cast<double>(AsIntRaw());
        case VarType::Double:
            return AsDoubleRaw();
        case VarType::DateTime:
            return AsDateTimeRaw().value;
        case VarType::Text:
            return StrToFloat(AsTextRaw());
        default:
            CastError(Type(), "Double");
    }
}

bool Variant::ToBool() const {
    switch (Type()) {
        case VarType::Unassigned:
            return false;
        case VarType::Bool:
            return AsBoolRaw();
        case VarType::Integer:
            return AsIntRaw() != 0;
        case VarType::Double:
            return AsDoubleRaw() != 0.0;
        case VarType::DateTime:
            return AsDateTimeRaw().value != 0.0;
        case VarType::Text: {
            const std::string& text = AsTextRaw();
            const std::string trimmed = Trim(text);
            if (SameText(trimmed, "True")) return true;
            if (SameText(trimmed, "False")) return false;
            double d = 0.0;
            if (TryStrToFloat(trimmed, d)) return d != 0.0;
            throw EConvertError("'" + text + "' is not a valid boolean value");
        }
        default:
            CastError(Type(), "Boolean");
    }
}

TDateTime Variant::ToDateTime() const {
    switch (Type()) {
        case VarType::Unassigned:
            return TDateTime(0.0);
        case VarType::Integer:
            return TDateTime(static_cast<double>(AsIntRaw()));
        case VarType::Double:
            return TDateTime(AsDoubleRaw());
        case VarType::DateTime:
            return AsDateTimeRaw();
        case VarType::Text:
            return StrToDateTime(AsTextRaw());
        default:
            CastError(Type(), "Date");
    }
}

const Variant::Array& Variant::AsArray() const {
    if (const auto* a = std::get_if<Array>(&v_)) return *a;
    throw EVariantError("Variant is not an array");
}

Variant::Array& Variant::AsArray() {
    if (auto* a = std::get_if<Array>(&v_)) return *a;
    throw EVariantError("Variant is not an array");
}

std::size_t Variant::ArraySize() const {
    const auto* a = std::get_if<Array>(&v_);
    return a ? a->size() : 0;
}

const Variant& Variant::operator[](std::size_t i) const {
    const Array& a = AsArray();
    if (i >= a.size()) throw EVariantError("Variant or safe array index out of bounds");
    return a[i];
}

Variant& Variant::operator[](std::size_t i) {
    Array& a = AsArray();
    if (i >= a.size()) throw EVariantError("Variant or safe array index out of bounds");
    return a[i];
}

const DataPacket& Variant::AsDataPacket() const {
    if (const auto* p = std::get_if<std::shared_ptr<const DataPacket>>(&v_); p && *p) return **p;
    CastError(Type(), "Data Packet");
}

bool operator==(const Variant& a, const Variant& b) {
    const VarType ta = a.Type();
    const VarType tb = b.Type();
    // Integers and doubles compare by value, as the host compares numeric variants.
    if ((ta == VarType::Integer || ta == VarType::Double) && (tb == VarType::Integer || tb == VarType::Double)) {
        if (ta == VarType::Integer && tb == VarType::Integer) return a.AsIntRaw() == b.AsIntRaw();
        return a.ToDouble() == b.ToDouble();
    }
    if (ta != tb) return false;
    switch (ta) {
        case VarType::Unassigned:
        case VarType::Null:
            return true;
        case VarType::Bool:
            return a.AsBoolRaw() == b.AsBoolRaw();
        case VarType::Text:
            return a.AsTextRaw() == b.AsTextRaw();
        case VarType::DateTime:
            return a.AsDateTimeRaw() == b.AsDateTimeRaw();
        case VarType::Array:
            return a.AsArray() == b.AsArray();
        case VarType::DataPacket:
            return &a.AsDataPacket() == &b.AsDataPacket() || PacketsEqual(a.AsDataPacket(), b.AsDataPacket());
        default:
            return false;
    }
}

}  // namespace orb::fw
