#include "fiscalfiles/Generators.h"

#include "external/vendor/EntryPoints.h"
#include "framework/Cp1252.h"
#include "framework/Exceptions.h"
#include "platform/Platform.h"

namespace Orb00100 {

namespace {

orb::platform::LibHandle Library(const char* name) {
    const orb::platform::LibHandle lib = orb::platform::LoadLibrary(name);
    if (lib == 0) throw orb::fw::Exception(CP("Biblioteca ") + name + CP(" não encontrada"));
    return lib;
}

template <class Variable>
void Bind(orb::platform::LibHandle lib, Variable& variable, const char* library, const char* symbol) {
    variable = reinterpret_cast<Variable>(orb::platform::GetProcAddress(lib, symbol));
    if (variable == nullptr) throw orb::fw::Exception(std::string(symbol) + CP(" não encontrada em ") + library);
}

}  // namespace

void BindMfd2Generators() {
    static const orb::platform::LibHandle lib = Library("BemaMFD2.dll");
    Bind(lib, Bematech_GeraTxtPorCOO, "BemaMFD2.dll", "BemaGeraTxtPorCOO");
    Bind(lib, Bematech_GeraRegistrosTipoE, "BemaMFD2.dll", "BemaGeraRegistrosTipoE");
}

void BindMfd3Generator() {
    static const orb::platform::LibHandle lib = Library("BemaMFD3.dll");
    Bind(lib, Bematech_RegistroTipoEMFD3, "BemaMFD3.dll", "BemaGeraRegistrosTipoE");
}

std::string DayCode(int n) {
    static const std::string kCodes = "123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    if (n < 0 || n > 35) return {};
    return std::string(1, kCodes[n == 0 ? 0 : n - 1]);
}

}  // namespace Orb00100
