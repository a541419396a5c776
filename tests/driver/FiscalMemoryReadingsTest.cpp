// The fiscal-memory readings (printed and to a signed file), the memory download, the library's
// output folder and the signature gateway, against the virtual printer.
#include <filesystem>
#include <functional>

#include "SignatureCheck.h"
#include "TestSupport.h"
#include "driver/Globals.h"
#include "external/vendor/EntryPoints.h"
#include "framework/Cp1252.h"
#include "framework/Exceptions.h"
#include "platform/Platform.h"
#include "readings/Readings.h"
#include "readings/Signature.h"

namespace {

using namespace Orb00100;
using nlohmann::json;
using orb::fw::Variant;
using orb::test::Texts;
namespace fs = std::filesystem;

class FiscalMemoryReadings : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        Start();
    }
    // The positional parameters of the reading to file.
    static std::vector<Variant> FileParams(const std::string& start, const std::string& end, const std::string& flag,
                                           const std::string& kind) {
        return {"001",           start,           end,     flag, kind, Variant::Null(), Variant::Null(),
                Variant::Null(), Variant::Null(), "BE0001"};
    }
    bool ReadToFile(const std::string& flag = "C", const std::string& kind = "") {
        const auto params = FileParams("0001", "0009", flag, kind);
        Variant result;
        return EmiteLeituraMemoriaFiscalSerial(params, result);
    }
    Texts MenuFiles() {
        Texts names;
        const fs::path folder = fs::path(Home()) / "Dados" / "MenuFiscal";
        if (fs::is_directory(folder))
            for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string MenuFile(const std::string& name) {
        return (fs::path(Home()) / "Dados" / "MenuFiscal" / name).string();
    }
};

TEST_F(FiscalMemoryReadings, OutputFolderIsThePathOfTheIniWithItsSeparator) {
    struct Case {
        Texts ini;
        std::string folder;
    };
    const Case cases[] = {
        {{"[Sistema]", "path=C:\\Bema"}, "C:\\Bema\\"},        // the key's letter case does not matter
        {{"Path=/var/bema\\", "Path=/other"}, "/var/bema\\"},  // the first one counts
        {{"[Sistema]", "Porta=COM1"}, "\\"},                   // none: the bare separator
        {{" Path=/var/bema"}, "\\"},                           // nor is the key trimmed
        {{"Path="}, "\\"},
    };
    for (const Case& c : cases) {
        WriteBemafiIni(c.ini);
        EXPECT_EQ(retornaPathBematech(), c.folder) << c.ini.back();
    }
    fs::remove(SystemPath("Bemafi32.ini"));
    EXPECT_EQ(retornaPathBematech(), "ARQ_N_ENC");
}

