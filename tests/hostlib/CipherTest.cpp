#include <gtest/gtest.h>

#include <tuple>

#include "external/hostlib/HostLib.h"
#include "framework/Cp1252.h"
#include "framework/Exceptions.h"

using namespace orb::hostlib;
using orb::fw::EConvertError;

namespace {
constexpr int kSelector = 7;
}

TEST(HostCipher, RoundTripsAndHidesEveryText) {
    for (const std::string& text :
         {std::string("1234567,89"), std::string("BE091010100011200318"), std::string("x"),
          CP("Razão Social Ltda - São Paulo"), std::string("a\0b\xff", 4), std::string(3000, 'z')}) {
        const std::string cipher = Cripto(text, kSelector);
        // Hexadecimal, deterministic per selector, and another selector cannot read it.
        EXPECT_EQ(std::tuple(cipher.size(), cipher.find_first_not_of("0123456789ABCDEF"), Uncripto(cipher, kSelector),
                             Cripto(text, kSelector) == cipher, Cripto(text, kSelector + 1) == cipher),
                  std::tuple(32 + 2 * text.size(), std::string::npos, text, true, false))
            << cipher;
        EXPECT_THROW(Uncripto(cipher, kSelector + 1), EConvertError);
    }
    EXPECT_NE(Cripto("BE091010100011200318", kSelector), Cripto("BE091010100011200319", kSelector));
    EXPECT_EQ(Cripto("BE091010100011200318", kSelector).find("BE09"), std::string::npos);
    // Stored configuration files hold these texts: the key derivation must never change under them.
    const std::string serial = "E23D7FD28C3A3890E9C5D4AC15E68B86B2E721B195E2D5E9F4B39E2AA25058C5B9C660CF";
    EXPECT_EQ(Cripto("BE091010100011200318", 1), serial);
    EXPECT_EQ(Uncripto(serial, 1), "BE091010100011200318");
    EXPECT_EQ(Uncripto("104623E3CD34273112708C23D205C4044D784557B2", 1), "10,10");
}

TEST(HostCipher, AnyChangeFailsToDecipherButCaseAndBlanksDoNot) {
    const std::string cipher = Cripto("1234,56", kSelector);
    for (std::size_t i = 0; i < cipher.size(); ++i) {
        std::string changed = cipher;
        changed[i] = changed[i] == '0' ? '1' : '0';
        EXPECT_THROW(Uncripto(changed, kSelector), EConvertError) << "position " << i;
    }
    std::string notHex = cipher;
    notHex[40] = 'G';
    // Shortened, lengthened, odd length, the tag alone, plain text, not hexadecimal.
    for (const std::string& bad : {cipher.substr(0, cipher.size() - 2), cipher + "00", cipher.substr(1),
                                   cipher.substr(0, 32), std::string("1234,56"), notHex})
        EXPECT_THROW(Uncripto(bad, kSelector), EConvertError) << bad;
    try {
        Uncripto("ZZ", kSelector);
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_NE(std::string(e.what()).find("'ZZ'"), std::string::npos) << e.what();
    }

    // A stored field that holds nothing; lower case and surrounding blanks.
    EXPECT_EQ(Cripto("", kSelector) + Uncripto("", kSelector) + Uncripto("    ", kSelector), "");
    std::string lower = cipher;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const std::string& same : {lower, "  " + cipher + "   "})
        EXPECT_EQ(Uncripto(same, kSelector), "1234,56") << same;
}
