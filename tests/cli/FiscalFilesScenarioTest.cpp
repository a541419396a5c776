// Five days of sales, each closed by a Z reduction, then every fiscal file the tax authority may
// ask for, run by the orb program from scenarios/fiscal-files.jsonl. Each file must be where the
// host looks for it, read by its record layout, agree with the printer's fiscal memory and, where
// signed, verify against the public key; the signing keys must appear in no log, journal or dialog.
#include <filesystem>

#include "ScenarioSupport.h"
#include "driver/SignatureCheck.h"

namespace orb::cli::testing {
namespace {

namespace fs = std::filesystem;
constexpr const char* kSerial = "BE091010100011220034";

Texts LinesOf(const std::string& path) {
    Texts lines;
    std::string text = ReadAll(platform::NativePath(path));
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

std::int64_t Field(const std::string& record, std::size_t from, std::size_t width) {
    return std::stoll(record.substr(from - 1, width));
}

class FiscalFilesScenario : public ScenarioTest {
protected:
    void SetUp() override {
        ScenarioTest::SetUp();
        RunScenario("fiscal-files.jsonl");
        for (const Json& reply : run_.replies)
            if (reply.value("sim", "") == "state") memory_ = reply["fiscalMemory"];
        ASSERT_EQ(memory_.size(), 5u);
    }
    std::string Menu(const std::string& name = "") const { return Home() + "/Dados/MenuFiscal/" + name; }
    std::string System(const std::string& name = "") const { return Home() + "/system/" + name; }
    Texts Named(const std::string& folder, const std::string& mask) const {
        Texts found;
        for (const auto& f : platform::FindFiles(folder + mask)) found.push_back(fs::path(f).filename().string());
        return found;
    }
    std::string Verify(const std::string& file) const { return test::SignatureProblem(file, System("EadChaves.ini")); }
    // The fiscal memory's figure for days first..last (1-based), summed.
    std::int64_t Memory(const char* figure, std::size_t first = 1, std::size_t last = 5) const {
        std::int64_t sum = 0;
        for (std::size_t d = first; d <= last; ++d) sum += memory_[d - 1][figure].get<std::int64_t>();
        return sum;
    }
    // The type-E records of a file: the reductions' gross, their rates' net, the coupons.
    void ExpectTypeEAgrees(const std::string& file, std::size_t first, std::size_t last, bool coupons = true) const {
        SCOPED_TRACE(file);
        std::int64_t gross = 0, rates = 0, issued = 0, reductions = 0;
        for (const std::string& r : LinesOf(file)) {
            if (r.rfind("EAD", 0) == 0 || r.empty()) continue;
            ASSERT_EQ(r.substr(3, 20), kSerial) << r;
            const std::string type = r.substr(0, 3);
            const std::size_t widths[] = {93, 211, 144, 49, 49};
            const char* types[] = {"E01", "E02", "E12", "E13", "E14"};
            const auto at = std::find(std::begin(types), std::end(types), type) - std::begin(types);
            ASSERT_LT(at, 5) << r;
            EXPECT_EQ(r.size(), widths[at]) << r;
            if (type == "E12") {
                gross += Field(r, 78, 14), ++reductions;
                EXPECT_EQ(Field(r, 78, 14) - Field(r, 92, 13) - Field(r, 105, 13), Field(r, 131, 14)) << r;
            }
            if (type == "E13") rates += Field(r, 37, 13);
            if (type == "E14") ++issued;
        }
        EXPECT_EQ(reductions, static_cast<std::int64_t>(last - first + 1));
        EXPECT_EQ(issued, coupons ? reductions : 0);  // one coupon a day
        EXPECT_EQ(gross, Memory("gross", first, last));
        std::int64_t taxed = 0;
        for (std::size_t d = first; d <= last; ++d)
            for (const Json& t : memory_[d - 1]["taxes"]) taxed += t["day"].get<std::int64_t>();
        EXPECT_EQ(rates, taxed);
    }
    Json memory_;
};

TEST_F(FiscalFilesScenario, MemoryFilesAreKeptSignedInTheFiscalMenuFolder) {
    EXPECT_EQ(Reply("Gera_ArquivoMFD", 0)["args"][1][0].get<std::string>().rfind(std::string("MF") + kSerial + "_", 0),
              0u);
    const std::string mfd = Reply("Gera_ArquivoMFD", 1)["args"][1][0];
    EXPECT_EQ(mfd.rfind(std::string("MFD") + kSerial + "_", 0), 0u);
    EXPECT_EQ(Reply("Gera_ArquivoMFD", 2)["args"][1][0], "");  // the raw download names nothing
    // The fiscal memory's file stays with the library; the detail tape's moves.
    EXPECT_EQ(Named(System(), std::string("MF") + kSerial + "_*").size(), 1u);
    EXPECT_TRUE(Named(System(), "MFD*").empty());
    EXPECT_EQ(Verify(Menu("Ato_Cotepe.txt")), "");
    EXPECT_EQ(Verify(Menu(mfd)), "");
    ExpectTypeEAgrees(Menu("Ato_Cotepe.txt"), 1, 5, false);  // the fiscal memory has no coupons
    EXPECT_TRUE(fs::exists(Menu("MFDFISCAL.MFD")));

    const Texts mirrors = Named(Menu(), "Espelho_MFD_*.txt");
    ASSERT_EQ(mirrors.size(), 1u);
    EXPECT_EQ(Verify(Menu(mirrors[0])), "");
    const Texts mirror = LinesOf(Menu(mirrors[0]));
    ASSERT_GT(mirror.size(), 10u);
    EXPECT_EQ(mirror[7].substr(0, 10), "01/12/2026");
    EXPECT_EQ(mirror[mirror.size() - 3].substr(19, 10), "05/12/2026");  // before the EAD line

    // Each binary file with its own companion: "EAD" and the 256 digits, no line break.
    const Texts mf = Named(Menu(), "ECF1_*.MF"), mfdBin = Named(Menu(), "ECF1_*.MFD");
    ASSERT_EQ(mf.size() + mfdBin.size(), 2u);
    EXPECT_EQ(Named(Menu(), "ECF1_*.txt").size(), 2u);
    for (const std::string& file : {mf[0], mfdBin[0]}) {
        const std::string companion = ReadAll(Menu(fs::path(file).replace_extension(".txt").string()));
        EXPECT_EQ(companion.size(), 259u) << file;
        EXPECT_EQ(companion.substr(0, 3), "EAD") << file;
    }
    const Json bin = Reply("GeraBinMes")["dialogs"];
    ASSERT_EQ(bin.size(), 2u);
    EXPECT_EQ(bin[0]["text"].get<std::string>().rfind("Arquivo MF binário criado com sucesso no diretório: ", 0), 0u);
}

TEST_F(FiscalFilesScenario, RegisterFilesAgreeWithTheFiscalMemory) {
    const std::string byCounters = Reply("geraRegistroTipoE", 0)["result"];
    const std::string byDates = Reply("geraRegistroTipoE", 1)["result"];
    ASSERT_NE(byCounters, byDates);  // two in one second do not share a name
    ExpectTypeEAgrees(byCounters, 1, 5);
    ExpectTypeEAgrees(byDates, 2, 4);
    // The work files are gone.
    for (const char* work : {"Download.MFD", "Espelho.TXT", "EspelhoTMP.TXT"})
        EXPECT_FALSE(fs::exists(Home() + "/" + work));

    // Model 19: the printer's CAT52 files, found by their day code; model 34: the newer generator;
    // the sales-file route ("s"): one signed file a day.
    const Texts expected[] = {
        {System(std::string(kSerial) + ".1CQ"), System(std::string(kSerial) + ".2CQ"),
         System(std::string(kSerial) + ".3CQ")},
        {System(std::string(kSerial) + "_04122026.txt"), System(std::string(kSerial) + "_05122026.txt")},
        {System(std::string(kSerial) + "_01122026_01122026.txt"),
         System(std::string(kSerial) + "_02122026_02122026.txt")}};
    for (std::size_t i = 0; i < 3; ++i) {
        const Json reply = Reply("GeraCatGenerica", i);
        EXPECT_EQ(reply["result"], true);
        Texts files = reply["args"][1]["strings"].get<Texts>();
        for (auto& f : files) f = platform::NativePath(f);
        ASSERT_EQ(files.size(), expected[i].size());
        for (std::size_t d = 0; d < files.size(); ++d) {
            EXPECT_EQ(files[d], platform::NativePath(expected[i][d]));
            const std::size_t day = i == 0 ? d + 1 : i == 1 ? d + 4 : d + 1;
            ExpectTypeEAgrees(files[d], day, day);
            if (i == 2) {
                EXPECT_EQ(Verify(files[d]), "") << files[d];
            }
        }
    }
    const Texts journal = Journal();
    EXPECT_EQ(std::count_if(journal.begin(), journal.end(),
                            [](const std::string& c) { return c.rfind("Bematech_FI_GeraRegistrosCAT52MFD ", 0) == 0; }),
              3);
    // The counter route downloads by COO into the host's stand-in for the drive root, the date
    // route by date.
    const auto downloads = [&](const std::string& kind) {
        return std::count_if(journal.begin(), journal.end(), [&](const std::string& c) {
            return c.rfind("Bematech_FI_DownloadMFD ", 0) == 0 && c.find("Download.MFD\",\"" + kind + "\"") != c.npos &&
                   c.find(Home()) != c.npos && c.find("/system") == c.npos;
        });
    };
    EXPECT_EQ(downloads("2"), 1);
    EXPECT_EQ(downloads("1"), 2);  // the date route and the sales-file route
}

TEST_F(FiscalFilesScenario, SintegraAndSpedDataCarryTheMonthsReductions) {
    const Texts sintegra = LinesOf(System("sintegra.txt"));
    std::int64_t gross = 0, sixties = 0;
    for (const std::string& r : sintegra) {
        if (r.empty()) continue;
        EXPECT_EQ(r.size(), 126u) << r;
        if (r.rfind("60", 0) == 0) ++sixties;
        if (r.rfind("60M", 0) == 0) gross += Field(r, 58, 16);
    }
    EXPECT_EQ(sintegra[0].substr(30, 35), "RESTAURANTE VIRTUAL LTDA - UNIDADE ");  // cut to 35
    EXPECT_EQ(sintegra[1].substr(36, 5), "00000");                                 // the empty number
    EXPECT_EQ(gross, Memory("gross"));
    EXPECT_EQ(Field(sintegra.back(), 33, 8), sixties);

    const Texts sped = LinesOf(System("sped.txt"));
    EXPECT_EQ(std::count_if(sped.begin(), sped.end(), [](const std::string& r) { return r.rfind("|C405|", 0) == 0; }),
              5);
    EXPECT_EQ(sped[1].substr(0, 16), "|C405|01122026|1");

    const Json sintegraData = Reply("RetornaDadosSintegraMFD");
    EXPECT_EQ(sintegraData["result"], true);
    EXPECT_DOUBLE_EQ(sintegraData["args"][1][0].get<double>(), static_cast<double>(Memory("gross", 2, 4)) / 100);
}

TEST_F(FiscalFilesScenario, TheSigningKeysAreNeverWrittenOut) {
    const std::string keys = System("EadChaves.ini");
    std::string everything = ReadAll(System("bemasim.journal.txt")) + run_.out;
    for (const auto& log : platform::FindFiles(Home() + "/impdebug*.txt")) everything += ReadAll(log);
    for (const char* key : {"PublicKey", "PrivateKey"}) {
        const std::string value = test::KeyValue(keys, key);
        ASSERT_EQ(value.size(), 256u) << key;
        EXPECT_EQ(everything.find(value), std::string::npos) << key;
    }
}

}  // namespace
}  // namespace orb::cli::testing
