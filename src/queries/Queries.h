#pragma once
// The printer queries: counters, totals, dates, identity and state, each read into an answer
// area of the printer's own field width and handed back mostly as the printer wrote it; and
// the two text helpers shared with the coupon and reduction code.
#include <span>
#include <string>

#include "framework/DateTime.h"
#include "framework/Variant.h"

namespace Orb00100 {

// ---- Counters and totals: the answer exactly as the printer wrote it --------------------
bool ContadorCupomFiscalMFD(const std::string& scheme, std::string& answer);
bool NumeroSubstituicoesProprietario(const std::string& scheme, std::string& answer);
bool NumeroOperacoesNaoFiscais(const std::string& scheme, std::string& answer);
bool VendaBruta(const std::string& scheme, std::string& answer);
bool Descontos(const std::string& scheme, std::string& answer);
bool Cancelamentos(const std::string& scheme, std::string& answer);
bool NumeroIntervencoes(const std::string& scheme, std::string& answer);
bool ContadorRelatoriosGerenciaisMFD(const std::string& scheme, std::string& answer);
bool ContadorComprovantesCreditoMFD(const std::string& scheme, std::string& answer);
// The number the next reduction will carry, four digits.
bool NumeroReducoes(const std::string& scheme, std::string& next);
bool DataHoraGravacaoUsuarioSWBasicoMFAdicional(const std::string& scheme, std::string& first, std::string& second,
                                                std::string& third);
// First and last coupon number of the day and the cancelled-coupon count; true whatever the
// printer answered (kind is not used).
bool InfImpTerm(const std::string& scheme, int kind, std::string& firstCoo, std::string& lastCoo,
                std::string& cancelled);

// ---- Grand totals ---------------------------------------------------------------------------
// The grand total as a decimal text under the system's settings; true whatever the printer
// answered. An answer without digits raises fw::EConvertError.
bool BuscaTotGer(const std::string& scheme, std::string& total);
// args[0] is the scheme; the printer's 18-digit answer goes to result[0].
bool RetornaGtAtual(std::span<const orb::fw::Variant> args, orb::fw::Variant& result);
bool RetornaGtUltimaReducao(std::span<const orb::fw::Variant> args, orb::fw::Variant& result);

// ---- Identity ------------------------------------------------------------------------------
bool Versao_Software_Basico(const std::string& scheme, std::string& version);
// The coupon number (six characters), or "ERRO" when the printer wrote nothing. Neither
// argument is used.
std::string Nr_Cupom(const std::string& unused, const std::string& scheme);
// True whatever the printer answered.
bool Numero_de_Serie(const std::string& scheme, std::string& serial);
bool Modelo_Impressora(const std::string& scheme, std::string& brand, std::string& model, std::string& kind);

// ---- Dates and clock -----------------------------------------------------------------------
// DDMMYYHHMMSS.
bool Data_Imp(const std::string& scheme, std::string& dateTime);
// result[0] the date (DDMMYY), result[1] the time (HHMMSS) of the last reduction. The host
// knows it by its plain name only.
bool RetornaDataUltimaReducao(std::span<const orb::fw::Variant> args, orb::fw::Variant& result);
// The movement date; today when no movement has opened or the answer is not a date.
orb::fw::TDateTime DataMoviFiscal(const std::string& scheme);
// True while daylight-saving time is in force.
bool Estado_HorVerao(const std::string& scheme);
// Toggles daylight-saving time.
bool Muda_Horario(const std::string& scheme);

// ---- Printer state -------------------------------------------------------------------------
// The status analysis alone; its verdict is also left in boClieUtil. Never raises.
bool Estado_Imp(const std::string& scheme);
// The totals through the raw-command path.
bool Leitura_Totais_Imp(const std::string& scheme, bool show, bool spare);

// ---- Text helpers --------------------------------------------------------------------------
// The printer's amount text (two implied decimals, separators ignored) as a number.
double GetValue(const std::string& text);
// The registration number without ".", "/" and "-".
std::string FormataCNPJ(const std::string& cnpj);

}  // namespace Orb00100