TEST_F(FiscalMemoryReadings, PrintedReadingsSendTheRangeAsGivenAndTheDetailOnesAreRecorded) {
    struct Case {
        std::string kind;
        const char* entry;  // nullptr: nothing is sent
    };
    for (const Case& c :
         {Case{"D", "Bematech_FI_LeituraMemoriaFiscalData"}, Case{"R", "Bematech_FI_LeituraMemoriaFiscalReducao"},
          Case{"d", nullptr}, Case{"", nullptr}}) {
        SCOPED_TRACE(c.kind);
        ForgetSoFar();
        const std::string start = c.kind == "D" ? "01122026" : "0001", end = c.kind == "D" ? "31122026" : "0002";
        EXPECT_EQ(Memoria_Fiscal_Imp("001", c.kind, start, end, "x"), c.entry != nullptr);
        EXPECT_EQ(JournalEntries({"Bematech_FI_LeituraMemoriaFiscalData", "Bematech_FI_LeituraMemoriaFiscalReducao"}),
                  c.entry ? Texts{c.entry} : Texts{});
        if (c.entry) {
            EXPECT_EQ(NewLogTexts(), Texts{std::string(c.entry) + " : " + start + " - " + end});
        }
    }
    EXPECT_TRUE(Recorded().ledger.empty());

    ForgetSoFar();
    EXPECT_TRUE(EmiteLeituraMemoriaFiscal("001", "01122026", "31122026", "C", "DATA", "BE0001"));
    EXPECT_TRUE(EmiteLeituraMemoriaFiscal("001", "0001", "0002", "S", "", "BE0001"));
    EXPECT_EQ(SentTexts("Bematech_FI_LeituraMemoriaFiscalDataMFD"), Texts{"01122026 31122026 C"});
    EXPECT_EQ(SentTexts("Bematech_FI_LeituraMemoriaFiscalReducaoMFD"), Texts{"0001 0002 S"});
    EXPECT_EQ(NewLogTexts().at(0),
              "Bematech_FI_LeituraMemoriaFiscalDataMFD :  - 01122026 - 31122026 - C\r\nRetorno da Impressora : 1");
    EXPECT_EQ(LedgerTypes(), (Texts{"MF", "MF"}));

    // A range the printer cannot read is refused, shown and not recorded.
    orb::hostlib::ClearRecorded();
    EXPECT_FALSE(EmiteLeituraMemoriaFiscal("004", "0009", "0001", "C", "", "BE0001"));
    EXPECT_TRUE(Recorded().ledger.empty());
    EXPECT_EQ(Dialogs().at(0).scheme, "004");
}

TEST_F(FiscalMemoryReadings, ReadingToFileIsCopiedUnderTheMomentsStampSignedAndRecorded) {
    PinClock(orb::fw::EncodeDateTime(2026, 12, 5, 12, 5, 9));
    ASSERT_TRUE(ReadToFile("C"));
    // The minutes follow the hour without a leading zero.
    ASSERT_EQ(MenuFiles(), Texts{"LMFC_0512202612509.txt"});
    EXPECT_TRUE(LastDialogIs(CP("Leitura de memória fiscal gerada com sucesso no diretório: ") + Home() +
                                 "\\Dados\\MenuFiscal\\LMFC_0512202612509.txt",
                             0, "001"));
    EXPECT_EQ(LedgerTypes(), Texts{"MF"});
    EXPECT_TRUE(WasLogged(
        "Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD :  - 0001 - 0009 - C\r\nRetorno da Impressora : 1"));

    // A lower-case flag reaches the printer as it is and names the simplified reading; the date
    // range goes to its own entry point.
    PinClock(orb::fw::EncodeDateTime(2026, 12, 5, 12, 15, 9));
    const auto params = FileParams("01122026", "31122026", "c", "DATA");
    Variant result = Variant::Null();
    ASSERT_TRUE(EmiteLeituraMemoriaFiscalSerial(params, result));
    EXPECT_TRUE(result.IsNull());
    EXPECT_EQ(SentTexts("Bematech_FI_LeituraMemoriaFiscalSerialDataMFD"), Texts{"01122026 31122026 c"});
    EXPECT_EQ(MenuFiles(), (Texts{"LMFC_0512202612509.txt", "LMFS_05122026121509.txt"}));
    EXPECT_EQ(orb::test::SignatureProblem(MenuFile("LMFS_05122026121509.txt"), SigningKeyFile()), "");

    // The key pair stays in its file, closed to others, and never reaches the log.
    const auto perms = fs::status(SigningKeyFile()).permissions();
    EXPECT_EQ(perms & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);
    const std::string publicKey = orb::test::KeyValue(SigningKeyFile(), "PublicKey");
    ASSERT_EQ(publicKey.size(), 256u);
    for (const std::string& line : LogTexts()) EXPECT_EQ(line.find(publicKey.substr(0, 32)), std::string::npos);
}

