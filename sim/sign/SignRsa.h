#pragma once
// The signature of the signing stand-in: RSA (PKCS #1 v1.5) over the MD5 digest of a file's
// bytes, with a key given as a hexadecimal modulus and private exponent. The signature is
// deterministic, so a signature can be checked by computing it again.
#include <optional>
#include <string>
#include <string_view>

namespace orb::sim::sign {

// The signature as upper-case hexadecimal digits, two per byte of the modulus (256 for a
// 1,024-bit key); nullopt when the key is not usable (not hexadecimal, an even or too small
// modulus, an exponent of zero or not below the modulus).
std::optional<std::string> Sign(std::string_view data, std::string_view modulusHex, std::string_view exponentHex);

// A fresh 1,024-bit key pair: modulus and private exponent, 256 upper-case hexadecimal digits each.
bool GenerateKeyPair(std::string& modulusHex, std::string& exponentHex);

}  // namespace orb::sim::sign
