// The fiscal files' edges and the faults they must not have: a failed download announced as a
// file, companions that overwrite each other, a generation across midnight that is not found, a
// register file reported but never made, a stale Sintegra answer taken for a fresh one.
#include <filesystem>

#include "TestSupport.h"
#include "fiscalfiles/FiscalFiles.h"
#include "fiscalfiles/Generators.h"
#include "framework/Cp1252.h"
#include "framework/DateFormat.h"
#include "platform/Platform.h"

namespace {

using namespace Orb00100;
using nlohmann::json;
using orb::fw::Variant;
using orb::test::Texts;
namespace fs = std::filesystem;

class FiscalFiles : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        Start();
    }
    void TearDown() override {
        orb::fw::SetClock({});
        DriverTest::TearDown();
    }
    std::size_t MenuCount(const std::string& mask) {
        return orb::platform::FindFiles(Home() + "/Dados/MenuFiscal/" + mask).size();
    }
    static Variant Packet(const std::string& flag, const std::string& serial) {
        using orb::fw::FieldType;
        return orb::test::TableData({{"IDGERAARQVNDRIO", FieldType::String, 1},
                                     {"NRSERIEECF", FieldType::String, 30},
                                     {"NMRAZSOCFILI", FieldType::String, 40},
                                     {"DSENDEFILI", FieldType::String, 60}},
                                    {{flag, serial, "EMPRESA", "RUA"}});
    }
    bool Cat(const std::string& flag, const std::string& serial, const std::string& first, const std::string& last,
             orb::fw::StringList*& files, const std::string& type = "19") {
        const std::vector<Variant> params = {Packet(flag, serial), first, last, "", type};
        return GeraCatGenerica(params, files);
    }
};

TEST_F(FiscalFiles, DayCodesRunOneToNineThenAToZ) {
    const std::pair<int, std::string> cases[] = {{0, "1"},  {1, "1"},  {9, "9"}, {10, "A"},
                                                 {26, "Q"}, {35, "Z"}, {36, ""}, {-1, ""}};
    for (const auto& [n, code] : cases) EXPECT_EQ(DayCode(n), code) << n;
}

TEST_F(FiscalFiles, BinaryDownloadsAreAnnouncedOnlyWhenMadeAndKeepTheirOwnCompanions) {
    PinClock(orb::fw::EncodeDateTime(2026, 12, 5, 10, 0, 0, 0));  // both downloads in one second
    ASSERT_TRUE(GeraBinMes(orb::fw::EncodeDate(2026, 12, 1), orb::fw::EncodeDate(2026, 12, 5), "MES"));
    EXPECT_EQ(MenuCount("MES_20261205_100000.*"), 2u);  // .MF and its companion
    EXPECT_EQ(MenuCount("MES_20261205_100001.*"), 2u);  // the MFD pair a second on
    const auto sent = Sent("Bematech_FI_DownloadMFD");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].dump().substr(sent[0].dump().find(".MFD")), ".MFD\",\"1\",\"01122026\",\"05122026\",\"1\"]");

    Recorded().dialogs.clear();
    PinClock(orb::fw::EncodeDateTime(2026, 12, 6, 10, 0, 0, 0));
    FailNext("Bematech_FI_DownloadMF", 0);
    EXPECT_FALSE(GeraBinMes(orb::fw::EncodeDate(2026, 12, 1), orb::fw::EncodeDate(2026, 12, 5), "MES"));
    EXPECT_EQ(MenuCount("MES_20261206_*"), 0u);
    EXPECT_EQ(DialogTexts(), Texts({CP("Erro ao realizar download da memória MF.")}));
}

TEST_F(FiscalFiles, RegisterFileIsFoundWhenGeneratedAcrossMidnight) {
    // The clock reads the evening before for the call, today after it: the library names its
    // file with today's date.
    int readings = 0;
    orb::fw::SetClock(
        [&] { return ++readings == 1 ? orb::fw::IncDay(orb::fw::SystemNow(), -1) : orb::fw::SystemNow(); });
    const std::vector<Variant> params = {"X", "", "", "MFD", "SIM00000000000000034", "", "", "", "", "", "", "", false};
    Variant result = Variant::MakeArray(1);
    ASSERT_TRUE(Gera_ArquivoMFD(params, result));
    EXPECT_EQ(Sent("Bematech_FI_ArquivoMFD").at(0)[5], 2);  // neither dates nor counters: the whole tape
    EXPECT_EQ(result[0].ToString().substr(0, 24), "TDMSIM00000000000000034_");
    EXPECT_EQ(MenuCount("TDMSIM00000000000000034_*"), 1u);

    // The raw download of a counter range asks for counters.
    const std::vector<Variant> raw = {"C", "1", "9", "MFD", "", "", "", "", "", "", "", "", true};
    EXPECT_TRUE(Gera_ArquivoMFD(raw, result));
    EXPECT_EQ(Sent("Bematech_FI_DownloadMFD").at(0)[1], "2");

    FailNext("Bematech_FI_ArquivoMFD", -2);
    result = Variant::MakeArray(1);
    EXPECT_FALSE(Gera_ArquivoMFD(params, result));
    EXPECT_TRUE(result[0].IsUnassigned());
}

