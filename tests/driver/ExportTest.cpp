// The bridge's argument conversions and the exported globals. (The built library's symbols:
// tests/exports.)
#include <gtest/gtest.h>

#include "connection/Binding.h"
#include "driver/Globals.h"
#include "exports/ExportTable.h"
#include "exports/Invoke.h"
#include "framework/Exceptions.h"

namespace {

using namespace orb::exports;
using orb::fw::Variant;

// ---- The bridge's conversions, on an operation of every parameter kind ---------------------

struct Seen {
    std::string text;
    int number = 0;
    std::size_t openArray = 0;
    std::vector<std::string> texts;
    orb::fw::StringList* list = nullptr;
} seen;

orb::fw::StringList replacementList{"other"};

double Everything(const std::string& text, std::string& textVar, int number, int& numberVar, double& amount, bool& flag,
                  orb::fw::TDateTime& when, const Variant& in, Variant& out, std::span<const Variant> open,
                  std::span<const std::string> texts, orb::fw::StringList* list, orb::fw::StringList*& listVar) {
    seen = {text, number, open.size(), {texts.begin(), texts.end()}, list};
    textVar += "!";
    numberVar += number;
    amount *= 2;
    flag = !flag;
    when = orb::fw::TDateTime(when.value + 1);
    out = Variant::MakeArray({in, Variant("x")});
    listVar = &replacementList;
    return 2.5;
}

void Raises(std::string& text) {
    text = "changed";
    throw orb::fw::EConvertError("'x' is not a valid integer value");
}

TEST(ExportBridge, ArgumentsConvertInAndVarParametersComeBackEvenFromARaise) {
    const Operation op = detail::MakeOperation("Everything", ExportKind::Both, &Everything);
    EXPECT_EQ(op.result, ResultKind::Double);
    EXPECT_EQ(op.params,
              (std::vector<ParamKind>{ParamKind::Text, ParamKind::TextVar, ParamKind::Integer, ParamKind::IntegerVar,
                                      ParamKind::DoubleVar, ParamKind::BoolVar, ParamKind::DateTimeVar,
                                      ParamKind::Variant, ParamKind::VariantVar, ParamKind::VariantOpenArray,
                                      ParamKind::TextOpenArray, ParamKind::StringList, ParamKind::StringListVar}));
    std::vector<Argument> args(13);
    const Variant in[] = {12 /* a number where a text is taken */,
                          "abc",
                          "5",
                          10,
                          1.25,
                          true,
                          orb::fw::TDateTime(46000.5),
                          "in",
                          Variant(),
                          Variant::MakeArray({1, 2, 3}),
                          Variant::MakeArray({"a", 7})};
    for (std::size_t i = 0; i < std::size(in); ++i) args[i].value = in[i];
    args[11].strings = std::make_unique<orb::fw::StringList>(std::initializer_list<std::string>{"l1"});
    args[12].strings = std::make_unique<orb::fw::StringList>();

    EXPECT_EQ(op.invoke(args).ToDouble(), 2.5);
    EXPECT_EQ(seen.text, "12");
    EXPECT_EQ(seen.number, 5);
    EXPECT_EQ(seen.openArray, 3u);
    EXPECT_EQ(seen.texts, (std::vector<std::string>{"a", "7"}));
    EXPECT_EQ(seen.list, args[11].strings.get());
    EXPECT_EQ(args[1].value.ToString(), "abc!");
    EXPECT_EQ(args[3].value.ToInt(), 15);
    EXPECT_EQ(args[4].value.ToDouble(), 2.5);
    EXPECT_FALSE(args[5].value.ToBool());
    EXPECT_EQ(args[6].value.ToDateTime(), orb::fw::TDateTime(46001.5));
    EXPECT_EQ(args[8].value[0].ToString(), "in");
    // A list the operation pointed elsewhere comes back as a copy, never the operation's own.
    ASSERT_NE(args[12].strings, nullptr);
    EXPECT_NE(args[12].strings.get(), &replacementList);
    EXPECT_EQ(args[12].strings->Lines(), std::vector<std::string>{"other"});

    const Operation raises = detail::MakeOperation("Raises", ExportKind::Both, &Raises);
    std::vector<Argument> one(1);
    one[0].value = "before";
    EXPECT_THROW(raises.invoke(one), orb::fw::EConvertError);
    EXPECT_EQ(one[0].value.ToString(), "changed");
}

TEST(ExportGlobals, ObjectsHandlesAndEntryPointsAreReadOnlyAndReadTheirState) {
    auto find = [](std::string_view name) -> const Global* {
        for (const Global& g : Globals())
            if (g.name == name) return &g;
        return nullptr;
    };
    for (const char* name : {"dtmBematech100", "ImpFisDLLHandle", "cdsAuxExtSimp", "Bematech_FI_AbrePortaSerial",
                             "BemaFechaPorta", "Bematech_validateFile"}) {
        ASSERT_NE(find(name), nullptr) << name;
        EXPECT_FALSE(static_cast<bool>(find(name)->set)) << name;
    }
    ASSERT_NE(find("boNUtilTaa"), nullptr);
    EXPECT_TRUE(static_cast<bool>(find("boNUtilTaa")->set));
    Orb00100::StopImpFiscal();
    EXPECT_FALSE(find("Bematech_FI_AbrePortaSerial")->get().ToBool());
    EXPECT_EQ(find("ImpFisDLLHandle")->get().ToInt(), 0);
}

}  // namespace
