#include "fiscalfiles/FilePlaces.h"

#include "framework/Exceptions.h"
#include "platform/Platform.h"
#include "readings/Signature.h"

namespace Orb00100 {

std::string MenuFolder() {
    const std::string folder = orb::platform::HostDirectory() + "\\Dados\\MenuFiscal";
    if (!orb::platform::ForceDirectories(folder))
        throw orb::fw::Exception("Cannot create " + folder + ": " + orb::platform::LastErrorMessage());
    return folder;
}

std::string MenuFile(const std::string& name) { return MenuFolder() + "\\" + name; }

std::string RootWorkFile(const std::string& name) {
#ifdef _WIN32
    return "c:\\" + name;
#else
    return WorkFile(name);
#endif
}

std::string WorkFile(const std::string& name) { return orb::platform::HostDirectory() + "\\" + name; }

const orb::fw::Variant& At(std::span<const orb::fw::Variant> params, std::size_t i) {
    if (i >= params.size()) throw orb::fw::EVariantError("Parameter " + std::to_string(i) + " is missing");
    return params[i];
}

std::string TextAt(std::span<const orb::fw::Variant> params, std::size_t i) { return At(params, i).ToString(); }

void PutResult(orb::fw::Variant& result, std::size_t i, const orb::fw::Variant& value) {
    if (result.ArraySize() <= i) {
        orb::fw::Variant grown = orb::fw::Variant::MakeArray(i + 1);
        for (std::size_t k = 0; k < result.ArraySize(); ++k) grown[k] = result[k];
        result = grown;
    }
    result[i] = value;
}

bool SignInside(const std::string& file) {
    std::string ead;
    return SignFile(file, "1", ead);
}

bool SignWithCompanion(const std::string& file, const std::string& companion) {
    std::string ead;
    return SignFile(file, "0", ead) && orb::platform::WriteFile(companion, "EAD" + ead);
}

}  // namespace Orb00100
