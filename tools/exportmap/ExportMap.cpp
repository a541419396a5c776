// Writes the linker version script of liborb00100.so: the module exports what its export table
// names and its C entry points, and nothing else. For each row it takes the plain C name (rows
// exported plain) and the unit-qualified C++ function Orb00100::Name (rows exported qualified),
// for each exported global its unit-qualified variable, then the C entry points of
// orb00100/Request.h, and makes every other symbol local. The mangled names are read
// from the module's static library (through nm), so the script names exactly what the compiler
// made.
//
// For the Windows DLL it writes a module-definition file instead (OUTPUT ending in ".def"), from
// the Windows static library read with mingw's nm: the export table is the same on every platform.
//
// Usage: orb_exportmap NM STATIC-LIBRARY OUTPUT[.def]
#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "exports/ExportTable.h"

namespace {

using orb::exports::ExportKind;

// The module's own C entry points, declared in the public headers: the bridge's.
const char* const kCEntryPoints[] = {"Orb00100_Request"};

struct Symbol {
    std::string mangled;    // as the linker names it in the output (an i686 COFF name without its "_")
    std::string demangled;  // for stdcall, without the "@bytes" suffix
    std::string decorated;  // the COFF name the .def entry binds to, when it differs from mangled
};

std::string Demangle(const std::string& name) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> text(abi::__cxa_demangle(name.c_str(), nullptr, nullptr, &status),
                                                std::free);
    return status == 0 && text ? std::string(text.get()) : name;
}

// The defined external symbols of the library. `nm -P` writes "name type value size" per symbol
// and a one-field header per member.
std::string NmOutput(const std::string& nm, const std::string& library) {
    const std::string command = "'" + nm + "' -P --defined-only --extern-only '" + library + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) throw std::runtime_error("cannot run " + command);
    std::string output;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    if (pclose(pipe) != 0) throw std::runtime_error(command + " failed");
    return output;
}

// A 32-bit Windows object names a C symbol "_name" and a stdcall one "_name@bytes"; a 64-bit one
// has neither. The C++ names tell which: "__Z..." where every name carries the "_".
Symbol CoffSymbol(const std::string& name, bool underscored) {
    std::string plain = underscored && name.size() > 1 && name[0] == '_' ? name.substr(1) : name;
    const std::size_t at = plain.rfind('@');
    if (at != std::string::npos && at > 0 && plain.find_first_not_of("0123456789", at + 1) == std::string::npos &&
        at + 1 < plain.size()) {
        const std::string bare = plain.substr(0, at);
        return {bare, bare, plain};
    }
    return {plain, Demangle(plain), {}};
}

std::vector<Symbol> DefinedSymbols(const std::string& nm, const std::string& library, bool coff) {
    const std::string output = NmOutput(nm, library);
    const bool underscored = coff && (output.rfind("__Z", 0) == 0 || output.find("\n__Z") != std::string::npos);

    std::vector<Symbol> symbols;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string name, type;
        if (!(fields >> name >> type) || type.size() != 1) continue;
        symbols.push_back(coff ? CoffSymbol(name, underscored) : Symbol{name, Demangle(name), {}});
    }
    return symbols;
}

// "Orb00100::Name(parameters)": the function itself, not a lambda or a variable inside it. A
// function that returns a text and takes none carries the text's tag: "Name[abi:cxx11]()".
bool IsQualifiedFunction(const std::string& demangled, const std::string& name) {
    const std::string qualified = "Orb00100::" + name;
    if (demangled.compare(0, qualified.size(), qualified) != 0) return false;
    std::size_t open = qualified.size();
    if (demangled.compare(open, 5, "[abi:") == 0) {
        const std::size_t close = demangled.find(']', open);
        if (close == std::string::npos) return false;
        open = close + 1;
    }
    if (open >= demangled.size() || demangled[open] != '(') return false;
    int depth = 0;
    for (std::size_t i = open; i < demangled.size(); ++i) {
        if (demangled[i] == '(') ++depth;
        if (demangled[i] == ')' && --depth == 0) return i + 1 == demangled.size();
    }
    return false;
}

