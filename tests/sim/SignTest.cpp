// The signing stand-in, through its C entry points only.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>

#include "orb00100/VendorApi.h"
#include "platform/Platform.h"
#include "platform/PlatformTestSupport.h"

namespace {

struct SignLib {
    PFN_setLibType setLibType;
    PFN_genkkey genkkey;
    PFN_generateEAD generateEAD;
    PFN_validateFile validateFile;
};

// A key pair made by OpenSSL itself, so a signature can be checked with the public half.
struct TestKey {
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> pkey{nullptr, EVP_PKEY_free};
    std::string modulus, exponent;  // 256 hexadecimal digits each, as the signing library takes them
};

TestKey MakeKey() {
    TestKey key;
    key.pkey.reset(EVP_PKEY_Q_keygen(nullptr, nullptr, "RSA", static_cast<size_t>(1024)));
    auto hex256 = [&key](const char* param) {
        BIGNUM* n = nullptr;
        EVP_PKEY_get_bn_param(key.pkey.get(), param, &n);
        char* hex = BN_bn2hex(n);
        std::string digits(hex);
        OPENSSL_free(hex);
        BN_clear_free(n);
        return std::string(256 - digits.size(), '0') + digits;
    };
    key.modulus = hex256(OSSL_PKEY_PARAM_RSA_N);
    key.exponent = hex256(OSSL_PKEY_PARAM_RSA_D);
    return key;
}

// True when signatureHex is the PKCS #1 v1.5 RSA signature of data's MD5 digest.
bool Verifies(EVP_PKEY* pkey, const std::string& data, const std::string& signatureHex) {
    BIGNUM* number = nullptr;
    unsigned char signature[128];
    const bool isHex = BN_hex2bn(&number, signatureHex.c_str()) == static_cast<int>(signatureHex.size()) &&
                       BN_bn2binpad(number, signature, 128) == 128;
    BN_free(number);
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    return isHex && EVP_DigestVerifyInit(ctx.get(), nullptr, EVP_md5(), nullptr, pkey) == 1 &&
           EVP_DigestVerify(ctx.get(), signature, sizeof signature, reinterpret_cast<const unsigned char*>(data.data()),
                            data.size()) == 1;
}

class SignTest : public orbtest::ScratchFolder {
protected:
    static void SetUpTestSuite() { key = new TestKey(MakeKey()); }
    static void TearDownTestSuite() { delete key; }
    void SetUp() override {
        ScratchFolder::SetUp();
        const auto handle = orb::platform::LoadLibrary("sign_bema.dll");
        ASSERT_NE(handle, 0u);
        auto get = [handle](const char* name) { return orb::platform::GetProcAddress(handle, name); };
        lib = {reinterpret_cast<PFN_setLibType>(get("setLibType")), reinterpret_cast<PFN_genkkey>(get("genkkey")),
               reinterpret_cast<PFN_generateEAD>(get("generateEAD")),
               reinterpret_cast<PFN_validateFile>(get("validateFile"))};
        ASSERT_TRUE(lib.generateEAD && lib.validateFile && lib.genkkey && lib.setLibType);
    }

    std::string File(const std::string& name, const std::string& contents) {
        Put(Path(name), contents);
        return Path(name);
    }
    // The suite's key unless another modulus or exponent is given.
    int Generate(const std::string& path, char* ead, int mode, const std::string* modulus = nullptr,
                 const std::string* exponent = nullptr) {
        std::string file = path, n = modulus ? *modulus : key->modulus, d = exponent ? *exponent : key->exponent;
        return lib.generateEAD(file.data(), n.data(), d.data(), ead, mode);
    }
    int Validate(const std::string& path, const std::string* modulus = nullptr, const std::string* exponent = nullptr) {
        std::string file = path, n = modulus ? *modulus : key->modulus, d = exponent ? *exponent : key->exponent;
        return lib.validateFile(file.data(), n.data(), d.data());
    }

    static TestKey* key;
    SignLib lib{};
};

TestKey* SignTest::key = nullptr;

}  // namespace

