// The printer's dates and clock: date and time, movement date, last reduction, daylight saving.
#include "driver/DebugLog.h"
#include "driver/Globals.h"
#include "driver/StatusAnalysis.h"
#include "external/vendor/EntryPoints.h"
#include "framework/DateFormat.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "driver/PrinterCall.h"
#include "queries/Queries.h"

namespace Orb00100 {


namespace {

constexpr int kDaylightSaving = 4;  // bit of the fiscal flags

}  // namespace

bool Data_Imp(const std::string& scheme, std::string& dateTime) {
    AnswerArea date(6), time(6);
    const int code = Invoke(Bematech_FI_DataHoraImpressora, date.data(), time.data());
    const std::string timeText = time.Text();
    dateTime = date.Text() + orb::fw::Copy(timeText, 1, 6);
    ImpFisDebug(AnswerLabel("Bematech_FI_DataHoraImpressora") + dateTime + timeText);
    // A self-service terminal stays quiet while its last state check was good.
    return AnalisaRetorno(scheme, code, boNUtilTaa || !boClieUtil, false, false);
}

bool RetornaDataUltimaReducao(std::span<const orb::fw::Variant> args, orb::fw::Variant& result) {
    const std::string scheme = args.empty() ? std::string() : args[0].ToString();
    AnswerArea date(6), time(6);
    const int code = Invoke(Bematech_FI_DataHoraReducao, date.data(), time.data());
    result[0] = date.Text();
    result[1] = time.Text();
    return AnalisaRetorno(scheme, code, true, false, false);
}

orb::fw::TDateTime DataMoviFiscal(const std::string& scheme) {
    using namespace orb::fw;
    AnswerArea area(6);
    const int code = Invoke(Bematech_FI_DataMovimento, area.data());
    std::string answer = area.Text();
    ImpFisDebug(AnswerLabel("Bematech_FI_DataMovimento") + answer);
    AnalisaRetorno(scheme, code, false, false, false);

    const TDateTime today = Date();
    if (answer == "000000") answer = FormatDateTime("ddmmyy", today);  // no movement opened yet
    // The printer keeps two year digits; the century is today's.
    int year = 0, month = 0, day = 0;
    TDateTime result;
    if (TryStrToInt(Copy(FormatDateTime("yyyy", today), 1, 2) + Copy(answer, 5, 2), year) &&
        TryStrToInt(Copy(answer, 3, 2), month) && TryStrToInt(Copy(answer, 1, 2), day) &&
        TryEncodeDate(year, month, day, result))
        return result;
    return today;
}

bool Estado_HorVerao(const std::string& scheme) {
    int flags = 0;
    const int code = Invoke(Bematech_FI_FlagsFiscais, &flags);
    ImpFisDebug(AnswerLabel("Bematech_FI_FlagsFiscais") + orb::fw::IntToStr(flags));
    AnalisaRetorno(scheme, code, true, false, false);
    return (flags & kDaylightSaving) != 0;
}

bool Muda_Horario(const std::string& scheme) {
    const int code = Invoke(Bematech_FI_ProgramaHorarioVerao);
    ImpFisDebug("Bematech_FI_ProgramaHorarioVerao");
    return AnalisaRetorno(scheme, code, false, false, false);
}

}  // namespace Orb00100
