// The host's text cipher. AES-SIV is deterministic (the same serial always enciphers to the
// same text, so a stored row can be found by it) and authenticated (a changed cipher text
// fails instead of deciphering to garbage).
#include "external/hostlib/HostLib.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <array>
#include <memory>

#include "framework/Exceptions.h"

namespace orb::hostlib {

namespace {

constexpr std::size_t kTagSize = 16;
constexpr std::size_t kKeySize = 32;  // AES-128-SIV takes two 128-bit keys

// The module's own secret; each selector derives its own key from it.
constexpr unsigned char kSecret[] = {0x6f, 0x72, 0x62, 0x30, 0x30, 0x31, 0x30, 0x30, 0x2d, 0x68, 0x6f,
                                     0x73, 0x74, 0x6c, 0x69, 0x62, 0x9a, 0x3c, 0x51, 0xe7, 0x08, 0xb4,
                                     0x6d, 0x22, 0xf1, 0x5e, 0x93, 0x0a, 0xc8, 0x47, 0x1b, 0x7d};

struct CtxDeleter {
    void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};
using CtxPtr = std::unique_ptr<EVP_CIPHER_CTX, CtxDeleter>;

const EVP_CIPHER* SivCipher() {
    static EVP_CIPHER* cipher = EVP_CIPHER_fetch(nullptr, "AES-128-SIV", nullptr);
    if (cipher == nullptr) throw fw::Exception("The text cipher is not available (AES-128-SIV)");
    return cipher;
}

std::array<unsigned char, kKeySize> KeyFor(int selector) {
    std::string label = "cipher-selector:" + std::to_string(selector);
    std::array<unsigned char, kKeySize> key{};
    unsigned int size = 0;
    if (HMAC(EVP_sha256(), kSecret, sizeof kSecret, reinterpret_cast<const unsigned char*>(label.data()), label.size(),
             key.data(), &size) == nullptr ||
        size != kKeySize)
        throw fw::Exception("The text cipher could not derive its key");
    return key;
}

CtxPtr NewContext() {
    CtxPtr ctx(EVP_CIPHER_CTX_new());
    if (!ctx) throw fw::Exception("The text cipher could not start");
    return ctx;
}

std::string ToHex(const std::string& bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 0x0f];
    }
    return out;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

[[noreturn]] void NotEnciphered(std::string_view cipher) {
    throw fw::EConvertError("'" + std::string(cipher) + "' is not a valid enciphered text");
}

}  // namespace

std::string Cripto(std::string_view text, int selector) {
    if (text.empty()) return {};
    auto key = KeyFor(selector);
    CtxPtr ctx = NewContext();
    std::string out(text.size(), '\0');
    std::array<unsigned char, kTagSize> tag{};
    int written = 0, finalWritten = 0;
    if (EVP_EncryptInit_ex2(ctx.get(), SivCipher(), key.data(), nullptr, nullptr) != 1 ||
        EVP_EncryptUpdate(ctx.get(), reinterpret_cast<unsigned char*>(out.data()), &written,
                          reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size())) != 1 ||
        EVP_EncryptFinal_ex(ctx.get(), reinterpret_cast<unsigned char*>(out.data()) + written, &finalWritten) != 1 ||
        EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_AEAD_GET_TAG, static_cast<int>(kTagSize), tag.data()) != 1)
        throw fw::Exception("The text cipher failed");
    out.resize(static_cast<std::size_t>(written + finalWritten));
    return ToHex(std::string(tag.begin(), tag.end()) + out);
}

std::string Uncripto(std::string_view cipher, int selector) {
    auto first = cipher.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    std::string_view hex = cipher.substr(first, cipher.find_last_not_of(' ') - first + 1);
    // A tag alone would be the empty text, which enciphers to "" instead.
    if (hex.size() % 2 != 0 || hex.size() <= kTagSize * 2) NotEnciphered(cipher);
    std::string bytes(hex.size() / 2, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        int hi = HexValue(hex[2 * i]), lo = HexValue(hex[2 * i + 1]);
        if (hi < 0 || lo < 0) NotEnciphered(cipher);
        bytes[i] = static_cast<char>(hi << 4 | lo);
    }
    auto key = KeyFor(selector);
    CtxPtr ctx = NewContext();
    std::string tag = bytes.substr(0, kTagSize);
    std::string body = bytes.substr(kTagSize);
    std::string out(body.size(), '\0');
    int written = 0, finalWritten = 0;
    if (EVP_DecryptInit_ex2(ctx.get(), SivCipher(), key.data(), nullptr, nullptr) != 1 ||
        EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_AEAD_SET_TAG, static_cast<int>(kTagSize), tag.data()) != 1)
        throw fw::Exception("The text cipher failed");
    // The tag is checked here: a changed text or another selector fails.
    if (EVP_DecryptUpdate(ctx.get(), reinterpret_cast<unsigned char*>(out.data()), &written,
                          reinterpret_cast<const unsigned char*>(body.data()), static_cast<int>(body.size())) != 1 ||
        EVP_DecryptFinal_ex(ctx.get(), reinterpret_cast<unsigned char*>(out.data()) + written, &finalWritten) != 1)
        NotEnciphered(cipher);
    out.resize(static_cast<std::size_t>(written + finalWritten));
    return out;
}

}  // namespace orb::hostlib
