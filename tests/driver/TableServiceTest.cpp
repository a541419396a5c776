// Table service against the virtual printers where it goes wrong: a refused slip, a sale register
// without its table, a check without its printer or its products (the printed slips and checks
// are in the table-service scenario).
#include <cstdio>

#include "driver/Globals.h"
#include "driver/TestSupport.h"
#include "framework/Exceptions.h"
#include "orb00100/VendorApi.h"
#include "platform/Platform.h"
#include "slips/TableCheck.h"
#include "slips/TableOpening.h"

namespace {

using namespace Orb00100;
using nlohmann::json;
using orb::fw::FieldType;
using orb::test::Texts;

constexpr const char* kUsa = "Bematech_FI_UsaComprovanteNaoFiscalVinculado";

orb::fw::Variant Products(const std::vector<std::vector<orb::fw::Variant>>& rows) {
    return orb::test::TableData({{"CDARVPROD"},
                                 {"NMPRODUTO", FieldType::String, 80},
                                 {"QTPRODCOMVEN", FieldType::Float},
                                 {"VRPRECCOMVEN", FieldType::Float}},
                                rows);
}

class TableService : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        Start({{"totalizers", {"MESA"}}, {"payments", {"Dinheiro", {{"name", "Rel Gerencial"}, {"linkable", true}}}}});
        PinClock(orb::fw::EncodeDateTime(2026, 12, 6, 21, 15, 4));
        mp2032_ = orb::platform::LoadLibrary("Mp2032.dll");
        ASSERT_NE(mp2032_, 0);
        control_ = reinterpret_cast<Control>(orb::platform::GetProcAddress(mp2032_, "Mp2032Sim_Control"));
        ReceiptPrinter({{"sim", "reset"}});
    }
    void TearDown() override {
        if (mp2032_) orb::platform::FreeLibrary(mp2032_);
        DriverTest::TearDown();
    }
    json ReceiptPrinter(const json& request) {
        std::string reply(1 << 20, '\0');
        const int n = control_(request.dump().c_str(), reply.data(), static_cast<int>(reply.size()));
        return json::parse(reply.substr(0, static_cast<std::size_t>(n)));
    }
    // The receipt printer's calls, as "entry [args]".
    Texts ReceiptCalls() {
        Texts calls;
        const json reply = ReceiptPrinter({{"sim", "journal"}});
        for (const json& call : reply["journal"])
            calls.push_back(call["entry"].get<std::string>() + " " + call["args"].dump());
        return calls;
    }

private:
    using Control = int(ORB_VENDOR_CALL*)(const char*, char*, int);
    orb::platform::LibHandle mp2032_ = 0;
    Control control_ = nullptr;
};

TEST_F(TableService, SaleRegisterWithoutATableRaises) {
    EXPECT_THROW(RegistroVenda("0001", "001", "001", nullptr, "0012"), orb::fw::EDatabaseError);
}

TEST_F(TableService, RefusedSlipStillPrintsAndClosesNothingButTheReceiptStands) {
    // An unprogrammed totalizer: no receipt, so no slip either.
    EXPECT_FALSE(Abertura_Mesa("07", "001", "", "0012", "", "x", Products({}), 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(State()["totalizers"][0]["day"], 0);
    EXPECT_EQ(Docs()["open"], "");

    ClearJournal();
    FailNext("Bematech_FI_AbreComprovanteNaoFiscalVinculado", 0);
    EXPECT_FALSE(Abertura_Mesa("01", "001", "", "0012", "", "x", Products({}), 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(State()["totalizers"][0]["day"], 1);
    // Header, columns, totals and closing go out all the same (there is no product); the
    // printer refuses them, and with nothing open there is nothing to close.
    EXPECT_EQ(Sent(kUsa).size(), 4u);
    EXPECT_EQ(CallCount("Bematech_FI_FechaRelatorioGerencial"), 0);
    EXPECT_FALSE(Dialogs().empty());
}

TEST_F(TableService, CheckWithoutAPrinterTellsTheOperatorAndAnExceptionStillClosesThePort) {
    std::FILE* ini = std::fopen(SystemPath("Mp2032.ini").c_str(), "w");
    ASSERT_NE(ini, nullptr);
    std::fputs("[Mp2032]\nPorts=COM1\n", ini);
    std::fclose(ini);
    EXPECT_FALSE(Parcial_BematechNFiscal("COM2", "015", "0012", "ANTONIO", "", Products({}), 0, 0, 0, 0, 1, 10));
    EXPECT_EQ(ReceiptCalls(), Texts{"IniciaPorta [\"COM2\"]"});
    EXPECT_TRUE(LastDialogIs(CatalogText("ERRO_IMP"), 3, ""));
    EXPECT_TRUE(WasLogged("IniciaPorta : COM2 - 0"));

    // A products argument that is no table: the host hears of it, and the port is not left open.
    ReceiptPrinter({{"sim", "reset"}});
    EXPECT_THROW(Parcial_BematechNFiscal("COM1", "", "1", "", "", orb::fw::Variant("x"), 0, 0, 0, 0, 1, 0),
                 orb::fw::Exception);
    EXPECT_EQ(ReceiptCalls(), (Texts{"IniciaPorta [\"COM1\"]", "FechaPorta []"}));
    EXPECT_EQ(ReceiptPrinter({{"sim", "state"}})["open"], false);
}

}  // namespace
