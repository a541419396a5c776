// The entry points of the signing stand-in (sign_bema.dll).
//
// generateEAD(file, modulus, privateExponent, ead, mode) signs the file's bytes:
//   mode 1: appends the line "EAD" + the signature + CR LF to the file (a line break first when
//           the file does not end with one; that break is part of what is signed);
//   mode 0: leaves the file as it is.
// In both modes the signature's digits go into the caller's ead area, cut to its blanks.
// validateFile(file, modulus, privateExponent) takes the file's last line as its "EAD" line,
// signs what precedes it again and compares.
//
// Return codes: 1 done (validateFile: the signature matches); 0 validateFile only: no EAD line
// or a signature that does not match; -1 a key that is not usable; -2 the file cannot be read
// or written; -3 a mode other than 0 or 1; -4 genkkey only: an area narrower than a key.
#define ORB_VENDOR_PROTOTYPES
#include "common/SimExport.h"
#include "orb00100/VendorApi.h"

#include <string>

#include "common/SimText.h"
#include "platform/Platform.h"
#include "sign/SignRsa.h"

using namespace orb::sim;

namespace {

constexpr int kDone = 1;
constexpr int kMismatch = 0;
constexpr int kBadKey = -1;
constexpr int kFileError = -2;
constexpr int kBadMode = -3;
constexpr int kAreaTooSmall = -4;

int libType = 0;  // recorded for completeness: every library type signs the same way here

template <typename F>
int Guarded(F&& body) {
    try {
        return body();
    } catch (...) {
        return kFileError;
    }
}

bool EndsWithLineBreak(const std::string& s) { return !s.empty() && (s.back() == '\n' || s.back() == '\r'); }

// Splits a signed file into what was signed and its EAD line's digits; false without one.
bool SplitSigned(const std::string& contents, std::string& body, std::string& digits) {
    std::size_t end = contents.size();
    while (end > 0 && (contents[end - 1] == '\n' || contents[end - 1] == '\r')) --end;
    const std::size_t lineStart = end == 0 ? std::string::npos : contents.find_last_of("\r\n", end - 1);
    const std::size_t from = lineStart == std::string::npos ? 0 : lineStart + 1;
    if (end < from + 3 || contents.compare(from, 3, "EAD") != 0) return false;
    body = contents.substr(0, from);
    digits = contents.substr(from + 3, end - from - 3);
    return true;
}

}  // namespace

extern "C" {

ORB_SIM_EXPORT int ORB_VENDOR_CALL setLibType(int type) {
    libType = type;
    return kDone;
}

ORB_SIM_EXPORT int ORB_VENDOR_CALL genkkey(char* outModulus, char* outPrivateExponent) {
    return Guarded([&] {
        std::string modulus, exponent;
        if (AreaWidth(outModulus) < 256 || AreaWidth(outPrivateExponent) < 256) return kAreaTooSmall;
        if (!sign::GenerateKeyPair(modulus, exponent)) return kBadKey;
        WriteArea(outModulus, AreaWidth(outModulus), modulus);
        WriteArea(outPrivateExponent, AreaWidth(outPrivateExponent), exponent);
        return kDone;
    });
}

ORB_SIM_EXPORT int ORB_VENDOR_CALL generateEAD(char* fileName, char* modulus, char* privateExponent, char* outEad,
                                               int mode) {
    return Guarded([&] {
        if (mode != 0 && mode != 1) return kBadMode;
        const std::string path = orb::platform::NativePath(InText(fileName));
        std::string contents;
        if (path.empty() || !orb::platform::ReadFile(path, contents)) return kFileError;
        std::string separator;
        if (mode == 1 && !contents.empty() && !EndsWithLineBreak(contents)) separator = "\r\n";
        const auto signature = sign::Sign(contents + separator, InText(modulus), InText(privateExponent));
        if (!signature) return kBadKey;
        if (mode == 1 && !orb::platform::AppendToFile(path, separator + "EAD" + *signature + "\r\n")) return kFileError;
        WriteArea(outEad, AreaWidth(outEad), *signature);
        return kDone;
    });
}

ORB_SIM_EXPORT int ORB_VENDOR_CALL validateFile(char* fileName, char* modulus, char* privateExponent) {
    return Guarded([&] {
        const std::string path = orb::platform::NativePath(InText(fileName));
        std::string contents;
        if (path.empty() || !orb::platform::ReadFile(path, contents)) return kFileError;
        std::string body, digits;
        if (!SplitSigned(contents, body, digits)) return kMismatch;
        const auto signature = sign::Sign(body, InText(modulus), InText(privateExponent));
        if (!signature) return kBadKey;
        return UpperCp1252(digits) == *signature ? kDone : kMismatch;
    });
}

}  // extern "C"
