#pragma once
// Helpers the framework tests share: an error's text, table rows by position, a scratch folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "framework/ClientDataSet.h"
#include "framework/Exceptions.h"

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

// The visible rows' values of one field, in cursor order.
inline Strings Column(ClientDataSet& t, const char* field) {
    Strings out;
    for (t.First(); !t.Eof(); t.Next()) out.push_back(t.FieldByName(field).AsString());
    return out;
}

// A folder of its own for each test, removed afterwards.
class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("orb-fw-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
               std::to_string(std::random_device{}()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string Path(const std::string& name) const { return (dir / name).string(); }
    static std::string Read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Write(const std::string& file, const std::string& contents) {
        std::ofstream(file, std::ios::binary) << contents;
    }

    std::filesystem::path dir;
};

}  // namespace orb::fw::test
