// The queries' answer areas, debug-log lines and failure values, with the entry points answered
// by a scripted printer that measures the area it is handed.

#include <cstring>
#include <deque>

#include "driver/DataModule.h"
#include "driver/Globals.h"
#include "driver/TestSupport.h"
#include "exports/ExportTable.h"
#include "external/vendor/EntryPoints.h"
#include "framework/Exceptions.h"
#include "queries/Queries.h"

namespace {

using namespace Orb00100;
using orb::fw::Variant;

using orb::test::ScriptedStatus;
using orb::test::Texts;

// The queries' entry points: each area handed over is measured, then filled with the next answer.
struct ScriptedPrinter {
    static inline int result = 1, flags = 0;
    static inline std::vector<int> widths;          // blanks in each area handed over
    static inline std::deque<std::string> answers;  // written into successive areas

    static void Fill(char* area) {
        widths.push_back(static_cast<int>(std::strlen(area)));
        if (answers.empty()) return;
        std::memcpy(area, answers.front().data(), answers.front().size());
        answers.pop_front();
    }
    static int ORB_VENDOR_CALL One(char* a) { return Fill(a), result; }
    static int ORB_VENDOR_CALL Two(char* a, char* b) { return Fill(a), Fill(b), result; }
    static int ORB_VENDOR_CALL Three(char* a, char* b, char* c) { return Fill(a), Fill(b), Fill(c), result; }
    static int ORB_VENDOR_CALL Flags(int* f) { return *f = flags, result; }
    static int ORB_VENDOR_CALL NoArguments() { return result; }
};

class Queries : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ScriptedPrinter::result = 1;
        ScriptedPrinter::widths.clear();
        ScriptedPrinter::answers.clear();
        EnsureDataModule();
        ScriptedStatus::Install();  // the fixture's stop clears every fiscal entry point again
    }
    using Widths = std::vector<int>;
};

using CounterQuery = bool (*)(const std::string&, std::string&);

