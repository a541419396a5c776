// The driver frame: the two message catalogs, the monthly debug log, parameter intake, the answer
// of a named-parameter operation and the data module's singleton.

#include "driver/Catalogs.h"
#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "driver/Globals.h"
#include "driver/Params.h"
#include "driver/TestSupport.h"
#include "framework/Cp1252.h"
#include "framework/Exceptions.h"
#include "platform/Platform.h"

namespace {

using namespace Orb00100;
using orb::fw::EncodeDateTime;
using orb::fw::Variant;
using orb::hostlib::TMessages;
using orb::test::NamedParams;
using orb::test::Texts;

TEST(Catalogs, HoldEveryEntryInOrderWithDuplicatesInCodePage1252) {
    TMessages padrao, padrao2;
    LoadCatalogs(padrao, padrao2);
    ASSERT_EQ(padrao.Count(), 232);
    ASSERT_EQ(padrao2.Count(), 38);
    EXPECT_EQ(padrao.Entries().front().first, "Nome");
    EXPECT_EQ(padrao.Entries().back().first, "MFD_OK");
    EXPECT_EQ(padrao2.Entries().front().first, "Erro_Detectar");
    EXPECT_EQ(padrao2.Entries().back().first, "DOTZ");
    // A key both catalogs hold has two texts; "Conf_mesa" and "Conf-Mesa" are different keys.
    EXPECT_EQ(padrao.Entries()[53].first, "AliqNaoCad");  // the second of two
    EXPECT_EQ(padrao.Msg("CONF_MESA"), "Conf.de Mesa");
    EXPECT_EQ(padrao.Msg("conf-mesa"), "Conf. Mesa");
    EXPECT_EQ(padrao2.Msg("Data"), "Data/Hora");
    EXPECT_EQ(padrao.Msg("Data"), "Data/Hora  :");
    EXPECT_EQ(padrao.Msg("Garcon"), "Garz\xF3n     :");
    EXPECT_EQ(padrao.Msg("AGUARDE_CUPOM"), "AGUARDE A EMISS\xC3O DO CUPOM FISCAL");
    EXPECT_NE(padrao2.Msg("Erro_FechaPorta").find("gera\xE7\xE3o do  arquivo COTEPE"), std::string::npos);

    // No text is empty or left in UTF-8 (a lead byte followed by a continuation byte).
    for (const TMessages* catalog : {&padrao, &padrao2}) {
        for (const auto& [key, text] : catalog->Entries()) {
            EXPECT_FALSE(text.empty()) << key;
            for (std::size_t i = 0; i + 1 < text.size(); ++i) {
                const auto lead = static_cast<unsigned char>(text[i]), next = static_cast<unsigned char>(text[i + 1]);
                EXPECT_FALSE(lead >= 0xC2 && lead <= 0xC3 && next >= 0x80 && next <= 0xBF) << key;
            }
        }
    }
}

class Frame : public orb::test::DriverTest {
protected:
    bool UsesPrinter() const override { return false; }
};

TEST_F(Frame, DebugLogHasOneFilePerMonthAndOneCrLfEntryPerCallInCodePage1252) {
    PinClock(EncodeDateTime(2026, 12, 31, 23, 59, 59));
    EXPECT_EQ(LogPath(), HomePath("impdebug1226.txt"));
    ImpFisDebug("ERRO!!! " + CP("Erro no relógio da impressora fiscal."));
    ImpFisDebug("Bematech_FI_NumeroCupom\r\nRetorno da Impressora : 000123");
    std::string contents;
    ASSERT_TRUE(orb::platform::ReadFile(LogPath(), contents));
    EXPECT_EQ(contents,
              "31/12/2026 23:59:59 - ERRO!!! Erro no rel\xf3gio da impressora fiscal.\r\n"
              "31/12/2026 23:59:59 - Bematech_FI_NumeroCupom\r\nRetorno da Impressora : 000123\r\n");

    PinClock(EncodeDateTime(2027, 1, 1, 0, 0, 0));
    EXPECT_EQ(LogPath(), HomePath("impdebug0127.txt"));
    EXPECT_FALSE(orb::platform::FileExists(LogPath()));
    ImpFisDebug("texto");
    EXPECT_EQ(orb::test::ReadLines(LogPath()), Texts{"01/01/2027 00:00:00 - texto"});

    // A log that cannot be written is told once, never raised: the operation goes on.
    orb::platform::SetEnv("ORB_HOME", HomePath("no-such-folder"));
    for (int i = 0; i < 2; ++i) ImpFisDebug("Bematech_FI_LeituraX");
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_TRUE(Dialogs()[0].text.starts_with(CP("Não foi possível gravar o log de depuração ") + LogPath()));
    orb::platform::SetEnv("ORB_HOME", Home());
    ImpFisDebug("texto");
    orb::platform::SetEnv("ORB_HOME", HomePath("no-such-folder"));
    ImpFisDebug("Bematech_FI_LeituraX");
    EXPECT_EQ(Dialogs().size(), 2u);  // told again once it had been written in between
}

TEST_F(Frame, NamedValuesConvertAsTheHostConvertsThem) {
    const Variant params = NamedParams{{"IDTIPOIMPFIS", "34"}, {"BOUTILTAA", true}, {"NR", 7}, {"X", "abc"}};
    EXPECT_EQ(ParamText(params, "NR"), "7");
    EXPECT_EQ(ParamInt(params, "IDTIPOIMPFIS"), 34);
    EXPECT_TRUE(ParamBool(params, "BOUTILTAA"));
    EXPECT_EQ(ParamInt(params, "ESQUEMA"), 0);  // absent: an unassigned variant
    EXPECT_THROW(ParamInt(params, "X"), orb::fw::EConvertError);
}

TEST_F(Frame, TheDataModuleIsCreatedOnceAndNeededBeforeItExists) {
    TdtmBematech100& module = EnsureDataModule();
    EXPECT_EQ(&EnsureDataModule(), &module);
    EXPECT_EQ(dtmBematech100, &module);
    EXPECT_EQ(module.msgPadrao.Msg("ErroPorta"), CP("Erro ao abrir porta de comunicação."));
    dtmBematech100 = nullptr;  // as in a module no operation has created it in yet
    EXPECT_THROW(DataModule(), orb::fw::Exception);
    dtmBematech100 = &module;
    EXPECT_EQ(&DataModule(), &module);
}

}  // namespace
