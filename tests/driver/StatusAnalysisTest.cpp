// The verdict on return codes and status bytes, with the status read answered by a scripted
// printer so each byte can be set exactly.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/DataModule.h"
#include "driver/Globals.h"
#include "driver/StatusAnalysis.h"
#include "driver/TestSupport.h"
#include "external/vendor/EntryPoints.h"

namespace {

using namespace Orb00100;

struct ScriptedStatus {
    static inline int read = 1, ack = 0, st1 = 0, st2 = 0;
    static inline int reads = 0, cancellations = 0;
    static int RetornoImpressora(int* a, int* s1, int* s2) {
        ++reads;
        if (read == 1) *a = ack, *s1 = st1, *s2 = st2;
        return read;
    }
    static int CancelaCupom() {
        ++cancellations;
        st1 &= ~2;  // the coupon is gone
        return 1;
    }
};

class StatusAnalysis : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        EnsureDataModule();
        Bematech_FI_RetornoImpressora = &ScriptedStatus::RetornoImpressora;
        Bematech_FI_CancelaCupom = &ScriptedStatus::CancelaCupom;
        ScriptedStatus::read = 1;
        ScriptedStatus::ack = ScriptedStatus::st1 = ScriptedStatus::st2 = 0;
        ScriptedStatus::reads = ScriptedStatus::cancellations = 0;
    }
    void TearDown() override {
        Bematech_FI_RetornoImpressora = nullptr;
        Bematech_FI_CancelaCupom = nullptr;
        DriverTest::TearDown();
    }
    static std::string Msg(const char* key) { return DataModule().msgPadrao.Msg(key); }
    static std::string Err(const char* key) { return "ERRO!!! " + Msg(key); }
    std::vector<std::string> Log() { return NewLogTexts(); }
    std::vector<std::string> Shown() {
        std::vector<std::string> texts;
        for (const auto& d : Dialogs()) texts.push_back(d.text);
        return texts;
    }
};

TEST_F(StatusAnalysis, CleanSuccessLeavesNoTrace) {
    EXPECT_TRUE(AnalisaRetorno("001", 1, true, true, true));
    EXPECT_TRUE(Log().empty());
    EXPECT_TRUE(stMensagemTaa.empty());
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(ScriptedStatus::reads, 1);
}

TEST_F(StatusAnalysis, EachCataloguedReturnCodeFailsWithItsMessage) {
    const std::pair<int, const char*> table[] = {
        {0, "ERRO_COM_ECF"}, {-1, "ErroExecucao"}, {-2, "ParamInvalido"}, {-3, "AliqNProg"},
        {-4, "ErroArqIni"}, {-5, "ErroPorta"}, {-6, "ImpDeslig"}, {-7, "BancoNCad"},
        {-8, "ErroGravacao"}, {-18, "ErroAbrirArq"}, {-19, "ParamErro"}, {-20, "TransCanc"},
        {-21, "TransAprov"}, {-22, "ImpNConcl"}, {-23, "OperNConcl"}, {-24, "FormPgtoNProg"},
        {-25, "TotNFisNProg"}, {-26, "TransEfet"}, {-28, "InfNImpre"}};
    std::vector<std::string> expected;
    for (const auto& [code, key] : table) {
        SCOPED_TRACE(code);
        EXPECT_FALSE(AnalisaRetorno("001", code, false, false, false));
        expected.push_back(Err(key));
    }
    EXPECT_EQ(Log(), expected);
    // Codes outside the table pass, however odd.
    for (int code : {2, 99, -9, -17, -27, -29, -1000}) {
        SCOPED_TRACE(code);
        EXPECT_TRUE(AnalisaRetorno("001", code, true, false, false));
    }
    EXPECT_TRUE(Log().empty());
    EXPECT_TRUE(Shown().empty());
}

TEST_F(StatusAnalysis, NakStopsBeforeTheStatusBytes) {
    ScriptedStatus::ack = 21;
    ScriptedStatus::st1 = 0xFF;
    ScriptedStatus::st2 = 0xFF;
    EXPECT_FALSE(AnalisaRetorno("001", 1, false, true, false));
    EXPECT_EQ(Log(), (std::vector<std::string>{"ERRO!!! NAK recebido"}));
    EXPECT_EQ(stMensagemTaa, " " + Msg("ImpErro"));
    EXPECT_EQ(ScriptedStatus::cancellations, 0);
}

TEST_F(StatusAnalysis, PaperOutWithOpenCouponCancelsItAndSucceeds) {
    ScriptedStatus::st1 = 130;
    EXPECT_TRUE(AnalisaRetorno("001", 1, true, true, false));
    EXPECT_EQ(ScriptedStatus::cancellations, 1);
    // The open coupon is logged and collected but never shown; the cancellation's own analysis
    // sees the paper still out.
    EXPECT_EQ(Log(), (std::vector<std::string>{Err("FimPapel"), Err("CupomAberto"), Err("FimPapel")}));
    EXPECT_EQ(stMensagemTaa, " " + Msg("FimPapel") + " " + Msg("CupomAberto") + " " + Msg("FimPapel"));
    EXPECT_EQ(Shown(), (std::vector<std::string>{Msg("FimPapel")}));

    ScriptedStatus::st1 = 2;
    EXPECT_TRUE(AnalisaRetorno("001", 1, true, false, false));
    EXPECT_EQ(ScriptedStatus::cancellations, 1);
}