// "Orb00100::name", or "Orb00100::name[abi:cxx11]" for a text.
bool IsQualifiedVariable(const std::string& demangled, const std::string& name) {
    const std::string qualified = "Orb00100::" + name;
    if (demangled == qualified) return true;
    return demangled.compare(0, qualified.size() + 5, qualified + "[abi:") == 0 && demangled.back() == ']' &&
           demangled.find("::", qualified.size()) == std::string::npos;
}

class MapWriter {
public:
    MapWriter(std::vector<Symbol> symbols, bool def) : symbols_(std::move(symbols)), def_(def) {}

    // Exactly one symbol must answer; anything else is an error in the table or the code.
    template <class Match>
    void Export(const std::string& what, Match match, bool data = false) {
        const Symbol* found = nullptr;
        for (const Symbol& s : symbols_) {
            if (!match(s)) continue;
            if (found != nullptr)
                throw std::runtime_error(what + ": more than one symbol (" + found->demangled + ", " + s.demangled +
                                         ")");
            found = &s;
        }
        if (found == nullptr) throw std::runtime_error(what + ": the module defines no such symbol");
        if (def_) {
            out_ << "    " << found->mangled;
            if (!found->decorated.empty()) out_ << " = " << found->decorated;
            if (data) out_ << " DATA";
            out_ << "\n";
            return;
        }
        out_ << "    " << found->mangled << ";";
        if (found->demangled != found->mangled) out_ << "  /* " << Comment(found->demangled) << " */";
        out_ << "\n";
    }

    std::string Script() const {
        if (def_)
            return "; Written by orb_exportmap from the export table.\nLIBRARY Orb00100.dll\nEXPORTS\n" + out_.str();
        return "/* Written by orb_exportmap from the export table. */\n{\n  global:\n" + out_.str() +
               "  local:\n    *;\n};\n";
    }

private:
    static std::string Comment(std::string text) {
        for (std::size_t at; (at = text.find("*/")) != std::string::npos;) text.replace(at, 2, "* /");
        return text;
    }

    std::vector<Symbol> symbols_;
    bool def_;
    std::ostringstream out_;
};

std::string Script(std::vector<Symbol> symbols, bool def) {
    MapWriter map(std::move(symbols), def);
    for (const orb::exports::Operation& op : orb::exports::Operations()) {
        const std::string& name = op.name;
        if (op.exportKind != ExportKind::Qualified)
            map.Export(name + " (plain)", [&](const Symbol& s) { return s.mangled == name; });
        if (op.exportKind != ExportKind::Plain)
            map.Export("Orb00100::" + name, [&](const Symbol& s) { return IsQualifiedFunction(s.demangled, name); });
    }
    for (const orb::exports::Global& global : orb::exports::Globals())
        map.Export(
            "Orb00100::" + global.name, [&](const Symbol& s) { return IsQualifiedVariable(s.demangled, global.name); },
            true);
    for (const std::string name : kCEntryPoints)
        map.Export(name + " (C entry point)", [&](const Symbol& s) { return s.mangled == name; });
    return map.Script();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: orb_exportmap NM STATIC-LIBRARY OUTPUT[.def]\n";
        return 2;
    }
    try {
        const std::string output = argv[3];
        const bool def = output.size() > 4 && output.compare(output.size() - 4, 4, ".def") == 0;
        const std::string script = Script(DefinedSymbols(argv[1], argv[2], def), def);
        std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
        out << script;
        if (!out.flush()) throw std::runtime_error(std::string("cannot write ") + argv[3]);
    } catch (const std::exception& e) {
        std::cerr << "orb_exportmap: " << e.what() << "\n";
        std::remove(argv[3]);
        return 1;
    }
    return 0;
}
