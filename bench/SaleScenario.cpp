#include "SaleScenario.h"

#include "ClosingValues.h"
#include "connection/Binding.h"
#include "coupon/Closing.h"
#include "coupon/CouponOpening.h"
#include "coupon/Items.h"
#include "driver/Globals.h"
#include "external/hostlib/HostLib.h"
#include "framework/DateTime.h"
#include "framework/NumberFormat.h"
#include "platform/Platform.h"

namespace orb::bench {

namespace {

using fw::Variant;

constexpr const char* kScheme = "002";
constexpr const char* kCash = "Dinheiro";
constexpr const char* kCard = "Cartao Credito Visa";  // the printer knows its first 16 letters

double Amount(long cents) { return static_cast<double>(cents) / 100.0; }

Variant Item(int i, long priceCents, int quantity) {
    static const char* const kRates[] = {"18", "12", "7"};
    static const char* const kCodes[] = {"01", "02", "03"};
    return hostlib::MakeParams({{"ESQUEMACOR", kScheme},
                                {"CDARVPROD", "78910" + fw::IntToStr(100 + i)},
                                {"NMPROD", "Prato do dia " + fw::IntToStr(i + 1)},
                                {"CDALIQ", kCodes[i % 3]},
                                {"QTDE", static_cast<double>(quantity)},
                                {"VALOR", Amount(priceCents)},
                                {"DESCONT", 0.0},
                                {"UNIDADE", "UN"},
                                {"VRPERCALIQ", kRates[i % 3]},
                                {"IDUTILTEF", "N"},
                                {"UTILTEF", false},
                                {"ACRESCIMO", 0.0}});
}

// The closing: cash taken at 12:01, the card at 12:02, and a footer with the tax burden, the
// table, the operator and an order password.
std::vector<Variant> ClosingValues(long cashCents, long cardCents) {
    auto at = [](int minute) { return fw::EncodeDateTime(2026, 12, 5, 12, minute, 0); };
    return cli::ClosingValues{
        .scheme = kScheme,
        .freeText = "Volte sempre",
        .movements = cli::ClosingMovements({{.type = "001", .amount = Amount(cashCents), .taken = at(1)},
                                            {.type = "002", .amount = Amount(cardCents), .taken = at(2)}}),
        .paymentTypes = cli::ClosingPaymentTypes({{"001", kCash, "1"}, {"002", kCard, "2"}}),
        .table = "12",
        .operatorCode = "007",
        .operatorName = "Ana",
        .password = "0042",
        .federalTax = 4.56,
        .stateTax = 2.34}
        .Values();
}

// What the module last said to the operator, for a refusal's report.
std::string LastMessage() {
    const auto& dialogs = hostlib::Recorded().dialogs;
    std::string why = Orb00100::stMensagemTaa;
    if (!dialogs.empty()) why += (why.empty() ? "" : " / ") + dialogs.back().text;
    return why.empty() ? std::string() : ": " + why;
}

}  // namespace

SaleInputs MakeSaleInputs(int items) {
    SaleInputs in;
    in.start = hostlib::MakeParams({{"CDFILIAL", "0001"},
                                    {"CDCAIXA", "001"},
                                    {"NRSERIEIMP", ""},
                                    {"ESQUEMA", "001"},
                                    {"CDPORTAIMPFIS", "COM1"},
                                    {"IDTIPOIMPFIS", 34},
                                    {"BOUTILTAA", false}});
    in.opening = hostlib::MakeParams({{"ESQUEMACOR", kScheme}, {"IDUTILTEF", "N"}, {"UTILTEF", false}});
    for (int i = 0; i < items; ++i) {
        const long price = 850 + 125L * i;  // 8,50 up to 32,25
        const int quantity = i % 4 == 3 ? 2 : 1;
        in.items.push_back(Item(i, price, quantity));
        in.totalCents += price * quantity;
    }
    in.cashCents = in.totalCents / 2;
    in.closing = ClosingValues(in.cashCents, in.totalCents - in.cashCents);
    return in;
}

std::vector<std::string> PaymentMethodNames() { return {kCash, std::string(kCard).substr(0, 16)}; }

void PrepareSale(const SaleInputs& in, SaleCall& call) {
    call.opening = in.opening;
    call.items = in.items;
    call.result = Variant::MakeArray(4);
    hostlib::ClearRecorded();
}

std::string RunSale(const SaleInputs& in, SaleCall& call) {
    if (!Orb00100::AbreCupom(call.opening)) return "AbreCupom refused" + LastMessage();
    for (std::size_t i = 0; i < call.items.size(); ++i)
        if (!Orb00100::VendaItem(call.items[i]))
            return "VendaItem refused item " + std::to_string(i + 1) + LastMessage();
    if (!Orb00100::FechaCupom(in.closing, nullptr, call.result)) return "FechaCupom refused" + LastMessage();
    return {};
}

std::string StartModule(const SaleInputs& in) {
    Variant params = in.start;
    hostlib::ClearRecorded();
    if (Orb00100::StartImpFiscal(params)) return {};
    const std::string library = platform::FindLibraryFile("BemaFI32.dll");
    return "StartImpFiscal refused (printer library: " + (library.empty() ? "not found" : library) + ")" +
           LastMessage();
}

void StopModule() {
    Orb00100::FechaPorta();
    Orb00100::StopImpFiscal();
}

}  // namespace orb::bench
