#include "sign/SignRsa.h"

#include <cctype>
#include <memory>
#include <vector>

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/rsa.h>

namespace orb::sim::sign {

namespace {

struct BnFree {
    void operator()(BIGNUM* b) const { BN_clear_free(b); }
};
struct CtxFree {
    void operator()(BN_CTX* c) const { BN_CTX_free(c); }
};
struct KeyFree {
    void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
};
using Bn = std::unique_ptr<BIGNUM, BnFree>;

// DigestInfo of an MD5 digest (PKCS #1): the algorithm's identifier, then the 16 digest bytes.
constexpr unsigned char kMd5DigestInfo[] = {0x30, 0x20, 0x30, 0x0c, 0x06, 0x08, 0x2a, 0x86, 0x48,
                                            0x86, 0xf7, 0x0d, 0x02, 0x05, 0x05, 0x00, 0x04, 0x10};

Bn FromHex(std::string_view hex) {
    std::string digits;
    for (char c : hex) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;  // blanks around a key read from a file
        if (!std::isxdigit(static_cast<unsigned char>(c))) return nullptr;
        digits += c;
    }
    if (digits.empty()) return nullptr;
    BIGNUM* value = nullptr;
    if (BN_hex2bn(&value, digits.c_str()) != static_cast<int>(digits.size())) {
        BN_free(value);
        return nullptr;
    }
    return Bn(value);
}

std::string ToHex(const unsigned char* bytes, std::size_t n) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(n * 2);
    for (std::size_t i = 0; i < n; ++i) {
        out += kHex[bytes[i] >> 4];
        out += kHex[bytes[i] & 0x0F];
    }
    return out;
}

std::string PaddedHex(const BIGNUM* value, std::size_t bytes) {
    std::vector<unsigned char> buffer(bytes);
    if (BN_bn2binpad(value, buffer.data(), static_cast<int>(bytes)) < 0) return {};
    return ToHex(buffer.data(), bytes);
}

}  // namespace

std::optional<std::string> Sign(std::string_view data, std::string_view modulusHex, std::string_view exponentHex) {
    Bn n = FromHex(modulusHex);
    Bn d = FromHex(exponentHex);
    if (!n || !d || !BN_is_odd(n.get()) || BN_is_zero(d.get()) || BN_cmp(d.get(), n.get()) >= 0) return std::nullopt;
    const auto k = static_cast<std::size_t>(BN_num_bytes(n.get()));
    const std::size_t digestInfoSize = sizeof kMd5DigestInfo + 16;
    if (k < digestInfoSize + 11) return std::nullopt;

    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int digestSize = 0;
    if (!EVP_Digest(data.data(), data.size(), digest, &digestSize, EVP_md5(), nullptr) || digestSize != 16) {
        return std::nullopt;
    }
    // EM = 00 01 FF..FF 00 DigestInfo
    std::vector<unsigned char> em(k, 0xFF);
    em[0] = 0x00;
    em[1] = 0x01;
    em[k - digestInfoSize - 1] = 0x00;
    std::copy(std::begin(kMd5DigestInfo), std::end(kMd5DigestInfo),
              em.begin() + static_cast<std::ptrdiff_t>(k - digestInfoSize));
    std::copy(digest, digest + 16, em.end() - 16);

    std::unique_ptr<BN_CTX, CtxFree> ctx(BN_CTX_new());
    Bn m(BN_bin2bn(em.data(), static_cast<int>(em.size()), nullptr));
    Bn s(BN_new());
    if (!ctx || !m || !s) return std::nullopt;
    BN_set_flags(d.get(), BN_FLG_CONSTTIME);
    if (!BN_mod_exp_mont_consttime(s.get(), m.get(), d.get(), n.get(), ctx.get(), nullptr)) return std::nullopt;
    std::string hex = PaddedHex(s.get(), k);
    if (hex.empty()) return std::nullopt;
    return hex;
}

bool GenerateKeyPair(std::string& modulusHex, std::string& exponentHex) {
    std::unique_ptr<EVP_PKEY, KeyFree> key(EVP_RSA_gen(1024));
    if (!key) return false;
    BIGNUM* n = nullptr;
    BIGNUM* d = nullptr;
    const bool ok = EVP_PKEY_get_bn_param(key.get(), OSSL_PKEY_PARAM_RSA_N, &n) &&
                    EVP_PKEY_get_bn_param(key.get(), OSSL_PKEY_PARAM_RSA_D, &d);
    Bn nOwned(n), dOwned(d);
    if (!ok) return false;
    modulusHex = PaddedHex(n, 128);
    exponentHex = PaddedHex(d, 128);
    return !modulusHex.empty() && !exponentHex.empty();
}

}  // namespace orb::sim::sign
