#include "readings/Signature.h"

#include "external/vendor/EntryPoints.h"
#include "framework/NumberFormat.h"
#include "platform/Platform.h"

namespace Orb00100 {

namespace {

constexpr int kSignatureWidth = 256;
constexpr int kSigned = 1;

// The signing library stays loaded once found; the fiscal library's handle is never touched.
orb::platform::LibHandle signingLibrary = 0;

template <class Variable>
bool Bind(Variable& variable, const char* name) {
    variable = reinterpret_cast<Variable>(orb::platform::GetProcAddress(signingLibrary, name));
    return variable != nullptr;
}

void Unbind() {
    Bematech_setLibType = nullptr;
    Bematech_genkkey = nullptr;
    Bematech_generateEAD = nullptr;
    Bematech_validateFile = nullptr;
}

// The entry points hold their addresses for the length of one signature only.
struct BoundForOneCall {
    ~BoundForOneCall() { Unbind(); }
};

}  // namespace

bool SignFile(const std::string& fileName, const std::string& mode, std::string& ead) {
    if (signingLibrary == 0) signingLibrary = orb::platform::LoadLibrary("sign_bema.dll");
    if (signingLibrary == 0) return false;
    BoundForOneCall bound;
    if (!Bind(Bematech_setLibType, "setLibType") || !Bind(Bematech_genkkey, "genkkey") ||
        !Bind(Bematech_generateEAD, "generateEAD") || !Bind(Bematech_validateFile, "validateFile"))
        return false;
    const int signingMode = orb::fw::StrToInt(mode);
    const std::optional<SigningKeys> keys = LoadSigningKeys();
    if (!keys) return false;
    std::string name = fileName, publicKey = keys->publicKey, privateKey = keys->privateKey;
    std::string signature(kSignatureWidth, ' ');
    // The library writes the signature over the blanks; room for a terminator behind them.
    signature.reserve(kSignatureWidth + 1);
    const int code =
        Bematech_generateEAD(name.data(), publicKey.data(), privateKey.data(), signature.data(), signingMode);
    ead = signature;
    return code == kSigned;
}

void geraEad(const std::string& fileName, const std::string& mode, std::string& ead) { SignFile(fileName, mode, ead); }

}  // namespace Orb00100