TEST_F(FiscalMemoryReadings, ReadingToFileThatFailsSaysWhyAndIsNotRecorded) {
    const std::string entry = "Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD";
    struct Case {
        std::function<void()> fault;
        std::string dialog;  // the start of the only dialog, error kind; empty: none
        std::size_t files;   // kept in the folder afterwards
    };
    const Case cases[] = {
        // The printer refuses: only collected, nothing copied.
        {[&] { FailNext(entry, 0); }, "", 0},
        // The library wrote no file: the copy fails with the system's code.
        {[&] { FailNext(entry, 1); }, CP("Erro ao gerar arquivo de memória fiscal. (Erro - 2)"), 0},
        // A key file that is not a usable pair: the file is kept and said to be unsigned.
        {[&] { orb::platform::WriteFile(SigningKeyFile(), "[EAD]\r\nPublicKey=12\r\n"); },
         CP("Leitura de memória fiscal gerada sem assinatura digital"), 1},
        // Without the library's configuration there is no folder to copy from.
        {[&] { fs::remove(SystemPath("Bemafi32.ini")); },
         CP("Arquivo de configuração da Bematech não encontrado (BEMAFI32.INI)."), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dialog);
        c.fault();
        orb::hostlib::ClearRecorded();
        stMensagemTaa.clear();
        EXPECT_FALSE(ReadToFile());
        EXPECT_TRUE(Recorded().ledger.empty());
        EXPECT_EQ(MenuFiles().size(), c.files);
        if (c.dialog.empty()) {
            EXPECT_TRUE(Dialogs().empty());
            EXPECT_FALSE(stMensagemTaa.empty());
            continue;
        }
        ASSERT_EQ(Dialogs().size(), 1u);
        EXPECT_EQ(Dialogs()[0].kind, 3);
        EXPECT_EQ(Dialogs()[0].scheme, "001");
        EXPECT_EQ(Dialogs()[0].text.rfind(c.dialog, 0), 0u) << Dialogs()[0].text;
    }
    EXPECT_NE(orb::test::SignatureProblem(MenuFile(MenuFiles().at(0)), SigningKeyFile()), "");
    // Too few parameters read as empty texts: the reduction-range reading of nothing.
    std::vector<Variant> few = {"001"};
    Variant result;
    EXPECT_FALSE(EmiteLeituraMemoriaFiscalSerial(few, result));
}

TEST_F(FiscalMemoryReadings, DownloadIsTrueOnlyForTheLibrarysOne) {
    for (int code : {1, 0, -1, -27}) {
        SCOPED_TRACE(code);
        if (code != 1) FailNext("Bematech_FI_DownloadMF", code);
        ForgetSoFar();
        EXPECT_EQ(GERA_MF("x", "memoria.mf"), code == 1);
        EXPECT_EQ(NewLogTexts(), Texts{"Bematech_FI_DownloadMF: memoria.mf"});
        EXPECT_TRUE(Dialogs().empty());
    }
    EXPECT_TRUE(fs::exists(SystemPath("memoria.mf")));
}

TEST_F(FiscalMemoryReadings, SignatureGatewayBindsTheLibraryForOneCallOnly) {
    const auto fiscal = ImpFisDLLHandle;
    orb::platform::WriteFile(HomePath("a.txt"), "linha 1\r\n");
    std::string ead = "before";
    for (int i = 0; i < 2; ++i) {  // the second call finds the library loaded
        geraEad(HomePath("a.txt"), "0", ead);
        EXPECT_EQ(ead.size(), 256u);
        EXPECT_NE(ead, std::string(256, ' '));
    }
    EXPECT_EQ(orb::test::SignatureProblem(HomePath("a.txt"), SigningKeyFile()), "no EAD line");  // mode 0
    geraEad(HomePath("a.txt"), "1", ead);
    EXPECT_EQ(orb::test::SignatureProblem(HomePath("a.txt"), SigningKeyFile()), "");
    EXPECT_THROW(geraEad(HomePath("a.txt"), "um", ead), orb::fw::EConvertError);
    for (const bool bound : {Bematech_setLibType != nullptr, Bematech_genkkey != nullptr,
                             Bematech_generateEAD != nullptr, Bematech_validateFile != nullptr})
        EXPECT_FALSE(bound);
    EXPECT_EQ(ImpFisDLLHandle, fiscal);
}

}  // namespace
