// The counter queries: a fixed-width answer handed back as the printer wrote it.
#include "driver/PrinterCall.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
#include "framework/NumberFormat.h"
#include "queries/Queries.h"

namespace Orb00100 {

namespace {

// A counter read also cancels a coupon left open on the printer.
constexpr StatusCheck kCounterCheck{.cancelOpenCoupon = true};

}  // namespace

bool ContadorCupomFiscalMFD(const std::string& scheme, std::string& answer) {
    return Query(scheme, kCounterCheck, ORB_ENTRY(Bematech_FI_ContadorCupomFiscalMFD), 6, answer);
}

bool NumeroSubstituicoesProprietario(const std::string& scheme, std::string& answer) {
    return Query(scheme, kCounterCheck, ORB_ENTRY(Bematech_FI_NumeroSubstituicoesProprietario), 4, answer);
}

bool NumeroOperacoesNaoFiscais(const std::string& scheme, std::string& answer) {
    return Query(scheme, kCounterCheck, ORB_ENTRY(Bematech_FI_NumeroOperacoesNaoFiscais), 6, answer);
}

bool VendaBruta(const std::string& scheme, std::string& answer) {
    return Query(scheme, kCounterCheck, "Bematech_FI_VendaBruta tam18", Bematech_FI_VendaBruta, 18, answer);
}

bool Descontos(const std::string& scheme, std::string& answer) {
    return Query(scheme, kCounterCheck, ORB_ENTRY(Bematech_FI_Descontos), 14, answer);
}

bool Cancelamentos(const std::string& scheme, std::string& answer) {
    return Query(scheme, kCounterCheck, ORB_ENTRY(Bematech_FI_Cancelamentos), 14, answer);
}

bool NumeroIntervencoes(const std::string& scheme, std::string& answer) {
    return Query(scheme, kCounterCheck, ORB_ENTRY(Bematech_FI_NumeroIntervencoes), 4, answer);
}

bool ContadorRelatoriosGerenciaisMFD(const std::string& scheme, std::string& answer) {
    return Query(scheme, kCounterCheck, ORB_ENTRY(Bematech_FI_ContadorRelatoriosGerenciaisMFD), 6, answer);
}

bool ContadorComprovantesCreditoMFD(const std::string& scheme, std::string& answer) {
    return Query(scheme, kCounterCheck, ORB_ENTRY(Bematech_FI_ContadorComprovantesCreditoMFD), 6, answer);
}

bool NumeroReducoes(const std::string& scheme, std::string& next) {
    AnswerArea area(4);
    const int code = Invoke(Bematech_FI_NumeroReducoes, area.data());
    const std::string answer = area.Text();
    // A printer that wrote nothing leaves the blanks: no reduction yet.
    const int count = orb::hostlib::EmptyString(answer) ? -1 : orb::fw::StrToInt(answer);
    next = orb::hostlib::Ajusta(orb::fw::IntToStr(count + 1), 4);
    return Conclude(scheme, code, AnswerLabel("Bematech_FI_NumeroReducoes") + next, kCounterCheck);
}

bool DataHoraGravacaoUsuarioSWBasicoMFAdicional(const std::string& scheme, std::string& first, std::string& second,
                                                std::string& third) {
    AnswerArea user(20), software(20), letter(5);
    const int code =
        Invoke(Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional, user.data(), software.data(), letter.data());
    first = user.Text();
    second = software.Text();
    third = letter.Text();
    return Conclude(
        scheme, code,
        AnswerLabel("Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional") + first + " - " + second + " - " + third,
        kCounterCheck);
}

bool InfImpTerm(const std::string& scheme, int /*kind*/, std::string& firstCoo, std::string& lastCoo,
                std::string& cancelled) {
    AnswerArea first(6), last(6);
    const int rangeCode = Invoke(Bematech_FI_InicioFimCOOsMFD, first.data(), last.data());
    firstCoo = first.Text();
    lastCoo = last.Text();
    Conclude(scheme, rangeCode, AnswerLabel("Bematech_FI_RegistrosTipo60") + firstCoo + " - " + lastCoo);

    Query(scheme, {}, ORB_ENTRY(Bematech_FI_NumeroCuponsCancelados), 4, cancelled);
    return true;
}

}  // namespace Orb00100
