#include <cctype>
#include <filesystem>
#include <memory>
#include <vector>

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/rsa.h>

#include "framework/Text.h"
#include "platform/Platform.h"
#include "readings/Signature.h"

namespace Orb00100 {

namespace {

constexpr std::size_t kKeyDigits = 256;
constexpr const char* kKeyFileName = "EadChaves.ini";

struct KeyFree {
    void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
};
struct BnFree {
    void operator()(BIGNUM* b) const { BN_clear_free(b); }
};

std::string Hex(const BIGNUM* value, std::size_t bytes) {
    std::vector<unsigned char> buffer(bytes);
    if (BN_bn2binpad(value, buffer.data(), static_cast<int>(bytes)) < 0) return {};
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : buffer) {
        out += kDigits[b >> 4];
        out += kDigits[b & 0x0F];
    }
    return out;
}

bool IsKey(const std::string& text) {
    if (text.size() != kKeyDigits) return false;
    for (char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

// The value of a key anywhere in the file, the key compared without regard to case.
std::string ValueOf(const std::string& contents, const std::string& key) {
    for (std::string line : orb::fw::SplitString(contents, '\n')) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (orb::fw::SameText(orb::fw::Trim(line.substr(0, eq)), key)) return orb::fw::Trim(line.substr(eq + 1));
    }
    return {};
}

// A fresh 1,024-bit pair written as the key file, readable by its owner alone from the start:
// the file is written under another name, closed to others, then renamed into place.
bool WriteDevelopmentPair(const std::string& path) {
    std::unique_ptr<EVP_PKEY, KeyFree> key(EVP_RSA_gen(1024));
    if (!key) return false;
    BIGNUM *n = nullptr, *e = nullptr, *d = nullptr;
    const bool read = EVP_PKEY_get_bn_param(key.get(), OSSL_PKEY_PARAM_RSA_N, &n) &&
                      EVP_PKEY_get_bn_param(key.get(), OSSL_PKEY_PARAM_RSA_E, &e) &&
                      EVP_PKEY_get_bn_param(key.get(), OSSL_PKEY_PARAM_RSA_D, &d);
    std::unique_ptr<BIGNUM, BnFree> nOwned(n), eOwned(e), dOwned(d);
    if (!read) return false;
    const std::string text =
        "; Development key pair of the electronic signature, generated on first use.\r\n"
        "; A certified installation replaces this file with its own pair.\r\n"
        "[EAD]\r\nPublicKey=" +
        Hex(n, 128) + "\r\nPrivateKey=" + Hex(d, 128) + "\r\nPublicExponent=" + Hex(e, 3) + "\r\n";
    const std::string temporary = path + ".new";
    std::filesystem::path native(orb::platform::NativePath(temporary));
    if (!orb::platform::WriteFile(temporary, "")) return false;
    std::error_code ignored;
    std::filesystem::permissions(native, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::replace, ignored);
    if (!orb::platform::WriteFile(temporary, text) || !orb::platform::RenameFile(temporary, path)) {
        orb::platform::DeleteFile(temporary);
        return false;
    }
    return true;
}

}  // namespace

std::string SigningKeyFile() { return orb::platform::JoinPath(orb::platform::SystemDirectory(), kKeyFileName); }

std::optional<SigningKeys> LoadSigningKeys() {
    const std::string path = SigningKeyFile();
    if (!orb::platform::FileExists(path) && !WriteDevelopmentPair(path)) return std::nullopt;
    std::string contents;
    if (!orb::platform::ReadFile(path, contents)) return std::nullopt;
    SigningKeys keys{ValueOf(contents, "PublicKey"), ValueOf(contents, "PrivateKey")};
    if (!IsKey(keys.publicKey) || !IsKey(keys.privateKey)) return std::nullopt;
    return keys;
}

}  // namespace Orb00100
