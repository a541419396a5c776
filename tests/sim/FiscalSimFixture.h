#pragma once
// A fresh virtual fiscal printer per test: its own system folder, its own state file, reset to a
// known model and clock. Calls go through the C entry points only.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/Platform.h"
#include "platform/PlatformTestSupport.h"

#define ORB_VENDOR_PROTOTYPES
#include "orb00100/VendorApi.h"

namespace simtest {

// A writable text for the char* parameters; lives to the end of the full expression.
struct Txt {
    std::string s;
    Txt(const char* text) : s(text) {}             // NOLINT: implicit on purpose
    Txt(std::string text) : s(std::move(text)) {}  // NOLINT
    operator char*() { return s.data(); }
};

// An answer area pre-filled with blanks, as the driver reserves it.
struct Blanks {
    std::string s;
    explicit Blanks(std::size_t n) : s(n, ' ') {}
    operator char*() { return s.data(); }
};

inline nlohmann::json Control(const nlohmann::json& request) {
    std::string reply(1 << 20, '\0');
    int n = BemaSim_Control(request.dump().c_str(), reply.data(), static_cast<int>(reply.size()));
    reply.resize(reply.find('\0'));
    nlohmann::json j = nlohmann::json::parse(reply);
    if (n < 0) ADD_FAILURE() << "control refused " << request.dump() << ": " << reply;
    return j;
}

struct Status {
    int ack = 0, st1 = 0, st2 = 0;
    bool operator==(const Status&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Status& s) {
        return out << "ack " << s.ack << " st1 " << s.st1 << " st2 " << s.st2;
    }
};

inline Status ReadStatus() {
    Status s;
    EXPECT_EQ(Bematech_FI_RetornoImpressora(&s.ack, &s.st1, &s.st2), 1);
    return s;
}
// The status read after a command the printer refused (-27), the refusal checked first.
inline Status Refused(int result) {
    EXPECT_EQ(result, -27);
    return ReadStatus();
}

class FiscalSim : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = orbtest::FreshFolder("orb-simfiscal-");
        // The other tests of this program must not inherit our system folder.
        systemDir_.emplace("ORB_SYSTEM_DIR", folder_.string());
        UseFolder(folder_);
        Reset(34);
    }
    void TearDown() override {
        systemDir_.reset();
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }

    void UseFolder(const std::filesystem::path& folder, const char* stateName = "printer.db") {
        std::ofstream(folder / "Bemafi32.ini") << "[Sistema]\nPorta=COM1\nSimState=" << stateName << "\n";
        orb::platform::SetEnv("ORB_SYSTEM_DIR", folder.string());
    }

    void Reset(int model, nlohmann::json extra = nlohmann::json::object()) {
        extra["sim"] = "reset";
        extra["model"] = model;
        if (!extra.contains("datetime")) extra["datetime"] = "2026-12-05T10:00:00";
        Control(extra);
    }

    void SetClock(const char* datetime) { Control({{"sim", "clock"}, {"datetime", datetime}}); }

    // The answer area after the query, which must return `expected`.
    static std::string Answer(int(ORB_VENDOR_CALL* entry)(char*), std::size_t width, int expected = 1) {
        Blanks area(width);
        EXPECT_EQ(entry(area), expected);
        return area.s;
    }
    // A query of two areas: both, one after the other.
    static std::string Answer(int(ORB_VENDOR_CALL* entry)(char*, char*), std::size_t first, std::size_t second) {
        Blanks a(first), b(second);
        EXPECT_EQ(entry(a, b), 1);
        return a.s + b.s;
    }

    static std::string Roll() { return Control({{"sim", "roll"}})["roll"]; }
    // A number the printer answers through its one out parameter.
    static int Number(int(ORB_VENDOR_CALL* entry)(int*)) {
        int value = -1;
        EXPECT_EQ(entry(&value), 1);
        return value;
    }
    static int Flags() { return Number(Bematech_FI_FlagsFiscais); }
    static int Extended() { return Number(Bematech_FI_StatusEstendidoMFD); }

    static int OpenCoupon() { return Bematech_FI_AbreCupomMFD(Txt(""), Txt(""), Txt("")); }
    // One item in the fixed-digit form: price with 3 decimals in 9 digits, quantity with 3 in 7.
    static int Item(const char* tax = "1800", const char* price = "000001000", const char* quantity = "0001000",
                    const char* discount = "0000", const char* description = "ITEM") {
        return Bematech_FI_VendeItemDepartamento(Txt("789"), Txt(description), Txt(tax), Txt(price), Txt(quantity),
                                                 Txt("0000"), Txt(discount), Txt("01"), Txt("UN"));
    }
    // A coupon of one 10,00 item, paid in cash unless another method is given.
    static void Sale(const char* method = "Dinheiro", const char* amount = "50,00") {
        ASSERT_EQ(OpenCoupon(), 1);
        ASSERT_EQ(Item("1800", "000010000", "0001000", "0000", "REFRIGERANTE"), 1);
        ASSERT_EQ(Bematech_FI_IniciaFechamentoCupom(Txt("d"), Txt("$"), Txt("0")), 1);
        ASSERT_EQ(Bematech_FI_EfetuaFormaPagamento(Txt(method), Txt(amount)), 1);
        ASSERT_EQ(Bematech_FI_TerminaFechamentoCupom(Txt("Obrigado")), 1);
    }

    std::filesystem::path folder_;
    std::optional<orbtest::ScopedEnv> systemDir_;
};

}  // namespace simtest
