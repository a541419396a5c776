// The non-fiscal printer stand-in, through its C entry points only.
#include <gtest/gtest.h>

#include <cstring>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "mp2032/Mp2032Sim.h"
#include "platform/Platform.h"
#include "platform/PlatformTestSupport.h"

using Json = nlohmann::json;

namespace {

// The entry points as the driver reaches them: by name, from the library loaded by its Windows
// name (the driver module exports a FechaPorta of its own, so a direct call could land there).
struct Mp2032 {
    PFN_IniciaPorta IniciaPorta;
    PFN_FormataTX FormataTX;
    PFN_ComandoTX ComandoTX;
    PFN_FechaPorta FechaPorta;
    PFN_Mp2032Sim_Control Control;
};

class Mp2032Test : public orbtest::ScratchFolder {
protected:
    void SetUp() override {
        ScratchFolder::SetUp();
        system_.emplace("ORB_SYSTEM_DIR", dir_.string());
        ports_.emplace("ORB_MP2032_PORTS", std::nullopt);
        const auto lib = orb::platform::LoadLibrary("Mp2032.dll");
        ASSERT_NE(lib, 0u);
        auto get = [lib](const char* name) {
            void* symbol = orb::platform::GetProcAddress(lib, name);
            EXPECT_NE(symbol, nullptr) << name;
            return symbol;
        };
        p = {reinterpret_cast<PFN_IniciaPorta>(get("IniciaPorta")), reinterpret_cast<PFN_FormataTX>(get("FormataTX")),
             reinterpret_cast<PFN_ComandoTX>(get("ComandoTX")), reinterpret_cast<PFN_FechaPorta>(get("FechaPorta")),
             reinterpret_cast<PFN_Mp2032Sim_Control>(get("Mp2032Sim_Control"))};
        Control(R"({"sim": "reset"})");
    }
    void TearDown() override {
        ports_.reset();
        system_.reset();
        ScratchFolder::TearDown();
    }

    Json Control(const std::string& request) {
        std::string reply(1 << 16, '\0');
        int n = p.Control(request.c_str(), reply.data(), static_cast<int>(reply.size()));
        EXPECT_GE(n, 0) << reply.c_str();
        return Json::parse(reply.c_str());
    }
    std::string Roll() { return Control(R"({"sim": "roll"})")["roll"]; }
    int Print(std::string text, int expanded = 0) { return p.FormataTX(text.data(), 2, 0, 0, expanded, 0); }
    int Open(std::string port) { return p.IniciaPorta(port.data()); }
    void WriteIni(const std::string& text) { Put(Path("Mp2032.ini"), text); }

    Mp2032 p{};
    std::optional<orbtest::ScopedEnv> system_, ports_;
};

}  // namespace

TEST_F(Mp2032Test, OnlyConfiguredPortsOpen) {
    // Without configuration every named port has a printer; an empty name never does.
    EXPECT_EQ((std::vector{Open("COM7"), Open(""), p.IniciaPorta(nullptr)}), (std::vector{1, 0, 0}));

    WriteIni("[Mp2032]\r\nPorts = COM2, lpt1\r\n");
    EXPECT_EQ((std::vector{Open("COM1"), Open("com2"), Open(" LPT1 ")}), (std::vector{0, 1, 1}));
    EXPECT_EQ(Control(R"({"sim": "state"})")["port"], "LPT1");

    orb::platform::SetEnv("ORB_MP2032_PORTS", "COM1");  // the environment overrides the file
    EXPECT_EQ((std::vector{Open("COM1"), Open("COM2")}), (std::vector{1, 0}));
    EXPECT_EQ(Control(R"({"sim": "state"})")["ports"], "COM1");
}

TEST_F(Mp2032Test, PrintsOntoItsOwnRollOnlyWhileOpen) {
    EXPECT_EQ(Print("lost\r\n"), 0);  // no port open: nothing printed
    EXPECT_EQ(Roll(), "");

    ASSERT_EQ(Open("COM1"), 1);
    // Code page 1252 in, UTF-8 on the roll.
    EXPECT_EQ((std::vector{Print(" Conferencia de Mesa \r\n\r\n", 1), Print("Comanda12\r\n"),
                           Print("Gar\xE7om:   Jos\xE9\r\n"), Print("linha\n\rnova\rmesma\n")}),
              (std::vector{1, 1, 1, 1}));
    std::string cut("\x1Bm\x00x", 4);
    EXPECT_EQ(p.ComandoTX(cut.data(), 4), 1);  // raw bytes: the length counts, zeros included
    EXPECT_EQ((std::vector{p.FechaPorta(), p.FechaPorta(), Print("after close\r\n")}), (std::vector{1, 0, 0}));

    const std::string expected =
        " Conferencia de Mesa \n\nComanda12\nGar\xC3\xA7om:   Jos\xC3\xA9\nlinha\nnovamesma\n<1B>m<00>x";
    EXPECT_EQ(Roll(), expected);
    EXPECT_EQ(Get(Path("Mp2032Roll.txt")), expected);
}

TEST_F(Mp2032Test, JournalAndControl) {
    Open("COM1");
    Print("TOTAL\r\n", 1);
    p.FechaPorta();
    const Json journal = Control(R"({"sim": "journal"})")["journal"];
    ASSERT_EQ(journal.size(), 3u);
    EXPECT_EQ(journal[0], (Json{{"entry", "IniciaPorta"}, {"args", {"COM1"}}, {"return", 1}}));
    EXPECT_EQ(journal[1]["args"], (Json{"TOTAL\n", 2, 0, 0, 1, 0}));
    EXPECT_EQ(journal[2]["entry"], "FechaPorta");

    // Clearing hands back what was there, then starts afresh.
    EXPECT_EQ(Control(R"({"sim": "roll", "clear": true})")["roll"], "TOTAL\n");
    EXPECT_EQ(Roll(), "");
    EXPECT_EQ(Control(R"({"sim": "journal", "clear": true})")["journal"].size(), 3u);
    EXPECT_EQ(Control(R"({"sim": "journal"})")["journal"].size(), 0u);

    // A reply longer than the area is cut and terminated; the full length is answered.
    Open("COM1");
    Print(std::string(100, 'x'));
    char small[16];
    std::memset(small, '#', sizeof small);
    const int full = p.Control(R"({"sim": "roll"})", small, 10);
    EXPECT_EQ(full, static_cast<int>(Json{{"roll", std::string(100, 'x')}}.dump().size()));
    EXPECT_EQ(small[9], '\0');
    EXPECT_EQ(small[10], '#');

    char reply[256];
    EXPECT_EQ(p.Control(R"({"sim": "fly"})", reply, sizeof reply), -1);
    EXPECT_NE(std::string(reply).find("error"), std::string::npos);
    EXPECT_EQ(p.Control("not json", reply, sizeof reply), -1);
    EXPECT_EQ(p.Control(nullptr, reply, sizeof reply), -1);
}
