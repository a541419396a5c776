// The sale the benchmarks time, run through the module against the null library: it goes
// through, sends what a restaurant sale sends, writes the same log each time, and the floor
// writes that log again byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchFolders.h"
#include "DebugLogLines.h"
#include "PrinterLibrary.h"
#include "SaleScenario.h"
#include "driver/DebugLog.h"
#include "external/hostlib/HostLib.h"
#include "framework/ClientDataSet.h"
#include "platform/Platform.h"

namespace {

namespace fs = std::filesystem;
using namespace orb::bench;

std::size_t Count(const std::vector<std::string>& entries, const std::string& text) {
    return static_cast<std::size_t>(std::count_if(entries.begin(), entries.end(), [&](const std::string& e) {
        return e.find(" - " + text) != std::string::npos;
    }));
}

TEST(SaleInputsTest, TheClosingPaysExactlyWhatTheDishesCost) {
    const SaleInputs sale = MakeSaleInputs(20);
    ASSERT_EQ(sale.items.size(), 20u);
    ASSERT_EQ(sale.closing.size(), 61u);
    long total = 0;
    for (const auto& item : sale.items) {
        const long price = std::lround(orb::hostlib::RecebeParams(item, "VALOR").ToDouble() * 100);
        total += price * orb::hostlib::RecebeParams(item, "QTDE").ToInt();
    }
    EXPECT_EQ(total, sale.totalCents);
    orb::fw::ClientDataSet moves;
    moves.SetData(sale.closing[13].AsDataPacket());
    long paid = 0;
    for (moves.First(); !moves.Eof(); moves.Next())
        paid += std::lround(moves.FieldByName("VRMOVIVEND").AsFloat() * 100);
    EXPECT_EQ(moves.RecordCount(), 2);
    EXPECT_EQ(paid, sale.totalCents);
    EXPECT_GT(sale.cashCents, 0);
    EXPECT_LT(sale.cashCents, sale.totalCents);
}

TEST(BenchFoldersTest, FreshFoldersWithAnInMemoryPrinterAndNothingLeftBehind) {
    std::string root;
    {
        BenchFolders folders;
        EXPECT_EQ(orb::platform::HostDirectory(), folders.Home());
        EXPECT_EQ(orb::platform::SystemDirectory(), folders.System());
        std::string ini;
        ASSERT_TRUE(orb::platform::ReadFile(folders.System() + "/Bemafi32.ini", ini));
        EXPECT_NE(ini.find("SimState=:memory:\r\n"), std::string::npos);
        EXPECT_NE(ini.find("Impressora=1\r\n"), std::string::npos);
        root = fs::path(folders.Home()).parent_path().string();
        ASSERT_TRUE(fs::exists(root));
    }
    EXPECT_FALSE(fs::exists(root));
}

class NullSaleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { orb::platform::SetEnv("ORB_LIBRARY_PATH", ORB_BENCH_NULL_PRINTER_DIR); }
    void TearDown() override { StopModule(); }

    // One sale, alone in the log.
    std::vector<std::string> Sale(SaleCall& call) {
        orb::platform::DeleteFile(Orb00100::DebugLogPath());
        PrepareSale(sale, call);
        const std::string error = RunSale(sale, call);
        EXPECT_EQ(error, "");
        return ReadLogEntries(Orb00100::DebugLogPath());
    }

    BenchFolders folders;
    SaleInputs sale = MakeSaleInputs(20);
};

TEST_F(NullSaleTest, GoesThroughAndSendsEveryStepOfTheSale) {
    ASSERT_EQ(StartModule(sale), "");
    EXPECT_FALSE(IsVirtualPrinter());
    EXPECT_EQ(fs::path(PrinterLibraryFile()).parent_path(), fs::path(ORB_BENCH_NULL_PRINTER_DIR));

    SaleCall call;
    const auto entries = Sale(call);
    EXPECT_EQ(Count(entries, "Bematech_FI_AbreCupomMFD"), 1u);
    EXPECT_EQ(Count(entries, "Bematech_FI_VendeItemArredondamentoMFD"), 20u);
    EXPECT_EQ(Count(entries, "Bematech_FI_IniciaFechamentoCupom"), 1u);
    EXPECT_EQ(Count(entries, "Bematech_FI_EfetuaFormaPagamento : Dinheiro"), 1u);
    EXPECT_EQ(Count(entries, "Bematech_FI_EfetuaFormaPagamento : Cartao Credito V"), 1u);
    EXPECT_EQ(Count(entries, "Bematech_FI_TerminaFechamentoCupom"), 1u);
    EXPECT_EQ(Count(entries, "ERRO!!!"), 0u);
    // The module answered the host: the coupon number the library gave, and no retry.
    EXPECT_EQ(orb::hostlib::RecebeParams(call.opening, "CUPNR").ToString(), "000000");
    EXPECT_EQ(call.result[0].ToInt(), 0);
}

TEST_F(NullSaleTest, EverySaleWritesTheSameLogAndTheFloorWritesItAgain) {
    ASSERT_EQ(StartModule(sale), "");
    SaleCall call;
    const auto first = Sale(call);
    const auto second = Sale(call);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first.size(), second.size());

    std::string log;
    ASSERT_TRUE(orb::platform::ReadFile(Orb00100::DebugLogPath(), log));
    const std::string floor = folders.Home() + "/floor.txt";
    AppendEachEntry(floor, second);
    std::string written;
    ASSERT_TRUE(orb::platform::ReadFile(floor, written));
    EXPECT_EQ(written, log);
}

}  // namespace
