// The fiscal-memory readings to a signed file, the memory download, the library's output folder
// and the signature gateway, against the virtual printer (the printed readings are in the
// memory-readings scenario).
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
using orb::fw::Variant;
using orb::test::Texts;
namespace fs = std::filesystem;

class FiscalMemoryReadings : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        Start();
    }
    // The reading to file of a range; it gives the host nothing back.
    bool ReadToFile(const std::string& start = "0001", const std::string& end = "0009", const std::string& flag = "C",
                    const std::string& kind = "") {
        const std::vector<Variant> params = {
            "001",           start,           end,     flag, kind, Variant::Null(), Variant::Null(),
            Variant::Null(), Variant::Null(), "BE0001"};
        Variant result = Variant::Null();
        return EmiteLeituraMemoriaFiscalSerial(params, result) && result.IsNull();
    }
    std::string MenuFile(const std::string& name = "") { return Home() + "/Dados/MenuFiscal/" + name; }
    Texts MenuFiles() {
        Texts names;
        if (fs::is_directory(MenuFile()))
            for (const auto& entry : fs::directory_iterator(MenuFile()))
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(FiscalMemoryReadings, OutputFolderIsThePathOfTheIniWithItsSeparator) {
    const std::pair<Texts, std::string> cases[] = {
        {{"[Sistema]", "path=C:\\Bema"}, "C:\\Bema\\"},        // the key's letter case does not matter
        {{"Path=/var/bema\\", "Path=/other"}, "/var/bema\\"},  // the first one counts
        {{"[Sistema]", "Porta=COM1"}, "\\"},                   // none: the bare separator
        {{" Path=/var/bema"}, "\\"},                           // nor is the key trimmed
        {{"Path="}, "\\"},
    };
    for (const auto& [ini, folder] : cases) {
        WriteBemafiIni(ini);
        EXPECT_EQ(retornaPathBematech(), folder) << ini.back();
    }
    fs::remove(SystemPath("Bemafi32.ini"));
    EXPECT_EQ(retornaPathBematech(), "ARQ_N_ENC");
}

TEST_F(FiscalMemoryReadings, ReadingToFileIsCopiedUnderTheMomentsStampAndRecorded) {
    PinClock(orb::fw::EncodeDateTime(2026, 12, 5, 12, 5, 9));
    ASSERT_TRUE(ReadToFile());
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
    ASSERT_TRUE(ReadToFile("01122026", "31122026", "c", "DATA"));
    EXPECT_EQ(SentTexts("Bematech_FI_LeituraMemoriaFiscalSerialDataMFD"), Texts{"01122026 31122026 c"});
    EXPECT_EQ(MenuFiles(), (Texts{"LMFC_0512202612509.txt", "LMFS_05122026121509.txt"}));

    // The key pair stays in its file, closed to others, and never reaches the log.
#ifndef _WIN32  // Windows has no such bits: the folder's access list guards the file there
    const auto perms = fs::status(SigningKeyFile()).permissions();
    EXPECT_EQ(perms & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);
#endif
    const std::string publicKey = orb::test::KeyValue(SigningKeyFile(), "PublicKey");
    ASSERT_EQ(publicKey.size(), 256u);
    for (const std::string& line : LogTexts()) EXPECT_EQ(line.find(publicKey.substr(0, 32)), std::string::npos);
}

TEST_F(FiscalMemoryReadings, ReadingToFileThatFailsSaysWhyAndIsNotRecorded) {
    const std::string entry = "Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD";
    // The printer refuses (only collected); the library wrote no file (the system's code); a key file
    // that is not a usable pair (the file is kept, said to be unsigned: the dialog starts so); no
    // library configuration.
    const std::tuple<std::function<void()>, std::string, std::size_t, bool> cases[] = {
        {[&] { FailNext(entry, 0); }, "", 0, true},
        {[&] { FailNext(entry, 1); }, CP("Erro ao gerar arquivo de memória fiscal. (Erro - 2)"), 0, true},
        {[&] { orb::platform::WriteFile(SigningKeyFile(), "[EAD]\r\nPublicKey=12\r\n"); },
         CP("Leitura de memória fiscal gerada sem assinatura digital"), 1, false},
        {[&] { fs::remove(SystemPath("Bemafi32.ini")); },
         CP("Arquivo de configuração da Bematech não encontrado (BEMAFI32.INI)."), 1, true},
    };
    for (const auto& [fault, dialog, files, whole] : cases) {
        SCOPED_TRACE(dialog);
        fault();
        orb::hostlib::ClearRecorded();
        stMensagemTaa.clear();
        EXPECT_FALSE(ReadToFile());
        EXPECT_TRUE(Recorded().ledger.empty());
        EXPECT_EQ(MenuFiles().size(), files);
        ASSERT_EQ(Dialogs().size(), dialog.empty() ? 0u : 1u);
        if (dialog.empty()) {
            EXPECT_FALSE(stMensagemTaa.empty());
            continue;
        }
        EXPECT_EQ(Dialogs()[0].text.rfind(dialog, 0), 0u);
        EXPECT_TRUE(IsDialog(Dialogs()[0], whole ? dialog : Dialogs()[0].text, 3, "001"));
    }
    EXPECT_NE(orb::test::SignatureProblem(MenuFile(MenuFiles().at(0)), SigningKeyFile()), "");
    // Too few parameters read as empty texts: the reduction-range reading of nothing.
    const std::vector<Variant> few = {"001"};
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
