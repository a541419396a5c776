#include "coupon/Cancellation.h"

#include <exception>
#include <string>

#include "connection/GrandTotalGuard.h"
#include "driver/PrinterCall.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
#include "framework/Exceptions.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "nonfiscal/Ledger.h"
#include "nonfiscal/Reversal.h"
#include "queries/Queries.h"

namespace Orb00100 {

namespace {

using orb::fw::Variant;

// The extended status from this value up: a linked receipt of the last coupon is still pending.
constexpr int kLinkedReceiptPending = 64;
constexpr int kNumberWidth = 6;
constexpr char kNoNumber[] = "ERRO";

const Variant& Element(std::span<const Variant> params, std::size_t index) {
    if (index >= params.size())
        throw orb::fw::EListError("List index out of bounds (" + orb::fw::IntToStr(static_cast<std::int64_t>(index)) +
                                  ")");
    return params[index];
}

// Older hosts send only seven elements; they want the reversal recorded.
std::string RecordFlag(std::span<const Variant> params) {
    try {
        return Element(params, 7).ToString();
    } catch (const std::exception&) {
        return "N";
    }
}

std::string CouponNumber(int number) { return orb::hostlib::Ajusta(orb::fw::IntToStr(number), kNumberWidth); }

bool IsNoNumber(const std::string& number) { return orb::fw::UpperCase(number) == kNoNumber; }

void PutResult(Variant& result, const std::string& number) {
    // By now the printer has done its part: a host that passed no array must still learn which
    // coupon went, rather than the call failing after the fact.
    if (!result.IsArray() || result.ArraySize() == 0) result = Variant::MakeArray(1);
    result[0] = number;
}

}  // namespace

bool Cancela_Cupom_Imp(std::span<const Variant> params, Variant& result) {
    try {
        const std::string scheme = Element(params, 0).ToString();
        const bool show = Element(params, 1).ToBool();
        const bool cancelOpenCoupon = Element(params, 2).ToBool();
        const std::string branch = Element(params, 4).ToString();
        const std::string till = Element(params, 5).ToString();
        const std::string serial = Element(params, 6).ToString();
        const std::string recordFlag = RecordFlag(params);

        int extended = 0;
        Invoke(Bematech_FI_StatusEstendidoMFD, &extended);

        std::string number;
        if (extended >= kLinkedReceiptPending) {
            // The counter already stands on the linked receipt; the coupon is the document
            // before it.
            number = CouponNumber(orb::fw::StrToInt(Nr_Cupom("", scheme)) - 1);
            const bool reversed = EstornoNaoFiscal(scheme, "", "", "");
            // A reversal the printer refused issued no document: recording one would put a
            // receipt in the host's ledger that does not exist.
            if (reversed && recordFlag == "N" && !IsNoNumber(number))
                GravaDocumentosNaoFiscais(serial, scheme, "NC", "", "");
        } else {
            number = Nr_Cupom("", scheme);
        }

        bool verdict = false;
        std::string cancelled;
        if (!IsNoNumber(number)) {
            cancelled = CouponNumber(orb::fw::StrToInt(number));
            verdict = Call(scheme, {.show = show, .cancelOpenCoupon = cancelOpenCoupon}, "Bematech_FI_CancelaCupom",
                           Bematech_FI_CancelaCupom);
        }
        PutResult(result, cancelled);

        Atu_TotGeral(orb::hostlib::MakeParams({{"CDFILIAL", branch},
                                               {"CDCAIXA", till},
                                               {"NRSERIEIMP", serial},
                                               {"ESQUEMACOR", scheme},
                                               {"IDVALIDA", "N"}}));
        return verdict;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace Orb00100
