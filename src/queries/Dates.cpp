// The printer's dates and clock: date and time, movement date, last reduction, daylight saving.
#include "driver/Globals.h"
#include "driver/PrinterCall.h"
#include "external/vendor/EntryPoints.h"
#include "framework/DateFormat.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
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
    // A self-service terminal stays quiet while its last state check was good.
    return Conclude(scheme, code, AnswerLabel("Bematech_FI_DataHoraImpressora") + dateTime + timeText,
                    {.show = boNUtilTaa || !boClieUtil});
}

bool RetornaDataUltimaReducao(std::span<const orb::fw::Variant> args, orb::fw::Variant& result) {
    const std::string scheme = args.empty() ? std::string() : args[0].ToString();
    AnswerArea date(6), time(6);
    const int code = Invoke(Bematech_FI_DataHoraReducao, date.data(), time.data());
    result[0] = date.Text();
    result[1] = time.Text();
    return CheckStatus(scheme, code, {.show = true});  // no log line for this reading
}

orb::fw::TDateTime DataMoviFiscal(const std::string& scheme) {
    using namespace orb::fw;
    std::string answer;
    Query(scheme, {}, ORB_ENTRY(Bematech_FI_DataMovimento), 6, answer);

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
    Conclude(scheme, code, AnswerLabel("Bematech_FI_FlagsFiscais") + orb::fw::IntToStr(flags), {.show = true});
    return (flags & kDaylightSaving) != 0;
}

bool Muda_Horario(const std::string& scheme) {
    return Call(scheme, {}, "Bematech_FI_ProgramaHorarioVerao", Bematech_FI_ProgramaHorarioVerao);
}

}  // namespace Orb00100
