// The export table: every row reachable from the bridge, the plain and unit-qualified symbols
// of the built library following each row's rule, the bridge's argument conversions, and the
// exported globals.
#include <gtest/gtest.h>

#include <cxxabi.h>
#include <dlfcn.h>
#include <link.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <set>
#include <stdexcept>

#include "connection/Binding.h"
#include "driver/Globals.h"
#include "exports/ExportTable.h"
#include "exports/Invoke.h"
#include "framework/Exceptions.h"

namespace {

using namespace orb::exports;
using orb::fw::Variant;

// The defined dynamic symbols of an ELF shared library, demangled: what `nm -D` lists.
std::set<std::string> DynamicSymbols(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (image.size() < sizeof(ElfW(Ehdr))) throw std::runtime_error("not an ELF file: " + path);
    const char* base = image.data();
    const auto* header = reinterpret_cast<const ElfW(Ehdr)*>(base);
    const auto* sections = reinterpret_cast<const ElfW(Shdr)*>(base + header->e_shoff);
    std::set<std::string> names;
    for (int i = 0; i < header->e_shnum; ++i) {
        if (sections[i].sh_type != SHT_DYNSYM) continue;
        const auto* symbols = reinterpret_cast<const ElfW(Sym)*>(base + sections[i].sh_offset);
        const char* strings = base + sections[sections[i].sh_link].sh_offset;
        const std::size_t count = sections[i].sh_size / sizeof(ElfW(Sym));
        for (std::size_t s = 0; s < count; ++s) {
            if (symbols[s].st_shndx == SHN_UNDEF || symbols[s].st_name == 0) continue;
            const char* raw = strings + symbols[s].st_name;
            int status = 0;
            std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(raw, nullptr, nullptr, &status),
                                                             std::free);
            names.insert(status == 0 && demangled ? demangled.get() : raw);
        }
    }
    return names;
}

std::string ModulePath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&Orb00100::StopImpFiscal), &info) == 0 || !info.dli_fname)
        throw std::runtime_error("the module's library is not found");
    return info.dli_fname;
}

bool HasQualified(const std::set<std::string>& symbols, const std::string& name) {
    const std::string prefix = "Orb00100::" + name + "(";
    auto it = symbols.lower_bound(prefix);
    return it != symbols.end() && it->compare(0, prefix.size(), prefix) == 0;
}

class ExportSymbols : public ::testing::Test {
protected:
    static void SetUpTestSuite() { symbols_ = DynamicSymbols(ModulePath()); }
    static std::set<std::string> symbols_;
};
std::set<std::string> ExportSymbols::symbols_;

TEST_F(ExportSymbols, EachRowIsExportedUnderBothNamesExceptTheListedOnes) {
    const std::set<std::string> qualifiedOnly = {
        "AnalisaRetorno", "Formata_rodape",          "FormataCNPJ",         "IsentoCompos",
        "IsentoSimpl",    "ImprimeParametrosConfig", "retornaPathBematech", "ContadorComprovantesCreditoMFD"};
    const std::set<std::string> plainOnly = {"RetornaDataUltimaReducao"};
    std::set<std::string> seen;
    for (const Operation& op : Operations()) {
        SCOPED_TRACE(op.name);
        EXPECT_TRUE(seen.insert(op.name).second) << "listed twice";
        const ExportKind expected = qualifiedOnly.count(op.name) ? ExportKind::Qualified
                                    : plainOnly.count(op.name)   ? ExportKind::Plain
                                                                 : ExportKind::Both;
        EXPECT_EQ(op.exportKind, expected);
        const bool plain = expected != ExportKind::Qualified;
        EXPECT_EQ(symbols_.count(op.name) == 1, plain);
        EXPECT_EQ(dlsym(RTLD_DEFAULT, op.name.c_str()) != nullptr, plain);
        EXPECT_EQ(HasQualified(symbols_, op.name), expected != ExportKind::Plain);
        EXPECT_EQ(FindOperation(op.name), &op);
        EXPECT_TRUE(static_cast<bool>(op.invoke));
    }
    for (const char* name : {"StartImpFiscal", "AbrePorta", "FechaPorta", "StopImpFiscal", "AnalisaRetorno",
                             "ImpressoraOK", "EnviaComando", "RetornoImpFiscal", "Carrega_Dados_Impressora",
                             "VerificaData", "Codigo_Nacional_ECF", "DefineParametrosImpressora", "Atu_TotGeral"})
        EXPECT_TRUE(seen.count(name)) << name;
    // Names are found exactly as written.
    EXPECT_EQ(FindOperation("startimpfiscal"), nullptr);
}

TEST_F(ExportSymbols, GlobalsAreExportedUnderTheirQualifiedNamesOnly) {
    for (const char* name :
         {"dtmBematech100", "ImpFisDLLHandle", "boNUtilTaa", "inTipoImpFis", "cdsAuxExtSimp", "Bematech_FI_DownloadMF",
          "Bematech_RegistroTipoEMFD3", "BemaFormataTX", "stMensagemTaa[abi:cxx11]"}) {
        EXPECT_TRUE(symbols_.count(std::string("Orb00100::") + name)) << name;
        EXPECT_FALSE(symbols_.count(name)) << name;
    }
}

TEST(ExportTable, ThePlainWrapperAndTheTableCallTheFrameOperations) {
    Orb00100::StopImpFiscal();
    auto plainClose = reinterpret_cast<bool (*)()>(dlsym(RTLD_DEFAULT, "FechaPorta"));
    ASSERT_NE(plainClose, nullptr);
    EXPECT_FALSE(plainClose());  // nothing bound: refused, not a call through an empty variable
    std::vector<Argument> none;
    EXPECT_FALSE(FindOperation("FechaPorta")->invoke(none).ToBool());
    EXPECT_TRUE(FindOperation("StopImpFiscal")->invoke(none).IsUnassigned());
}

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
