// The built liborb00100.so, as a host sees it: its defined dynamic symbols are exactly the
// export table's names (plain, unit-qualified, globals) and the bridge's C entry point, each
// answers dlsym, and the exported operations and globals are the module's own.
#include <gtest/gtest.h>

#include <cxxabi.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "exports/ExportTable.h"

namespace {

using namespace orb::exports;

// What the linker itself may add to a shared library's dynamic symbols (older binutils export
// the section bounds; the current one adds none of these).
const std::set<std::string> kToolchainSymbols = {"_init", "_fini", "_edata", "_end", "__bss_start"};

// The defined dynamic symbols of a shared library, as the dynamic linker sees them: raw name to
// demangled name.
std::map<std::string, std::string> DynamicSymbols(const std::string& path) {
    const std::string command = "nm -D --defined-only --format=just-symbols '" + path + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) throw std::runtime_error("cannot run " + command);
    std::map<std::string, std::string> names;
    for (char line[4096]; std::fgets(line, sizeof line, pipe.get());) {
        const std::string raw(line, std::strcspn(line, "\r\n"));
        int status = 0;
        std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(raw.c_str(), nullptr, nullptr, &status),
                                                         std::free);
        names[raw] = status == 0 && demangled ? demangled.get() : raw;
    }
    return names;
}

class ExportedSymbols : public ::testing::Test {
protected:
    static void SetUpTestSuite() { symbols_ = DynamicSymbols(ORB_MODULE_FILE); }

    // The raw names of the symbols whose demangled name starts with the prefix.
    static std::vector<std::string> Starting(const std::string& prefix) {
        std::vector<std::string> found;
        for (const auto& [raw, demangled] : symbols_)
            if (demangled.compare(0, prefix.size(), prefix) == 0) found.push_back(raw);
        return found;
    }

    static std::map<std::string, std::string> symbols_;
};
std::map<std::string, std::string> ExportedSymbols::symbols_;

TEST_F(ExportedSymbols, AreTheTablesNamesAndNothingElse) {
    ASSERT_FALSE(symbols_.empty()) << ORB_MODULE_FILE;
    std::map<std::string, std::string> claimedBy;  // raw symbol -> the name in the table
    auto claim = [&](const std::vector<std::string>& raws, const std::string& what) {
        for (const std::string& raw : raws)
            EXPECT_TRUE(claimedBy.emplace(raw, what).second)
                << raw << " answers both " << what << " and " << claimedBy[raw];
    };

    for (const Operation& op : Operations()) {
        SCOPED_TRACE(op.name);
        const bool plain = op.exportKind != ExportKind::Qualified;
        const bool qualified = op.exportKind != ExportKind::Plain;
        EXPECT_EQ(symbols_.count(op.name), plain ? 1u : 0u) << "plain name";
        if (plain) claim({op.name}, op.name);
        // Exactly the function: a second symbol under the same prefix (an overload, something
        // declared inside the operation) would be exported too.
        // A function that returns a text and takes none carries the text's tag.
        std::vector<std::string> functions = Starting("Orb00100::" + op.name + "(");
        for (const std::string& tagged : Starting("Orb00100::" + op.name + "[abi:cxx11](")) functions.push_back(tagged);
        EXPECT_EQ(functions.size(), qualified ? 1u : 0u) << "unit-qualified name";
        claim(functions, "Orb00100::" + op.name);
    }
    for (const Global& global : Globals()) {
        SCOPED_TRACE(global.name);
        std::vector<std::string> variables;
        for (const std::string& raw : Starting("Orb00100::" + global.name)) {
            const std::string rest = symbols_[raw].substr(10 + global.name.size());
            if (rest.empty() || rest.starts_with("[abi:")) variables.push_back(raw);
        }
        EXPECT_EQ(variables.size(), 1u);
        EXPECT_EQ(symbols_.count(global.name), 0u) << "exported with C linkage";
        claim(variables, "Orb00100::" + global.name);
    }
    EXPECT_EQ(symbols_.count("Orb00100_Request"), 1u) << "the bridge's C entry point";
    claim({"Orb00100_Request"}, "Orb00100_Request");

    std::vector<std::string> others;
    for (const auto& [raw, demangled] : symbols_)
        if (!claimedBy.count(raw) && !kToolchainSymbols.count(raw)) others.push_back(demangled);
    EXPECT_TRUE(others.empty()) << others.size() << " symbols outside the table, the first: " << others.front();
}

TEST_F(ExportedSymbols, AnswerDlsymAndReachTheModulesOwnState) {
    void* module = dlopen(ORB_MODULE_FILE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    for (const auto& [raw, demangled] : symbols_) EXPECT_NE(dlsym(module, raw.c_str()), nullptr) << demangled;
    EXPECT_EQ(dlsym(module, "_ZN3orb8platform6GetEnvB5cxx11EPKc"), nullptr);

    // A fresh module has no library bound: both names of FechaPorta refuse, and the globals
    // hold their initial values.
    auto raw = [&](const std::string& demangled) {
        for (const auto& entry : symbols_)
            if (entry.second == demangled) return dlsym(module, entry.first.c_str());
        return static_cast<void*>(nullptr);
    };
    auto plainClose = reinterpret_cast<bool (*)()>(dlsym(module, "FechaPorta"));
    auto qualifiedClose = reinterpret_cast<bool (*)()>(raw("Orb00100::FechaPorta()"));
    ASSERT_NE(plainClose, nullptr);
    ASSERT_NE(qualifiedClose, nullptr);
    EXPECT_NE(reinterpret_cast<void*>(plainClose), reinterpret_cast<void*>(qualifiedClose));
    EXPECT_FALSE(plainClose());
    EXPECT_FALSE(qualifiedClose());
    const auto* staffOperated = static_cast<const bool*>(raw("Orb00100::boNUtilTaa"));
    const auto* printerType = static_cast<const int*>(raw("Orb00100::inTipoImpFis"));
    const auto* entry = static_cast<void* const*>(raw("Orb00100::Bematech_FI_FechaPortaSerial"));
    ASSERT_TRUE(staffOperated && printerType && entry);
    EXPECT_TRUE(*staffOperated);
    EXPECT_EQ(*printerType, 0);
    EXPECT_EQ(*entry, nullptr);
    dlclose(module);
}

}  // namespace
