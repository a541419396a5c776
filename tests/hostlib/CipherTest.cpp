#include <gtest/gtest.h>

#include "external/hostlib/HostLib.h"
#include "framework/Cp1252.h"
#include "framework/Exceptions.h"

using namespace orb::hostlib;
using orb::fw::EConvertError;

namespace {
constexpr int kSelector = 7;
}

TEST(HostCipher, RoundTripsEveryText) {
    const std::string texts[] = {"1234567,89",
                                 "BE091010100011200318",
                                 "10,10",
                                 "x",
                                 CP("Razão Social Ltda - São Paulo"),
                                 std::string("a\0b\xff", 4),
                                 std::string(3000, 'z')};
    for (const std::string& text : texts) {
        std::string cipher = Cripto(text, kSelector);
        EXPECT_EQ(cipher.size(), 32 + 2 * text.size());
        EXPECT_EQ(cipher.find_first_not_of("0123456789ABCDEF"), std::string::npos) << cipher;
        EXPECT_EQ(Uncripto(cipher, kSelector), text);
    }
}

TEST(HostCipher, IsDeterministicPerSelector) {
    const std::string serial = "BE091010100011200318";
    EXPECT_EQ(Cripto(serial, kSelector), Cripto(serial, kSelector));
    EXPECT_NE(Cripto(serial, kSelector), Cripto(serial, kSelector + 1));
    EXPECT_NE(Cripto(serial, kSelector), Cripto("BE091010100011200319", kSelector));
    // The cipher text hides the text.
    EXPECT_EQ(Cripto(serial, kSelector).find("BE09"), std::string::npos);
    EXPECT_THROW(Uncripto(Cripto(serial, kSelector), kSelector + 1), EConvertError);
}

TEST(HostCipher, AnyChangeFailsToDecipher) {
    const std::string cipher = Cripto("1234,56", kSelector);
    for (std::size_t i = 0; i < cipher.size(); ++i) {
        std::string changed = cipher;
        changed[i] = changed[i] == '0' ? '1' : '0';
        EXPECT_THROW(Uncripto(changed, kSelector), EConvertError) << "position " << i;
    }
    EXPECT_THROW(Uncripto(cipher.substr(0, cipher.size() - 2), kSelector), EConvertError);
    EXPECT_THROW(Uncripto(cipher + "00", kSelector), EConvertError);
    EXPECT_THROW(Uncripto(cipher.substr(1), kSelector), EConvertError);      // odd length
    EXPECT_THROW(Uncripto(cipher.substr(0, 32), kSelector), EConvertError);  // tag alone
    EXPECT_THROW(Uncripto("1234,56", kSelector), EConvertError);             // plain text
    std::string notHex = cipher;
    notHex[40] = 'G';
    EXPECT_THROW(Uncripto(notHex, kSelector), EConvertError);
    try {
        Uncripto("ZZ", kSelector);
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_NE(std::string(e.what()).find("'ZZ'"), std::string::npos) << e.what();
    }
}

TEST(HostCipher, BlankFieldsAndLenientInput) {
    EXPECT_EQ(Cripto("", kSelector), "");
    EXPECT_EQ(Uncripto("", kSelector), "");
    EXPECT_EQ(Uncripto("    ", kSelector), "");
    std::string cipher = Cripto("99,90", kSelector);
    std::string lower = cipher;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(Uncripto(lower, kSelector), "99,90");
    EXPECT_EQ(Uncripto("  " + cipher + "   ", kSelector), "99,90");
}

// Stored configuration files hold these texts: the key derivation must never change under them.
TEST(HostCipher, StoredTextsKeepDeciphering) {
    const std::string serial = "E23D7FD28C3A3890E9C5D4AC15E68B86B2E721B195E2D5E9F4B39E2AA25058C5B9C660CF";
    EXPECT_EQ(Cripto("BE091010100011200318", 1), serial);
    EXPECT_EQ(Uncripto(serial, 1), "BE091010100011200318");
    EXPECT_EQ(Uncripto("104623E3CD34273112708C23D205C4044D784557B2", 1), "10,10");
}
