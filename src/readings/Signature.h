#pragma once
// The electronic signature of the fiscal files the module hands out, made by the maker's signing
// library with the certified software's key pair.
//
// The key pair is not part of the module: it is read from "EadChaves.ini" in the system folder
// (beside Bemafi32.ini), section [EAD], keys "PublicKey" and "PrivateKey", 256 hexadecimal digits
// each. A certified installation supplies its own file, readable by the till's account only.
// Where none exists, a development pair is generated on first use (readable and writable by its
// owner alone), so the virtual printer's files can be signed and checked; its public exponent is
// written beside it ("PublicExponent") for whoever verifies the signatures. The keys are never
// logged or shown.
#include <optional>
#include <string>

namespace Orb00100 {

// Signs fileName through the signing library; mode "1" writes the signature into the file,
// "0" leaves the file as it is. ead receives the signature text (256 characters) when the
// signing call was made and is unchanged otherwise. A library or entry point that is missing
// is silent. A mode that is not a decimal number raises fw::EConvertError.
void geraEad(const std::string& fileName, const std::string& mode, std::string& ead);

// As geraEad, and whether the library signed the file (its answer was 1).
bool SignFile(const std::string& fileName, const std::string& mode, std::string& ead);

struct SigningKeys {
    std::string publicKey;   // hexadecimal, passed second to the signing call
    std::string privateKey;  // hexadecimal, passed third
};
// The key pair of the key file, generating the development pair when there is no file; nullopt
// when the file cannot be read or is incomplete (no pair is generated over an existing file).
std::optional<SigningKeys> LoadSigningKeys();
// The key file's full name.
std::string SigningKeyFile();

}  // namespace Orb00100
