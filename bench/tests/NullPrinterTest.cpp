// The null fiscal library: every entry the module binds is there, the status reads "all fine",
// and the answers the module reads are zero-filled numbers that stay inside the caller's area.
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "orb00100/VendorApi.h"
#include "platform/Platform.h"

namespace {

namespace pf = orb::platform;

class NullPrinterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        library_ = pf::LoadLibrary(std::string(ORB_BENCH_NULL_PRINTER_DIR) + "/libBemaFI32.so");
        ASSERT_NE(library_, 0u) << pf::LastErrorMessage();
    }
    static void TearDownTestSuite() {
        if (library_ != 0) pf::FreeLibrary(library_);
        library_ = 0;
    }
    template <class Fn>
    static Fn Entry(const char* name) {
        return reinterpret_cast<Fn>(pf::GetProcAddress(library_, name));
    }
    static pf::LibHandle library_;
};

pf::LibHandle NullPrinterTest::library_ = 0;

#define ORB_ENTRY_NAME(name, params) #name,
const std::vector<const char*> kBoundEntries = {ORB_FISCAL_ENTRY_POINTS(ORB_ENTRY_NAME)
                                                    ORB_RAW_ENTRY_POINTS(ORB_ENTRY_NAME)};
#undef ORB_ENTRY_NAME

// An answer area as the module reserves it: blanks, a terminator, and guard bytes behind.
struct Area {
    explicit Area(int width) : bytes(width + 8, '#') {
        bytes.replace(0, width, width, ' ');
        bytes[width] = '\0';
        this->width = width;
    }
    char* data() { return bytes.data(); }
    std::string Text() const { return bytes.substr(0, width); }
    std::string Guard() const { return bytes.substr(width + 1); }
    std::string bytes;
    int width;
};

TEST_F(NullPrinterTest, ExportsEveryEntryTheModuleBindsAndNoControl) {
    EXPECT_EQ(kBoundEntries.size(), 119u);  // 113 fiscal entries and 6 raw-command entries
    for (const char* name : kBoundEntries) EXPECT_NE(pf::GetProcAddress(library_, name), nullptr) << name;
    // Without the control entry the benchmarks can tell it from the virtual printer.
    EXPECT_EQ(pf::GetProcAddress(library_, "BemaSim_Control"), nullptr);
}

TEST_F(NullPrinterTest, StatusReadsAllFine) {
    for (const char* name : {"Bematech_FI_RetornoImpressora", "Bematech_FI_VerificaEstadoImpressora"}) {
        int ack = -1, st1 = -1, st2 = -1;
        ASSERT_EQ(Entry<PFN_Bematech_FI_RetornoImpressora>(name)(&ack, &st1, &st2), 1) << name;
        EXPECT_EQ(ack, 6) << name;
        EXPECT_EQ(st1, 0) << name;
        EXPECT_EQ(st2, 0) << name;
    }
    int extended = -1;
    EXPECT_EQ(Entry<PFN_Bematech_FI_StatusEstendidoMFD>("Bematech_FI_StatusEstendidoMFD")(&extended), 1);
    EXPECT_EQ(extended, 0);

    // The raw-command status gives status byte 2 before byte 1, and the busy byte last.
    int ack = -1, st2 = -1, st1 = -1, busy = -1;
    EXPECT_EQ(Entry<PFN_BemaStatus_Mp20FI>("BemaStatus_Mp20FI")(&ack, &st2, &st1, &busy), 1);
    EXPECT_EQ(std::vector<int>({ack, st2, st1, busy}), std::vector<int>({6, 0, 0, 0}));
    // The raw command answers 0 when sent.
    char command[] = "\x1b|35|";
    EXPECT_EQ(Entry<PFN_BemaFormataTX>("BemaFormataTX")(command), 0);
    // Null out-pointers are not written through.
    EXPECT_EQ(Entry<PFN_Bematech_FI_RetornoImpressora>("Bematech_FI_RetornoImpressora")(nullptr, nullptr, nullptr), 1);
}

