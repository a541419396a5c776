// The grand-total queries.
#include "driver/PrinterCall.h"
#include "external/vendor/EntryPoints.h"
#include "framework/NumberFormat.h"
#include "queries/Queries.h"

namespace Orb00100 {

namespace {

constexpr int kTotalWidth = 18;

using TotalEntry = int(ORB_VENDOR_CALL*)(char*);

std::string SchemeOf(std::span<const orb::fw::Variant> args) {
    return args.empty() ? std::string() : args[0].ToString();
}

bool TotalIntoResult(std::span<const orb::fw::Variant> args, orb::fw::Variant& result, TotalEntry entry) {
    const std::string scheme = SchemeOf(args);
    AnswerArea area(kTotalWidth);
    const int code = Invoke(entry, area.data());
    result[0] = area.Text();
    return CheckStatus(scheme, code, {.show = true});  // no log line for this reading
}

}  // namespace

bool BuscaTotGer(const std::string& scheme, std::string& total) {
    std::string answer;
    Query(scheme, {}, ORB_ENTRY(Bematech_FI_GrandeTotal), kTotalWidth, answer);
    total = orb::fw::FloatToStr(GetValue(answer));
    return true;
}

bool RetornaGtAtual(std::span<const orb::fw::Variant> args, orb::fw::Variant& result) {
    return TotalIntoResult(args, result, Bematech_FI_GrandeTotal);
}

bool RetornaGtUltimaReducao(std::span<const orb::fw::Variant> args, orb::fw::Variant& result) {
    return TotalIntoResult(args, result, Bematech_FI_GrandeTotalUltimaReducaoMFD);
}

}  // namespace Orb00100
