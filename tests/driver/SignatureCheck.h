#pragma once
// Checks a signed file as the tax authority does: the last line "EAD" + signature, verified with
// OpenSSL against the public key of the key file (RSA, PKCS #1 v1.5 over the MD5 digest of what
// precedes that line). Nothing of the module's or the signing library's code is used.
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>

namespace orb::test {

inline std::string KeyValue(const std::string& keyFile, const std::string& key) {
    std::ifstream in(keyFile, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    }
    return {};
}

// Empty when the file verifies; otherwise why not.
inline std::string SignatureProblem(const std::string& signedFile, const std::string& keyFile) {
    std::ifstream in(signedFile, std::ios::binary);
    const std::string contents((std::istreambuf_iterator<char>(in)), {});
    if (contents.size() < 2 || contents.compare(contents.size() - 2, 2, "\r\n") != 0) return "no line end at the end";
    const std::size_t lineStart = contents.rfind('\n', contents.size() - 3);
    const std::size_t from = lineStart == std::string::npos ? 0 : lineStart + 1;
    if (contents.compare(from, 3, "EAD") != 0) return "no EAD line";
    const std::string body = contents.substr(0, from);
    const std::string hex = contents.substr(from + 3, contents.size() - 2 - from - 3);

    BIGNUM *n = nullptr, *e = nullptr;
    if (!BN_hex2bn(&n, KeyValue(keyFile, "PublicKey").c_str()) ||
        !BN_hex2bn(&e, KeyValue(keyFile, "PublicExponent").c_str()))
        return "no public key";
    std::unique_ptr<BIGNUM, decltype(&BN_free)> nOwned(n, BN_free), eOwned(e, BN_free);
    std::unique_ptr<OSSL_PARAM_BLD, decltype(&OSSL_PARAM_BLD_free)> build(OSSL_PARAM_BLD_new(), OSSL_PARAM_BLD_free);
    OSSL_PARAM_BLD_push_BN(build.get(), OSSL_PKEY_PARAM_RSA_N, n);
    OSSL_PARAM_BLD_push_BN(build.get(), OSSL_PKEY_PARAM_RSA_E, e);
    std::unique_ptr<OSSL_PARAM, decltype(&OSSL_PARAM_free)> params(OSSL_PARAM_BLD_to_param(build.get()),
                                                                   OSSL_PARAM_free);
    std::unique_ptr<EVP_PKEY_CTX, decltype(&EVP_PKEY_CTX_free)> ctx(EVP_PKEY_CTX_new_from_name(nullptr, "RSA", nullptr),
                                                                    EVP_PKEY_CTX_free);
    EVP_PKEY* raw = nullptr;
    if (EVP_PKEY_fromdata_init(ctx.get()) <= 0 ||
        EVP_PKEY_fromdata(ctx.get(), &raw, EVP_PKEY_PUBLIC_KEY, params.get()) <= 0)
        return "the public key does not load";
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(raw, EVP_PKEY_free);

    std::vector<unsigned char> signature;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        signature.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> md(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    if (EVP_DigestVerifyInit(md.get(), nullptr, EVP_md5(), nullptr, key.get()) <= 0) return "no verifier";
    const int verdict = EVP_DigestVerify(md.get(), signature.data(), signature.size(),
                                         reinterpret_cast<const unsigned char*>(body.data()), body.size());
    return verdict == 1 ? std::string() : "the signature does not match";
}

}  // namespace orb::test
