#pragma once
// The host framework's Variant: unassigned, null, bool, integer, double, text, date-time, array.
// Text is code page 1252. Conversions fail like the host's: a text that is not a number raises
// EConvertError naming the text; an impossible conversion (an array to text, null to a number)
// raises EVariantError.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <memory>

#include "framework/DataPacket.h"
#include "framework/DateTime.h"

namespace orb::fw {

// DataPacket: a whole table handed over by value (the host's dataset Data property).
enum class VarType { Unassigned, Null, Bool, Integer, Double, Text, DateTime, Array, DataPacket };

class Variant {
public:
    struct NullTag {};
    using Array = std::vector<Variant>;

    Variant() = default;                 // unassigned
    Variant(NullTag) : v_(NullTag{}) {}  // null
    Variant(bool b) : v_(b) {}
    Variant(int i) : v_(static_cast<std::int64_t>(i)) {}
    Variant(std::int64_t i) : v_(i) {}
    Variant(double d) : v_(d) {}
    Variant(const char* s) : v_(std::string(s ? s : "")) {}  // a null pointer is ""
    Variant(std::string s) : v_(std::move(s)) {}
    Variant(std::string_view s) : v_(std::string(s)) {}
    Variant(TDateTime dt) : v_(dt) {}
    Variant(Array a) : v_(std::move(a)) {}
    Variant(DataPacket packet);

    static Variant Null() { return Variant(NullTag{}); }
    // An array of n unassigned elements (VarArrayCreate([0, n-1], varVariant)).
    static Variant MakeArray(std::size_t n) { return Variant(Array(n)); }
    static Variant MakeArray(std::initializer_list<Variant> items) { return Variant(Array(items)); }

    VarType Type() const { return static_cast<VarType>(v_.index()); }
    bool IsUnassigned() const { return Type() == VarType::Unassigned; }
    bool IsNull() const { return Type() == VarType::Null; }
    bool IsEmptyOrNull() const { return IsUnassigned() || IsNull(); }
    bool IsArray() const { return Type() == VarType::Array; }

    // Conversions as the host performs them.
    //  ToString: unassigned -> "", null -> EVariantError, bool -> "True"/"False", numbers by
    //            IntToStr/FloatToStr, date-time by DateTimeToStr.
    //  ToInt:    bool -> -1/0 (the host's True is -1), double rounded (banker's), text by StrToInt
    //            (falling back to StrToFloat then rounding, as the host does for '12,0').
    //  ToDouble: text by StrToFloat; date-time its day count.
    //  ToBool:   numbers non-zero; text "True"/"False" in any case, or a number.
    //  ToDateTime: text by StrToDateTime; numbers as a day count.
    std::string ToString() const;
    int ToInt() const;
    std::int64_t ToInt64() const;
    double ToDouble() const;
    bool ToBool() const;
    TDateTime ToDateTime() const;

    // Arrays.
    const Array& AsArray() const;  // EVariantError when not an array
    Array& AsArray();
    std::size_t ArraySize() const;                   // 0 when not an array
    const Variant& operator[](std::size_t i) const;  // EVariantError when out of bounds
    Variant& operator[](std::size_t i);
    int HighBound() const { return static_cast<int>(ArraySize()) - 1; }

    // Raw access for code that must know the stored kind (the bridge, the dataset).
    bool AsBoolRaw() const { return std::get<bool>(v_); }
    std::int64_t AsIntRaw() const { return std::get<std::int64_t>(v_); }
    double AsDoubleRaw() const { return std::get<double>(v_); }
    const std::string& AsTextRaw() const { return std::get<std::string>(v_); }
    TDateTime AsDateTimeRaw() const { return std::get<TDateTime>(v_); }
    // EVariantError when the variant holds no data packet.
    const DataPacket& AsDataPacket() const;

    friend bool operator==(const Variant& a, const Variant& b);

private:
    std::variant<std::monostate, NullTag, bool, std::int64_t, double, std::string, TDateTime, Array,
                 std::shared_ptr<const DataPacket>>
        v_;
};

}  // namespace orb::fw