TEST_F(SignTest, ModeOneAppendsARealSignatureThatValidates) {
    const std::string body = "E1 0001 FABRICANTE\r\nE2 0002\r\n";
    const std::string path = File("LMFC_1.txt", body);
    std::string ead(256, ' ');
    ASSERT_EQ(Generate(path, ead.data(), 1), 1);

    const std::string signedFile = Get(path);
    EXPECT_EQ(signedFile, body + "EAD" + ead + "\r\n");
    EXPECT_EQ(ead.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    EXPECT_TRUE(Verifies(key->pkey.get(), body, ead));

    EXPECT_EQ(Validate(path), 1);
    // A one-byte change anywhere fails, in the body or in the signature.
    for (std::size_t at : {std::size_t{0}, body.size() - 3, body.size() + 10}) {
        std::string tampered = signedFile;
        tampered[at] = static_cast<char>(tampered[at] == '0' ? '1' : '0');
        EXPECT_EQ(Validate(File("tampered.txt", tampered)), 0) << at;
    }
    EXPECT_EQ(Validate(File("plain.txt", body)), 0);  // never signed
    // Another private exponent for the same modulus (still below it) signs differently.
    std::string other = key->exponent;
    other.back() = other.back() == '1' ? '3' : '1';
    EXPECT_EQ(Validate(path, nullptr, &other), 0);
}

TEST_F(SignTest, ModeZeroLeavesTheFileAndAnswersTheDigits) {
    const std::string bytes("MF\x00\x01\xFF binary", 12);
    const std::string path = File("ECF.MF", bytes);
    std::string ead(256, ' ');
    ASSERT_EQ(Generate(path, ead.data(), 0), 1);
    EXPECT_EQ(Get(path), bytes);
    EXPECT_TRUE(Verifies(key->pkey.get(), bytes, ead));

    // A file without a final line break gets one before its EAD line; it is part of what is signed.
    const std::string open = File("Espelho_MFD_1.txt", "last line");
    std::string unused(256, ' ');
    ASSERT_EQ(Generate(open, unused.data(), 1), 1);
    EXPECT_EQ(Get(open).substr(0, 14), "last line\r\nEAD");
    EXPECT_TRUE(Verifies(key->pkey.get(), "last line\r\n", unused));
    EXPECT_EQ(Validate(open), 1);
}

TEST_F(SignTest, RefusalsLeaveFilesAndAreasAlone) {
    const std::string body = "data\r\n";
    const std::string path = File("f.txt", body);
    std::string ead(256, ' ');
    std::string notHex(256, 'G'), even = key->modulus, zero(256, '0');
    even.back() = '2';
    // The last exponent is not below the modulus.
    EXPECT_EQ((std::vector{Generate(path, ead.data(), 1, &notHex), Generate(path, ead.data(), 1, &even),
                           Generate(path, ead.data(), 1, nullptr, &zero), Generate(Path("missing.txt"), ead.data(), 1),
                           Generate(path, ead.data(), 2), Generate(path, ead.data(), 1, nullptr, &key->modulus)}),
              (std::vector{-1, -1, -1, -2, -3, -1}));
    EXPECT_EQ(Get(path), body);
    EXPECT_EQ(ead, std::string(256, ' '));
    EXPECT_EQ(Validate(Path("missing.txt")), -2);

    // An answer area shorter than the signature is filled, never overrun.
    char area[40];
    std::memset(area, '#', sizeof area);
    std::memset(area, ' ', 20);
    area[20] = '\0';
    ASSERT_EQ(Generate(path, area, 0), 1);
    EXPECT_EQ(std::strlen(area), 20u);
    EXPECT_EQ(area[21], '#');
    EXPECT_EQ(Generate(path, nullptr, 0), 1);
}

TEST_F(SignTest, GeneratedKeysSign) {
    EXPECT_EQ(lib.setLibType(1), 1);
    std::string n(256, ' '), d(256, ' ');
    ASSERT_EQ(lib.genkkey(n.data(), d.data()), 1);
    EXPECT_EQ((n + d).find_first_not_of("0123456789ABCDEF"), std::string::npos);
    EXPECT_NE(n, d);
    const std::string path = File("k.txt", "x\r\n");
    std::string ead(256, ' ');
    ASSERT_EQ(Generate(path, ead.data(), 1, &n, &d), 1);
    EXPECT_EQ(Validate(path, &n, &d), 1);

    std::string narrow(100, ' ');
    EXPECT_EQ(lib.genkkey(narrow.data(), d.data()), -4);
    EXPECT_EQ(narrow, std::string(100, ' '));
}
