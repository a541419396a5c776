#pragma once
// Field values of the in-memory table: conversion to a field's type, ordering and matching.
// Shared by the table, its filters, its indexes and its file format.
#include <string_view>
#include <vector>

#include "framework/DataPacket.h"
#include "framework/Variant.h"

namespace orb::fw::dataset {

// Index of the field named (without regard to case), -1 when absent.
int FindFieldIndex(const std::vector<FieldDef>& defs, std::string_view name);
// "A;B" -> field indexes; EDatabaseError "Field 'X' not found". Blanks around names are ignored.
std::vector<int> ResolveFieldList(const std::vector<FieldDef>& defs, std::string_view names);
[[noreturn]] void ThrowFieldNotFound(std::string_view name);

// A value as the field stores it: Null for an empty value or an empty text, a String cut to the
// field's size, a Date without its time, numbers and booleans in their own kind.
// Raises EConvertError / EVariantError when the value cannot take the field's type.
Variant ToFieldValue(const FieldDef& def, const Variant& value);

// Ordering of two stored values of one field: null first, texts by bytes (or without regard
// to case), numbers and dates by value, false before true. <0, 0, >0.
int CompareFieldValues(FieldType type, const Variant& a, const Variant& b, bool caseInsensitive);

// A stored value as a number (integers, floats, dates, booleans as 1/0, texts that read as a
// number under the current settings or with a '.' decimal point). False when it does not.
bool NumericValue(const Variant& value, double& out);

}  // namespace orb::fw::dataset
