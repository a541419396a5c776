// Binding the fiscal library: the order of the entry points, a start and a stop against the
// virtual printer, a library lacking an entry point, closing the port, the guarded intake.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>

#include "driver/Binding.h"
#include "driver/Globals.h"
#include "driver/TestSupport.h"
#include "external/vendor/EntryPoints.h"
#include "framework/Cp1252.h"
#include "framework/Exceptions.h"
#include "platform/Platform.h"

namespace {

using namespace Orb00100;
using orb::test::StartParams;

// The binding order the maker's library is held to (written out here on purpose: a change of
// order in the shared prototypes must show up as a failure).
const char* const kBindingOrder[] = {
    "Bematech_FI_AbrePortaSerial",
    "Bematech_FI_FechaPortaSerial",
    "Bematech_FI_VerificaEstadoImpressora",
    "Bematech_FI_RetornoImpressora",
    "Bematech_FI_FechaRelatorioGerencial",
    "Bematech_FI_DataMovimento",
    "Bematech_FI_DataHoraImpressora",
    "Bematech_FI_NumeroCaixa",
    "Bematech_FI_NumeroSerie",
    "Bematech_FI_NumeroSerieMFD",
    "Bematech_FI_StatusEstendidoMFD",
    "Bematech_FI_ArquivoMFD",
    "Bematech_FI_ProgramaFormaPagamentoMFD",
    "Bematech_FI_VerificaTotalizadoresNaoFiscais",
    "Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms",
    "Bematech_FI_NomeiaRelatorioGerencialMFD",
    "Bematech_FI_VerificaRelatorioGerencialMFD",
    "Bematech_FI_RetornoAliquotas",
    "Bematech_FI_VerificaAliquotasIss",
    "Bematech_FI_AbreCupom",
    "Bematech_FI_AbreCupomMFD",
    "Bematech_FI_NumeroCupom",
    "Bematech_FI_VendeItem",
    "Bematech_FI_VendeItemDepartamento",
    "Bematech_FI_VendeItemArredondamentoMFD",
    "Bematech_FI_CancelaItemGenerico",
    "Bematech_FI_CancelaCupom",
    "Bematech_FI_CancelaItemAnterior",
    "Bematech_FI_AcionaGaveta",
    "Bematech_FI_IniciaFechamentoCupom",
    "Bematech_FI_EfetuaFormaPagamento",
    "Bematech_FI_TerminaFechamentoCupom",
    "Bematech_FI_RecebimentoNaoFiscal",
    "Bematech_FI_CancelaRecebimentoNaoFiscalMFD",
    "Bematech_FI_ReducaoZ",
    "Bematech_FI_AbreComprovanteNaoFiscalVinculado",
    "Bematech_FI_UsaComprovanteNaoFiscalVinculado",
    "Bematech_FI_FechaComprovanteNaoFiscalVinculado",
    "Bematech_FI_LeituraX",
    "Bematech_FI_AumentaDescricaoItem",
    "Bematech_FI_VerificaEstadoGaveta",
    "Bematech_FI_LeituraXSerial",
    "Bematech_FI_DadosUltimaReducao",
    "Bematech_FI_FlagsFiscaisStr",
    "Bematech_FI_DadosUltimaReducaoMFD",
    "Bematech_FI_DadosUltimaReducaoCV0909",
    "Bematech_FI_RetornaChavePublicaAssinaturaArquivos",
    "Bematech_FI_RelatorioSintegraMFD",
    "Bematech_FI_GeraRegistrosSpedMFD",
    "Bematech_FI_DadosSintegra",
    "Bematech_FI_DadosSintegraMFD",
    "Bematech_FI_MapaResumo",
    "Bematech_FI_RelatorioGerencial",
    "Bematech_FI_Suprimento",
    "Bematech_FI_Sangria",
    "Bematech_FI_Acrescimos",
    "Bematech_FI_ProgramaHorarioVerao",
    "Bematech_FI_FlagsFiscais",
    "Bematech_FI_LeituraMemoriaFiscalData",
    "Bematech_FI_LeituraMemoriaFiscalSerialDataMFD",
    "Bematech_FI_LeituraMemoriaFiscalReducao",
    "Bematech_FI_LeituraMemoriaFiscalReducaoMFD",
    "Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD",
    "Bematech_FI_DownloadMFD",
    "Bematech_FI_FormatoDadosMFD",
    "Bematech_FI_VerificaFormasPagamento",
    "Bematech_FI_InicioFimCOOsMFD",
    "Bematech_FI_NumeroCuponsCancelados",
    "Bematech_FI_GrandeTotal",
    "Bematech_FI_GeraRegistrosCAT52MFDEx",
    "Bematech_FI_GeraRegistrosCAT52MFD",
    "Bematech_FI_VerificaImpressoraLigada",
    "Bematech_FI_AcionaGuilhotinaMFD",
    "Bematech_FI_AvancaPapelAcionaGuilhotinaMFD",
    "Bematech_FI_CodigoBarrasCODABARMFD",
    "Bematech_FI_CodigoBarrasCODE128MFD",
    "Bematech_FI_CodigoBarrasCODE39MFD",
    "Bematech_FI_CodigoBarrasCODE93MFD",
    "Bematech_FI_CodigoBarrasEAN13MFD",
    "Bematech_FI_CodigoBarrasEAN8MFD",
    "Bematech_FI_CodigoBarrasISBNMFD",
    "Bematech_FI_CodigoBarrasITFMFD",
    "Bematech_FI_CodigoBarrasMSIMFD",
    "Bematech_FI_CodigoBarrasPDF417MFD",
    "Bematech_FI_CodigoBarrasPLESSEYMFD",
    "Bematech_FI_CodigoBarrasUPCAMFD",
    "Bematech_FI_CodigoBarrasUPCEMFD",
    "Bematech_FI_IniciaModoTEF",
    "Bematech_FI_FinalizaModoTEF",
    "Bematech_FI_LeituraMemoriaFiscalDataMFD",
    "Bematech_FI_ContadorCupomFiscalMFD",
    "Bematech_FI_NumeroSubstituicoesProprietario",
    "Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional",
    "Bematech_FI_NumeroOperacoesNaoFiscais",
    "Bematech_FI_NumeroIntervencoes",
    "Bematech_FI_NumeroReducoes",
    "Bematech_FI_VendaBruta",
    "Bematech_FI_Cancelamentos",
    "Bematech_FI_VerificaTotalizadoresParciais",
    "Bematech_FI_VerificaTotalizadoresParciaisMFD",
    "Bematech_FI_VerificaRecebimentoNaoFiscal",
    "Bematech_FI_VerificaRecebimentoNaoFiscalMFD",
    "Bematech_FI_GrandeTotalUltimaReducaoMFD",
    "Bematech_FI_DataHoraReducao",
    "Bematech_FI_Descontos",
    "Bematech_FI_ContadorRelatoriosGerenciaisMFD",
    "Bematech_FI_ContadorComprovantesCreditoMFD",
    "Bematech_FI_MarcaModeloTipoImpressoraMFD",
    "Bematech_FI_VersaoFirmwareMFD",
    "Bematech_FI_AbreRelatorioGerencialMFD",
    "Bematech_FI_UsaRelatorioGerencialMFD",
    "Bematech_FI_EstornoNaoFiscalVinculadoMFD",
    "Bematech_FI_DownloadMF",
};

bool AllFiscalBound() {
    for (const EntryPointSlot& slot : FiscalEntryPoints())
        if (!slot.isSet()) return false;
    return true;
}

bool NoFiscalBound() {
    for (const EntryPointSlot& slot : FiscalEntryPoints())
        if (slot.isSet()) return false;
    return true;
}

// The folder of the module's own library, where the fixture stand-ins are built.
std::string ModuleFolder() {
    Dl_info info{};
    EXPECT_NE(dladdr(reinterpret_cast<void*>(&StopImpFiscal), &info), 0);
    std::string path = info.dli_fname ? info.dli_fname : "";
    return path.substr(0, path.find_last_of('/'));
}

int DummyFormataTX(char*) { return 0; }

class Binding : public orb::test::DriverTest {};

TEST(BindingOrder, IsTheMakersOrderOfAllHundredAndThirteen) {
    const auto slots = FiscalEntryPoints();
    ASSERT_EQ(slots.size(), std::size(kBindingOrder));
    ASSERT_EQ(slots.size(), 113u);
    for (std::size_t i = 0; i < slots.size(); ++i) EXPECT_STREQ(slots[i].name, kBindingOrder[i]) << i;
}

TEST_F(Binding, StartBindsEveryEntryPointAndOpensThePort) {
    ASSERT_TRUE(StartModule());
    EXPECT_NE(ImpFisDLLHandle, 0u);
    EXPECT_TRUE(AllFiscalBound());
    EXPECT_TRUE(boImpFiscalOK);
    EXPECT_EQ(inTipoImpFis, 34);
    EXPECT_TRUE(boNUtilTaa);
    const auto calls = JournalEntries();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), "Bematech_FI_AbrePortaSerial");
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(Binding, SelfServiceFlagIsKeptNegated) {
    ASSERT_TRUE(StartModule(StartParams().Set("BOUTILTAA", true)));
    EXPECT_FALSE(boNUtilTaa);
    ASSERT_TRUE(StartModule(StartParams().Set("BOUTILTAA", false).Set("IDTIPOIMPFIS", 19)));
    EXPECT_TRUE(boNUtilTaa);
    EXPECT_EQ(inTipoImpFis, 19);
}