TEST_F(FiscalFiles, RegisterFilesNeverMadeAreReportedAsErrors) {
    struct Case {
        std::string start, end, kind;
        const char* failing;  // the entry point made to fail; nullptr: an empty range
    };
    const Case cases[] = {{"1", "5", "1", "Bematech_FI_DownloadMFD"},
                          {"01122026", "02122026", "D", "Bematech_FI_DownloadMFD"},
                          {"900", "901", "1", nullptr}};
    for (const Case& c : cases) {
        if (c.failing) FailNext(c.failing, -2);
        const std::string answer = geraRegistroTipoE(c.start, c.end, c.kind, "EMPRESA", "RUA");
        EXPECT_EQ(answer.substr(0, 5), "ERRO_") << answer;
        EXPECT_EQ(MenuCount("AC17-04*"), 0u) << c.start;
        for (const char* work : {"Download.MFD", "Espelho.TXT", "EspelhoTMP.TXT"})
            EXPECT_FALSE(fs::exists(HomePath(work))) << work;
    }
}

TEST_F(FiscalFiles, DailyFilesListOnlyWhatWasMade) {
    orb::fw::StringList* files = nullptr;  // the module's list, never the caller's to free
    EXPECT_TRUE(Cat("N", "BE0001", "05/12/2026", "04/12/2026", files));  // backwards: nothing to do
    EXPECT_EQ(files->Count(), 0);

    FailNext("Bematech_FI_GeraRegistrosCAT52MFD", -2);
    EXPECT_FALSE(Cat("N", "BE0001", "04/12/2026", "05/12/2026", files));
    ASSERT_EQ(files->Count(), 1);  // the failed day names no stale file
    EXPECT_EQ(files->Text().substr(files->Text().size() - 6), ".5CQ\r\n");

    // A serial longer than twenty characters is cut in the names; "s" is the sales-file route.
    EXPECT_TRUE(Cat("s", "ABCDEFGHIJKLMNOPQRSTUVWXY", "01/12/2026", "01/12/2026", files));
    ASSERT_EQ(files->Count(), 1);
    EXPECT_EQ(fs::path(orb::platform::NativePath((*files)[0])).filename(),
              "ABCDEFGHIJKLMNOPQRST_01122026_01122026.txt");
}

TEST_F(FiscalFiles, SintegraArgumentsAreCutAndAStaleAnswerIsNotTaken) {
    const Variant day = orb::fw::EncodeDate(2026, 1, 31);
    std::vector<Variant> params = {"001", day, "", "s.txt", std::string(40, 'N'), "RUA", "", "", "", "",
                                   "",    "",  "", ""};
    Variant result;
    EXPECT_TRUE(RelatorioSintegraMFD(params, result));
    const auto sent = Sent("Bematech_FI_RelatorioSintegraMFD").at(0);
    EXPECT_EQ(sent[4], std::string(35, 'N'));
    EXPECT_EQ(json::array({sent[0], sent[2], sent[3], sent[6], sent[7], sent[8]}),
              json::array({63, "01", "2026", "00000", "  ", " "}));

    params = {"001", orb::fw::EncodeDate(2026, 1, 1), day, "", "sped.txt"};
    EXPECT_TRUE(GeraRegistrosSpedMFD(params, result));
    const auto sped = Sent("Bematech_FI_GeraRegistrosSpedMFD").at(0);
    EXPECT_EQ(json::array({sped[2], sped[3], sped[4], sped[5]}),
              json::array({"01/01/2026", "31/01/2026", "T", "5929"}));

    orb::platform::WriteFile(SystemPath("Retorno.txt"), std::string(75, ' ') + "0000000000012345\r\n");
    result = Variant::MakeArray(1);
    FailNext("Bematech_FI_DadosSintegraMFD", 0);
    const std::vector<Variant> range = {"001", day, day};
    EXPECT_FALSE(RetornaDadosSintegraMFD(range, result));
    EXPECT_EQ(result[0].ToDouble(), 0.0);
}

}  // namespace