TEST_F(NullPrinterTest, CountersAreZeroFilledToTheirWidths) {
    const struct {
        const char* name;
        int width;
    } counters[] = {
        {"Bematech_FI_NumeroCupom", 6},
        {"Bematech_FI_ContadorCupomFiscalMFD", 6},
        {"Bematech_FI_NumeroOperacoesNaoFiscais", 6},
        {"Bematech_FI_NumeroReducoes", 4},
        {"Bematech_FI_GrandeTotal", 18},
        {"Bematech_FI_Acrescimos", 14},
    };
    for (const auto& counter : counters) {
        Area area(counter.width);
        ASSERT_EQ(Entry<PFN_Bematech_FI_NumeroCupom>(counter.name)(area.data()), 1) << counter.name;
        EXPECT_EQ(area.Text(), std::string(counter.width, '0')) << counter.name;
        EXPECT_EQ(area.bytes[counter.width], '\0') << counter.name;
        EXPECT_EQ(area.Guard(), std::string(7, '#')) << counter.name;
    }
    Area till(4);
    ASSERT_EQ(Entry<PFN_Bematech_FI_NumeroCaixa>("Bematech_FI_NumeroCaixa")(till.data()), 1);
    EXPECT_EQ(till.Text(), "0001");
}

TEST_F(NullPrinterTest, NeverWritesPastAShortArea) {
    // A caller that reserved three blanks for a six-digit answer keeps its terminator.
    Area shortArea(3);
    ASSERT_EQ(Entry<PFN_Bematech_FI_NumeroCupom>("Bematech_FI_NumeroCupom")(shortArea.data()), 1);
    EXPECT_EQ(shortArea.Text(), "000");
    EXPECT_EQ(shortArea.bytes[3], '\0');
    EXPECT_EQ(shortArea.Guard(), std::string(7, '#'));
    // And a null area is left alone.
    EXPECT_EQ(Entry<PFN_Bematech_FI_GrandeTotal>("Bematech_FI_GrandeTotal")(nullptr), 1);
}

std::string LocalDdmmyy() {
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    char text[16];
    std::strftime(text, sizeof text, "%d%m%y", &t);
    return text;
}

TEST_F(NullPrinterTest, ClockIsTheComputersSoTheClockCheckPasses) {
    Area date(6), time(6);
    const std::string before = LocalDdmmyy();
    ASSERT_EQ(Entry<PFN_Bematech_FI_DataHoraImpressora>("Bematech_FI_DataHoraImpressora")(date.data(), time.data()), 1);
    const std::string after = LocalDdmmyy();
    EXPECT_TRUE(date.Text() == before || date.Text() == after) << date.Text();
    ASSERT_EQ(time.Text().size(), 6u);
    const int hours = std::stoi(time.Text().substr(0, 2)), minutes = std::stoi(time.Text().substr(2, 2)),
              seconds = std::stoi(time.Text().substr(4, 2));
    EXPECT_TRUE(hours < 24 && minutes < 60 && seconds < 60) << time.Text();
}

TEST_F(NullPrinterTest, OtherEntriesSucceedAndLeaveTheirArgumentsAlone) {
    char taxNumber[] = "123", name[] = "Ana", address[] = "Rua";
    EXPECT_EQ(Entry<PFN_Bematech_FI_AbreCupomMFD>("Bematech_FI_AbreCupomMFD")(taxNumber, name, address), 1);
    EXPECT_STREQ(taxNumber, "123");
    EXPECT_STREQ(name, "Ana");
    Area serial(20);
    EXPECT_EQ(Entry<PFN_Bematech_FI_NumeroSerieMFD>("Bematech_FI_NumeroSerieMFD")(serial.data()), 1);
    EXPECT_EQ(serial.Text(), std::string(20, ' '));
    EXPECT_EQ(Entry<PFN_Bematech_FI_FechaPortaSerial>("Bematech_FI_FechaPortaSerial")(), 1);
}

}  // namespace
