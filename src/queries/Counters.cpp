// The counter queries: a fixed-width answer handed back as the printer wrote it.
#include "driver/DebugLog.h"
#include "driver/StatusAnalysis.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
#include "framework/NumberFormat.h"
#include "driver/PrinterCall.h"
#include "queries/Queries.h"

namespace Orb00100 {

namespace {


using CounterEntry = int(ORB_VENDOR_CALL*)(char*);

// A counter read also cancels a coupon left open on the printer.
bool ReadCounter(const std::string& scheme, std::string& answer, CounterEntry entry, int width,
                 const std::string& label) {
    AnswerArea area(width);
    const int code = Invoke(entry, area.data());
    answer = area.Text();
    ImpFisDebug(label + answer);
    return AnalisaRetorno(scheme, code, false, true, false);
}

}  // namespace

bool ContadorCupomFiscalMFD(const std::string& scheme, std::string& answer) {
    return ReadCounter(scheme, answer, Bematech_FI_ContadorCupomFiscalMFD, 6,
                       AnswerLabel("Bematech_FI_ContadorCupomFiscalMFD"));
}

bool NumeroSubstituicoesProprietario(const std::string& scheme, std::string& answer) {
    return ReadCounter(scheme, answer, Bematech_FI_NumeroSubstituicoesProprietario, 4,
                       AnswerLabel("Bematech_FI_NumeroSubstituicoesProprietario"));
}

bool NumeroOperacoesNaoFiscais(const std::string& scheme, std::string& answer) {
    return ReadCounter(scheme, answer, Bematech_FI_NumeroOperacoesNaoFiscais, 6,
                       AnswerLabel("Bematech_FI_NumeroOperacoesNaoFiscais"));
}

bool VendaBruta(const std::string& scheme, std::string& answer) {
    return ReadCounter(scheme, answer, Bematech_FI_VendaBruta, 18, AnswerLabel("Bematech_FI_VendaBruta tam18"));
}

bool Descontos(const std::string& scheme, std::string& answer) {
    return ReadCounter(scheme, answer, Bematech_FI_Descontos, 14, AnswerLabel("Bematech_FI_Descontos"));
}

bool Cancelamentos(const std::string& scheme, std::string& answer) {
    return ReadCounter(scheme, answer, Bematech_FI_Cancelamentos, 14, AnswerLabel("Bematech_FI_Cancelamentos"));
}

bool NumeroIntervencoes(const std::string& scheme, std::string& answer) {
    return ReadCounter(scheme, answer, Bematech_FI_NumeroIntervencoes, 4,
                       AnswerLabel("Bematech_FI_NumeroIntervencoes"));
}

bool ContadorRelatoriosGerenciaisMFD(const std::string& scheme, std::string& answer) {
    return ReadCounter(scheme, answer, Bematech_FI_ContadorRelatoriosGerenciaisMFD, 6,
                       AnswerLabel("Bematech_FI_ContadorRelatoriosGerenciaisMFD"));
}

bool ContadorComprovantesCreditoMFD(const std::string& scheme, std::string& answer) {
    return ReadCounter(scheme, answer, Bematech_FI_ContadorComprovantesCreditoMFD, 6,
                       AnswerLabel("Bematech_FI_ContadorComprovantesCreditoMFD"));
}

bool NumeroReducoes(const std::string& scheme, std::string& next) {
    AnswerArea area(4);
    const int code = Invoke(Bematech_FI_NumeroReducoes, area.data());
    const std::string answer = area.Text();
    // A printer that wrote nothing leaves the blanks: no reduction yet.
    const int count = orb::hostlib::EmptyString(answer) ? -1 : orb::fw::StrToInt(answer);
    next = orb::hostlib::Ajusta(orb::fw::IntToStr(count + 1), 4);
    ImpFisDebug(AnswerLabel("Bematech_FI_NumeroReducoes") + next);
    return AnalisaRetorno(scheme, code, false, true, false);
}

bool DataHoraGravacaoUsuarioSWBasicoMFAdicional(const std::string& scheme, std::string& first, std::string& second,
                                                std::string& third) {
    AnswerArea user(20), software(20), letter(5);
    const int code =
        Invoke(Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional, user.data(), software.data(), letter.data());
    first = user.Text();
    second = software.Text();
    third = letter.Text();
    ImpFisDebug(AnswerLabel("Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional") + first + " - " + second + " - " +
                third);
    return AnalisaRetorno(scheme, code, false, true, false);
}

bool InfImpTerm(const std::string& scheme, int /*kind*/, std::string& firstCoo, std::string& lastCoo,
                std::string& cancelled) {
    AnswerArea first(6), last(6);
    const int rangeCode = Invoke(Bematech_FI_InicioFimCOOsMFD, first.data(), last.data());
    firstCoo = first.Text();
    lastCoo = last.Text();
    ImpFisDebug(AnswerLabel("Bematech_FI_RegistrosTipo60") + firstCoo + " - " + lastCoo);
    AnalisaRetorno(scheme, rangeCode, false, false, false);

    AnswerArea count(4);
    const int countCode = Invoke(Bematech_FI_NumeroCuponsCancelados, count.data());
    cancelled = count.Text();
    ImpFisDebug(AnswerLabel("Bematech_FI_NumeroCuponsCancelados") + cancelled);
    AnalisaRetorno(scheme, countCode, false, false, false);
    return true;
}

}  // namespace Orb00100