TEST_F(Queries, CountersAnswerAsWrittenInTheirWidthAndCancelAnOpenCoupon) {
    struct Case {
        CounterQuery query;
        int(ORB_VENDOR_CALL** entry)(char*);
        int width;
        std::string label;
    };
    const Case cases[] = {
        {ContadorCupomFiscalMFD, &Bematech_FI_ContadorCupomFiscalMFD, 6, "Bematech_FI_ContadorCupomFiscalMFD"},
        {NumeroSubstituicoesProprietario, &Bematech_FI_NumeroSubstituicoesProprietario, 4,
         "Bematech_FI_NumeroSubstituicoesProprietario"},
        {NumeroOperacoesNaoFiscais, &Bematech_FI_NumeroOperacoesNaoFiscais, 6, "Bematech_FI_NumeroOperacoesNaoFiscais"},
        {VendaBruta, &Bematech_FI_VendaBruta, 18, "Bematech_FI_VendaBruta tam18"},
        {Descontos, &Bematech_FI_Descontos, 14, "Bematech_FI_Descontos"},
        {Cancelamentos, &Bematech_FI_Cancelamentos, 14, "Bematech_FI_Cancelamentos"},
        {NumeroIntervencoes, &Bematech_FI_NumeroIntervencoes, 4, "Bematech_FI_NumeroIntervencoes"},
        {ContadorRelatoriosGerenciaisMFD, &Bematech_FI_ContadorRelatoriosGerenciaisMFD, 6,
         "Bematech_FI_ContadorRelatoriosGerenciaisMFD"},
        {ContadorComprovantesCreditoMFD, &Bematech_FI_ContadorComprovantesCreditoMFD, 6,
         "Bematech_FI_ContadorComprovantesCreditoMFD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        *c.entry = &ScriptedPrinter::One;
        ScriptedPrinter::widths.clear();
        ScriptedPrinter::result = 1;
        ScriptedStatus::st1 = 2;
        ScriptedStatus::cancellations = 0;
        const std::string written = std::string(c.width - 1, '0') + "7";
        ScriptedPrinter::answers = {written};
        std::string answer = "stale";
        EXPECT_TRUE(c.query("001", answer) && answer == written) << answer;
        EXPECT_EQ(ScriptedPrinter::widths, Widths{c.width});
        EXPECT_EQ(ScriptedStatus::cancellations, 1);
        EXPECT_EQ(NewLogTexts(), (Texts{AnswerLogText(c.label) + written, ErrorLogText("CupomAberto")}));
        // A printer that cannot be reached: the blanks come back, the verdict fails quietly.
        ScriptedPrinter::result = 0;
        EXPECT_FALSE(c.query("001", answer) || answer != std::string(c.width, ' ')) << answer;
        EXPECT_EQ(NewLogTexts(), (Texts{AnswerLogText(c.label) + answer, ErrorLogText("ERRO_COM_ECF")}));
    }
    EXPECT_TRUE(Dialogs().empty());

    // The reduction counter answers the next reduction.
    ScriptedStatus::Install();
    ScriptedPrinter::result = 1;
    Bematech_FI_NumeroReducoes = &ScriptedPrinter::One;
    ScriptedPrinter::answers = {"0012"};
    std::string next;
    EXPECT_TRUE(NumeroReducoes("001", next) && next == "0013") << next;
    ScriptedPrinter::result = -1;
    EXPECT_FALSE(NumeroReducoes("001", next) || next != "0000") << next;  // nothing written
    EXPECT_EQ(NewLogTexts(),
              (Texts{AnswerLogText("Bematech_FI_NumeroReducoes") + "0013",
                     AnswerLogText("Bematech_FI_NumeroReducoes") + "0000", ErrorLogText("ErroExecucao")}));
}

TEST_F(Queries, MultiPartAnswersAreJoinedInTheLogAndOnlyTheModelQueryShowsFailures) {
    Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional = &ScriptedPrinter::Three;
    Bematech_FI_MarcaModeloTipoImpressoraMFD = &ScriptedPrinter::Three;
    ScriptedPrinter::answers = {"01/12/2026 10:00:00 ", "02/12/2026 11:00:00 ", "A    ", "MARCA", "MODELO", "ECF-IF"};
    std::string a, b, c, brand, model, kind;
    EXPECT_TRUE(DataHoraGravacaoUsuarioSWBasicoMFAdicional("001", a, b, c) && c == "A    ") << c;
    EXPECT_TRUE(Modelo_Impressora("001", brand, model, kind));
    EXPECT_EQ(ScriptedPrinter::widths, (Widths{20, 20, 5, 15, 20, 7}));
    EXPECT_EQ(NewLogTexts(), (Texts{AnswerLogText("Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional") +
                                        "01/12/2026 10:00:00  - 02/12/2026 11:00:00  - A    ",
                                    AnswerLogText("Bematech_FI_MarcaModeloTipoImpressoraMFD") + "MARCA" +
                                        std::string(10, ' ') + " - MODELO" + std::string(14, ' ') + " - ECF-IF "}));
    ScriptedPrinter::result = -2;
    EXPECT_FALSE(DataHoraGravacaoUsuarioSWBasicoMFAdicional("001", a, b, c));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_FALSE(Modelo_Impressora("007", brand, model, kind));
    EXPECT_TRUE(LastDialogIs(CatalogText("ParamInvalido"), 0, "007"));
}

TEST_F(Queries, IdentityQueriesAndTheirFailureValues) {
    Bematech_FI_VersaoFirmwareMFD = &ScriptedPrinter::One;
    Bematech_FI_NumeroCupom = &ScriptedPrinter::One;
    Bematech_FI_NumeroSerieMFD = &ScriptedPrinter::One;
    ScriptedStatus::st1 = 2;
    ScriptedPrinter::answers = {"010300", "000042", "BE0123456789        "};
    std::string version, serial;
    EXPECT_TRUE(Versao_Software_Basico("001", version));
    const std::string coupon = Nr_Cupom("", "001");
    EXPECT_TRUE(Numero_de_Serie("001", serial));
    EXPECT_EQ((Texts{version, coupon, serial}), (Texts{"010300", "000042", "BE0123456789        "}));
    EXPECT_EQ(ScriptedPrinter::widths, (Widths{6, 6, 20}));
    EXPECT_EQ(ScriptedStatus::cancellations, 0);  // neither asks to cancel
    EXPECT_EQ(NewLogTexts(),
              (Texts{AnswerLogText("Bematech_FI_VersaoFirmwareMFD") + "010300", ErrorLogText("CupomAberto"),
                     AnswerLogText("Bematech_FI_NumeroCupom") + "000042",
                     AnswerLogText("Bematech_FI_NumeroSerieMFD") + serial, ErrorLogText("CupomAberto")}));

    // The coupon number is judged by its area alone, and the serial query never fails.
    const int readsBefore = ScriptedStatus::reads;
    EXPECT_EQ(Nr_Cupom("", "001"), "ERRO");
    ScriptedPrinter::result = 0;
    ScriptedPrinter::answers = {"000043"};
    EXPECT_EQ(Nr_Cupom("", "001"), "000043");
    EXPECT_EQ(ScriptedStatus::reads, readsBefore);
    EXPECT_TRUE(Numero_de_Serie("001", serial) && serial == std::string(20, ' ')) << serial;
}

TEST_F(Queries, GrandTotals) {
    Bematech_FI_GrandeTotal = &ScriptedPrinter::One;
    Bematech_FI_GrandeTotalUltimaReducaoMFD = &ScriptedPrinter::One;
    ScriptedPrinter::answers = {"000000000000123456", "000000000000999999", "000000000000100000"};
    std::string total;
    EXPECT_TRUE(BuscaTotGer("001", total) && total == "1234,56") << total;
    Variant result = Variant::MakeArray(1);
    const Variant args[] = {Variant("005")};
    EXPECT_TRUE(RetornaGtAtual(args, result) && result[0].ToString() == "000000000000999999");
    EXPECT_TRUE(RetornaGtUltimaReducao(args, result) && result[0].ToString() == "000000000000100000");
    EXPECT_EQ(ScriptedPrinter::widths, (Widths{18, 18, 18}));
    EXPECT_EQ(NewLogTexts(), Texts{AnswerLogText("Bematech_FI_GrandeTotal") + "000000000000123456"});  // this alone

    ScriptedPrinter::result = 0;
    EXPECT_THROW(BuscaTotGer("001", total), orb::fw::EConvertError);  // nothing but blanks
    EXPECT_FALSE(RetornaGtAtual(args, result));
    EXPECT_EQ(result[0].ToString(), std::string(18, ' '));
    ASSERT_EQ(Dialogs().size(), 1u);  // only RetornaGtAtual shows
    EXPECT_EQ(Dialogs()[0].scheme, "005");
    ScriptedPrinter::answers = {"000000000000000001"};
    EXPECT_TRUE(BuscaTotGer("001", total) && total == "0,01") << total;  // true whatever the printer said
}

TEST_F(Queries, PrinterDateTimeAndLastReduction) {
    Bematech_FI_DataHoraImpressora = &ScriptedPrinter::Two;
    Bematech_FI_DataHoraReducao = &ScriptedPrinter::Two;
    ScriptedPrinter::answers = {"051226", "143005", "041226", "235959"};
    std::string stamp;
    EXPECT_TRUE(Data_Imp("001", stamp) && stamp == "051226143005") << stamp;
    // Known to the host by its plain name alone: reached through the export table.
    const orb::exports::Operation* op = orb::exports::FindOperation("RetornaDataUltimaReducao");
    ASSERT_NE(op, nullptr);
    std::vector<orb::exports::Argument> args(2);
    args[0].value = Variant::MakeArray({Variant("001")});
    args[1].value = Variant::MakeArray(2);
    EXPECT_TRUE(op->invoke(args).ToBool());
    EXPECT_EQ(args[1].value, Variant::MakeArray({"041226", "235959"}));
    EXPECT_EQ(ScriptedPrinter::widths, (Widths{6, 6, 6, 6}));
    EXPECT_EQ(NewLogTexts(), Texts{AnswerLogText("Bematech_FI_DataHoraImpressora") + "051226143005143005"});

    // A self-service terminal whose customer is being served stays quiet.
    ScriptedPrinter::result = 0;
    boNUtilTaa = false;
    boClieUtil = true;
    EXPECT_FALSE(Data_Imp("001", stamp));
    EXPECT_TRUE(Dialogs().empty());
    boClieUtil = false;
    EXPECT_FALSE(Data_Imp("001", stamp));
    EXPECT_EQ(Dialogs().size(), 1u);
}

TEST_F(Queries, InfImpTermReportsBothCallsAndNeverFails) {
    Bematech_FI_InicioFimCOOsMFD = &ScriptedPrinter::Two;
    Bematech_FI_NumeroCuponsCancelados = &ScriptedPrinter::One;
    ScriptedPrinter::result = -1;
    ScriptedPrinter::answers = {"000010", "000020", "0003"};
    std::string first, last, cancelled;
    EXPECT_TRUE(InfImpTerm("001", 7, first, last, cancelled));
    EXPECT_EQ((Texts{first, last, cancelled}), (Texts{"000010", "000020", "0003"}));
    EXPECT_EQ(ScriptedPrinter::widths, (Widths{6, 6, 4}));
    EXPECT_EQ(NewLogTexts(),
              (Texts{AnswerLogText("Bematech_FI_RegistrosTipo60") + "000010 - 000020", ErrorLogText("ErroExecucao"),
                     AnswerLogText("Bematech_FI_NumeroCuponsCancelados") + "0003", ErrorLogText("ErroExecucao")}));
}

TEST_F(Queries, DaylightSavingFlagAndToggle) {
    Bematech_FI_FlagsFiscais = &ScriptedPrinter::Flags;
    Bematech_FI_ProgramaHorarioVerao = &ScriptedPrinter::NoArguments;
    for (const auto& [flags, on] : {std::pair{4, true}, {5, true}, {12, true}, {0, false}, {1, false}, {8, false}}) {
        ScriptedPrinter::flags = flags;
        EXPECT_EQ(Estado_HorVerao("001"), on) << flags;
    }
    EXPECT_EQ(NewLogTexts().back(), AnswerLogText("Bematech_FI_FlagsFiscais") + "8");
    EXPECT_TRUE(Muda_Horario("001"));
    ScriptedPrinter::result = -1;
    EXPECT_FALSE(Muda_Horario("001"));
    EXPECT_EQ(NewLogTexts(), (Texts{"Bematech_FI_ProgramaHorarioVerao", "Bematech_FI_ProgramaHorarioVerao",
                                    ErrorLogText("ErroExecucao")}));
}

TEST_F(Queries, MovementDateTakesTheCenturyFromToday) {
    PinClock(orb::fw::EncodeDateTime(2026, 12, 5, 14, 30, 0));
    Bematech_FI_DataMovimento = &ScriptedPrinter::One;
    const orb::fw::TDateTime today = orb::fw::EncodeDate(2026, 12, 5);
    // No movement yet, no such day, no digits or nothing written: today.
    const std::pair<const char*, orb::fw::TDateTime> cases[] = {{"251299", orb::fw::EncodeDate(2099, 12, 25)},
                                                                {"010126", orb::fw::EncodeDate(2026, 1, 1)},
                                                                {"000000", today},
                                                                {"310226", today},
                                                                {"ab1226", today},
                                                                {"", today}};
    for (const auto& [answer, expected] : cases) {
        ScriptedPrinter::answers = {answer};
        EXPECT_EQ(DataMoviFiscal("001"), expected) << answer;
    }
    EXPECT_EQ(NewLogTexts().front(), AnswerLogText("Bematech_FI_DataMovimento") + "251299");
}

TEST_F(Queries, EstadoImpSetsTheCustomerFlagFromItsVerdictAndNeverRaises) {
    boNUtilTaa = false;
    EXPECT_TRUE(Estado_Imp("001") && boClieUtil && stMensagemTaa.empty()) << stMensagemTaa;
    // Failing, it clears old messages and collects its own, quietly on a self-service till.
    stMensagemTaa = " old";
    ScriptedStatus::st1 = 32;
    EXPECT_FALSE(Estado_Imp("001") || boClieUtil);
    EXPECT_EQ(stMensagemTaa, " " + CatalogText("ErroRelogio"));
    EXPECT_TRUE(Dialogs().empty());
    // A debug log that cannot be written changes no verdict, and never raises.
    orb::platform::SetEnv("ORB_HOME", (Home() + "/no/such/folder"));
    EXPECT_FALSE(Estado_Imp("001") || boClieUtil);
    ScriptedStatus::st1 = 0;
    EXPECT_TRUE(Estado_Imp("001") && boClieUtil);
    orb::platform::SetEnv("ORB_HOME", Home());
}

TEST_F(Queries, UnboundEntryPointsFailWithoutCrashing) {
    Bematech_FI_RetornoImpressora = nullptr;  // no library bound at all
    std::string answer;
    EXPECT_FALSE(VendaBruta("001", answer));
    EXPECT_EQ(answer, std::string(18, ' '));
    EXPECT_EQ(Nr_Cupom("", "001"), "ERRO");
    EXPECT_FALSE(Estado_Imp("001"));
}

}  // namespace
