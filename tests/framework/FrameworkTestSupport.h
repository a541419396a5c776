#pragma once
// Helpers the framework tests share: an error's text, table rows by position, a scratch folder.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "framework/ClientDataSet.h"
#include "framework/Exceptions.h"
#include "framework/FormatSettings.h"
#include "platform/PlatformTestSupport.h"

namespace orb::fw::test {

using Strings = std::vector<std::string>;

// The text of the E that f raises, or "no error"; any other exception fails the test by escaping.
template <typename E = Exception, typename F>
std::string MessageOf(F&& f) {
    try {
        f();
    } catch (const E& e) {
        return e.what();
    }
    return "no error";
}

// A table with every kind of field, in this order: NMPRODUTO (string of textSize), QTPRODVEND,
// VRTOTAL, DTMOVIMCAIXA (date), DTHRINCMOV (date-time), IDATIVO (boolean).
inline void MakeAllTypes(ClientDataSet& t, int textSize = 40) {
    t.AddFieldDef("NMPRODUTO", FieldType::String, textSize);
    t.AddFieldDef("QTPRODVEND", FieldType::Integer);
    t.AddFieldDef("VRTOTAL", FieldType::Float);
    t.AddFieldDef("DTMOVIMCAIXA", FieldType::Date);
    t.AddFieldDef("DTHRINCMOV", FieldType::DateTime);
    t.AddFieldDef("IDATIVO", FieldType::Boolean);
    t.CreateDataSet();
}

// Appends and posts one row, values in field order.
inline void AppendRow(ClientDataSet& t, std::initializer_list<Variant> values) {
    t.Append();
    int i = 0;
    for (const Variant& v : values) t.FieldAt(i++).SetValue(v);
    t.Post();
}

// Edits the current row: each field set to its value, then posted.
inline void EditRow(ClientDataSet& t, std::initializer_list<std::pair<const char*, Variant>> values) {
    t.Edit();
    for (const auto& [field, value] : values) t.FieldByName(field).SetValue(value);
    t.Post();
}

// The current row's values, in field order.
inline Strings Row(ClientDataSet& t) {
    Strings out;
    for (int i = 0; i < t.FieldCount(); ++i) out.push_back(t.FieldAt(i).AsString());
    return out;
}

// The visible rows' values of one field, in cursor order.
inline Strings Column(ClientDataSet& t, const char* field) {
    Strings out;
    for (t.First(); !t.Eof(); t.Next()) out.push_back(t.FieldByName(field).AsString());
    return out;
}

using ScratchFolder = orbtest::ScratchFolder;

// Runs a test under the default settings whatever an earlier test left behind.
class DefaultSettings : public ::testing::Test {
protected:
    ScopedSettings settings_{FormatSettings{}};
};

}  // namespace orb::fw::test