TEST_F(Binding, StopClearsTheFiscalEntryPointsAndReleasesTheLibraryThenStartsAgain) {
    ASSERT_TRUE(StartModule());
    BemaFormataTX = &DummyFormataTX;  // filled by the host: not the stop's to clear

    StopImpFiscal();
    EXPECT_EQ(ImpFisDLLHandle, 0u);
    EXPECT_TRUE(NoFiscalBound());
    EXPECT_EQ(BemaFormataTX, &DummyFormataTX);
    EXPECT_TRUE(boImpFiscalOK);  // the stop leaves the verdict of the last start alone

    StopImpFiscal();  // a second stop has nothing to release
    EXPECT_EQ(ImpFisDLLHandle, 0u);

    ASSERT_TRUE(StartModule());
    EXPECT_NE(ImpFisDLLHandle, 0u);
    EXPECT_TRUE(AllFiscalBound());
}

TEST_F(Binding, ASecondStartKeepsTheLibraryAndBindsAgain) {
    ASSERT_TRUE(StartModule());
    const auto handle = ImpFisDLLHandle;
    Bematech_FI_LeituraX = nullptr;
    ClearJournal();
    ASSERT_TRUE(StartModule());
    EXPECT_EQ(ImpFisDLLHandle, handle);
    EXPECT_NE(Bematech_FI_LeituraX, nullptr);
    EXPECT_EQ(JournalEntries().front(), "Bematech_FI_AbrePortaSerial");  // the port opened again
}

