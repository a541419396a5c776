#include "driver/PrinterCall.h"
#include "external/vendor/EntryPoints.h"
#include "fiscalfiles/FilePlaces.h"
#include "fiscalfiles/FiscalFiles.h"
#include "framework/DateFormat.h"
#include "framework/Text.h"
#include "platform/Platform.h"
#include "queries/Queries.h"
#include "readings/Readings.h"

namespace Orb00100 {

namespace {

constexpr int kDone = 1;
constexpr int kAmountAt = 76, kAmountWidth = 16;

// params[i] cut to width characters; filler when it is empty.
std::string Cut(std::span<const orb::fw::Variant> params, std::size_t i, int width, const std::string& filler) {
    const std::string text = orb::fw::Copy(TextAt(params, i), 1, width);
    return text.empty() ? filler : text;
}

std::string DateAt(std::span<const orb::fw::Variant> params, std::size_t i, const char* picture) {
    return orb::fw::FormatDateTime(picture, At(params, i).ToDateTime());
}

// A failure inside the library's call reads as a printer that did not answer.
template <class F>
int Guarded(F call) {
    try {
        return call();
    } catch (...) {
        return 0;
    }
}

}  // namespace

bool RelatorioSintegraMFD(std::span<const orb::fw::Variant> params, orb::fw::Variant& /*result*/) {
    const std::string scheme = TextAt(params, 0);
    std::string file = TextAt(params, 3), month = DateAt(params, 1, "mm"), year = DateAt(params, 1, "yyyy");
    std::string name = Cut(params, 4, 35, ""), address = Cut(params, 5, 34, ""), number = Cut(params, 6, 5, "00000"),
                complement = Cut(params, 7, 22, "  "), district = Cut(params, 8, 15, " "),
                city = Cut(params, 9, 30, " "), zip = Cut(params, 10, 8, " "), phone = Cut(params, 11, 12, " "),
                fax = Cut(params, 12, 10, " "), contact = Cut(params, 13, 18, " ");
    const int code = Guarded([&] {
        return Invoke(Bematech_FI_RelatorioSintegraMFD, 63, file.data(), month.data(), year.data(), name.data(),
                      address.data(), number.data(), complement.data(), district.data(), city.data(), zip.data(),
                      phone.data(), fax.data(), contact.data());
    });
    return CheckStatus(scheme, code, {.show = true});
}

bool GeraRegistrosSpedMFD(std::span<const orb::fw::Variant> params, orb::fw::Variant& /*result*/) {
    const std::string scheme = TextAt(params, 0);
    std::string origin, file = TextAt(params, 4), first = DateAt(params, 1, "dd/mm/yyyy"),
                        last = DateAt(params, 2, "dd/mm/yyyy"), profile = "T", cfop = "5929", income = " ", a = "00000",
                        b = "00000";
    const int code = Guarded([&] {
        return Invoke(Bematech_FI_GeraRegistrosSpedMFD, origin.data(), file.data(), first.data(), last.data(),
                      profile.data(), cfop.data(), income.data(), a.data(), b.data());
    });
    return CheckStatus(scheme, code, {.show = true});
}

bool RetornaDadosSintegraMFD(std::span<const orb::fw::Variant> params, orb::fw::Variant& result) {
    const std::string scheme = TextAt(params, 0);
    const int code = Guarded([&] {
        std::string first = DateAt(params, 1, "ddmmyyyy"), last = DateAt(params, 2, "ddmmyyyy");
        return Invoke(Bematech_FI_DadosSintegraMFD, first.data(), last.data());
    });
    // A call that failed leaves the text of an earlier one: it is not taken. A first line too
    // short to hold the amount reads as no amount.
    double amount = 0;
    const std::string folder = retornaPathBematech();
    std::string text;
    if (code == kDone && folder != kIniNotFound && orb::platform::ReadFile(folder + "Retorno.txt", text)) {
        const std::string line = text.substr(0, text.find_first_of("\r\n"));
        if (static_cast<int>(line.size()) >= kAmountAt + kAmountWidth - 1)
            amount = GetValue(orb::fw::Copy(line, kAmountAt, kAmountWidth));
    }
    const bool verdict = CheckStatus(scheme, code, {.show = true});
    PutResult(result, 0, amount);
    return verdict;
}

}  // namespace Orb00100
