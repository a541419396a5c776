// Field access of ClientDataSet: the host's TField conversions.
#include "framework/ClientDataSet.h"

namespace orb::fw {

bool Field::IsNull() const { return owner_->GetCurrentValue(index_).IsEmptyOrNull(); }

Variant Field::Value() const { return owner_->GetCurrentValue(index_); }

std::string Field::AsString() const {
    const Variant v = Value();
    return v.IsEmptyOrNull() ? std::string() : v.ToString();
}

int Field::AsInteger() const {
    const Variant v = Value();
    return v.IsEmptyOrNull() ? 0 : v.ToInt();
}

double Field::AsFloat() const {
    const Variant v = Value();
    return v.IsEmptyOrNull() ? 0.0 : v.ToDouble();
}

TDateTime Field::AsDateTime() const {
    const Variant v = Value();
    return v.IsEmptyOrNull() ? TDateTime() : v.ToDateTime();
}

bool Field::AsBoolean() const {
    const Variant v = Value();
    return v.IsEmptyOrNull() ? false : v.ToBool();
}

void Field::SetValue(const Variant& v) { owner_->SetCurrentValue(index_, v); }
void Field::SetAsString(std::string_view s) { SetValue(Variant(s)); }
void Field::SetAsInteger(int v) { SetValue(Variant(v)); }
void Field::SetAsFloat(double v) { SetValue(Variant(v)); }
void Field::SetAsDateTime(TDateTime v) { SetValue(Variant(v)); }
void Field::SetAsBoolean(bool v) { SetValue(Variant(v)); }
void Field::Clear() { SetValue(Variant::Null()); }

}  // namespace orb::fw