TEST_F(Binding, APortThatDoesNotOpenFailsTheStartButKeepsTheLibraryBound) {
    FailNext("Bematech_FI_AbrePortaSerial", 0);
    EXPECT_FALSE(StartModule());
    EXPECT_FALSE(boImpFiscalOK);
    EXPECT_NE(ImpFisDLLHandle, 0u);
    EXPECT_TRUE(AllFiscalBound());
}

TEST_F(Binding, ALibraryLackingTheLastEntryPointLeavesNothingBound) {
    const std::string fixture = ModuleFolder() + "/fixtures/missing-last";
    ASSERT_TRUE(orb::platform::FileExists(fixture + "/libBemaFI32.so")) << fixture;
    const std::string saved = orb::platform::GetEnv("ORB_LIBRARY_PATH");
    setenv("ORB_LIBRARY_PATH", fixture.c_str(), 1);

    // Every entry point before the missing one is found first.
    const auto library = orb::platform::LoadLibrary("BemaFI32.dll");
    ASSERT_NE(library, 0u);
    EXPECT_EQ(BindFiscalEntryPoints(library), "Bematech_FI_DownloadMF");
    const auto slots = FiscalEntryPoints();
    for (std::size_t i = 0; i + 1 < slots.size(); ++i) EXPECT_TRUE(slots[i].isSet()) << slots[i].name;
    ClearFiscalEntryPoints();
    orb::platform::FreeLibrary(library);

    const bool started = StartModule();
    setenv("ORB_LIBRARY_PATH", saved.c_str(), 1);
    EXPECT_FALSE(started);
    EXPECT_EQ(ImpFisDLLHandle, 0u);
    EXPECT_TRUE(NoFiscalBound());
    EXPECT_FALSE(boImpFiscalOK);
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_TRUE(LogLines().empty());
    EXPECT_TRUE(JournalEntries().empty());  // nothing was called

    ASSERT_TRUE(StartModule());  // the complete library binds again afterwards
}

TEST_F(Binding, FechaPortaIsTrueOnlyWhenTheLibraryAnswersOne) {
    ASSERT_TRUE(StartModule());
    const auto logged = LogLines().size();
    for (int code : {0, -1, -6, -27, 2}) {
        SCOPED_TRACE(code);
        FailNext("Bematech_FI_FechaPortaSerial", code);
        EXPECT_FALSE(FechaPorta());
    }
    EXPECT_TRUE(FechaPorta());
    EXPECT_EQ(LogLines().size(), logged);
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(Binding, FechaPortaWithoutABoundLibraryRefusesWithoutCalling) {
    EXPECT_FALSE(FechaPorta());
    ASSERT_TRUE(StartModule());
    StopImpFiscal();
    ClearJournal();
    EXPECT_FALSE(FechaPorta());
    EXPECT_TRUE(JournalEntries().empty());
}

TEST_F(Binding, AParameterThatDoesNotConvertShowsTheErrorOnceAndTheStartGoesOn) {
    std::string conversionError;
    try {
        orb::fw::Variant("abc").ToInt();
    } catch (const std::exception& e) {
        conversionError = e.what();
    }
    ASSERT_FALSE(conversionError.empty());

    inTipoImpFis = 7;
    boNUtilTaa = false;
    // BOUTILTAA false would make boNUtilTaa true, but it comes after the failing value.
    EXPECT_TRUE(StartModule(StartParams().Set("IDTIPOIMPFIS", "abc").Set("BOUTILTAA", false)));

    ASSERT_EQ(Dialogs().size(), 1u);
    const auto& dialog = Dialogs().front();
    EXPECT_EQ(dialog.text, conversionError + "\r" +
                               CP("Erro no recebimento dos parâmetros da função: StartImpFiscal - Orb_00100.bpl"));
    EXPECT_EQ(dialog.kind, 3);
    EXPECT_EQ(dialog.scheme, "001");
    EXPECT_EQ(dialog.question, "N");
    EXPECT_EQ(inTipoImpFis, 7);
    EXPECT_FALSE(boNUtilTaa);
    EXPECT_NE(ImpFisDLLHandle, 0u);
    EXPECT_TRUE(AllFiscalBound());
}

}  // namespace