TEST_F(StatusAnalysis, LowPaperIsLoggedAndShownOnlyWhenWarned) {
    ScriptedStatus::st1 = 64;
    EXPECT_TRUE(AnalisaRetorno("001", 1, true, false, false));
    EXPECT_EQ(Log(), (std::vector<std::string>{Err("PoucoPapel")}));
    EXPECT_TRUE(Shown().empty());
    EXPECT_TRUE(stMensagemTaa.empty());
    EXPECT_TRUE(AnalisaRetorno("001", 1, true, false, true));
    EXPECT_EQ(Shown(), (std::vector<std::string>{Msg("PoucoPapel")}));
    EXPECT_TRUE(AnalisaRetorno("001", 1, false, false, true));
    EXPECT_EQ(Shown().size(), 1u);
}

TEST_F(StatusAnalysis, EveryBitIsReportedInOrderAndCollectedWithoutDialogs) {
    ScriptedStatus::st1 = 0xFD;  // all but the open coupon
    ScriptedStatus::st2 = 0xFF;
    EXPECT_FALSE(AnalisaRetorno("001", -2, false, false, true));
    const char* order[] = {"ParamInvalido", "FimPapel", "PoucoPapel", "ErroRelogio", "ImpErro",
                           "SyntaxErro", "ComandoErro", "ParamErro", "TipoParamErro", "MemLotada",
                           "MemRAMErro", "AliqNProg", "AliqLotada", "CancNPermitido",
                           "CGCIENProg", "ComandoNExec"};
    std::vector<std::string> logged;
    std::string collected;
    for (const char* key : order) {
        logged.push_back(Err(key));
        if (std::string(key) != "PoucoPapel") collected += " " + Msg(key);
    }
    EXPECT_EQ(Log(), logged);
    EXPECT_EQ(stMensagemTaa, collected);
    EXPECT_TRUE(Shown().empty());

    // Each failing bit fails on its own; paper out does not.
    for (int bit : {32, 16, 8, 4, 1}) {
        ScriptedStatus::st1 = bit;
        ScriptedStatus::st2 = 0;
        EXPECT_FALSE(AnalisaRetorno("001", 1, false, false, false)) << "st1 " << bit;
    }
    for (int bit = 1; bit < 256; bit <<= 1) {
        ScriptedStatus::st1 = 0;
        ScriptedStatus::st2 = bit;
        EXPECT_FALSE(AnalisaRetorno("001", 1, false, false, false)) << "st2 " << bit;
    }
    ScriptedStatus::st1 = 128;
    ScriptedStatus::st2 = 0;
    EXPECT_TRUE(AnalisaRetorno("001", 1, false, false, false));
}

TEST_F(StatusAnalysis, ImpressoraOKFailsOnPaperOutAndIsSilentUnlessAsked) {
    ScriptedStatus::st1 = 128 + 64 + 2;
    EXPECT_FALSE(ImpressoraOK("001", false, false, true));
    // Only the open coupon is logged when nothing is shown; nothing is ever collected.
    EXPECT_EQ(Log(), (std::vector<std::string>{Err("CupomAberto")}));
    EXPECT_TRUE(Shown().empty());
    EXPECT_TRUE(stMensagemTaa.empty());

    EXPECT_FALSE(ImpressoraOK("001", true, true, true));
    EXPECT_EQ(Shown(), (std::vector<std::string>{Msg("FimPapel"), Msg("PoucoPapel")}));
    EXPECT_EQ(ScriptedStatus::cancellations, 1);

    ScriptedStatus::st1 = 64;
    EXPECT_TRUE(ImpressoraOK("001", true, false, false));
    ScriptedStatus::st1 = 0;
    ScriptedStatus::st2 = 4;
    EXPECT_FALSE(ImpressoraOK("001", false, false, false));
}

TEST_F(StatusAnalysis, ImpressoraOKRefusesAPrinterThatDoesNotAnswer) {
    ScriptedStatus::ack = 21;
    EXPECT_FALSE(ImpressoraOK("001", false, false, false));
    EXPECT_EQ(Log(), (std::vector<std::string>{"ERRO!!! NAK recebido"}));
    EXPECT_TRUE(Shown().empty());

    // A status read that fails must not pass for a ready printer.
    ScriptedStatus::ack = 0;
    ScriptedStatus::read = 0;
    EXPECT_FALSE(ImpressoraOK("001", true, false, false));
    EXPECT_EQ(Shown(), (std::vector<std::string>{Msg("ImpErro")}));

    // Nor may an unbound library crash the host.
    Bematech_FI_RetornoImpressora = nullptr;
    EXPECT_FALSE(ImpressoraOK("001", false, false, false));
    EXPECT_FALSE(AnalisaRetorno("001", 1, false, false, false));
}

}  // namespace
