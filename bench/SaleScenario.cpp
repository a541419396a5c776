#include "SaleScenario.h"

#include "connection/Binding.h"
#include "coupon/Closing.h"
#include "coupon/CouponOpening.h"
#include "coupon/Items.h"
#include "driver/Globals.h"
#include "external/hostlib/HostLib.h"
#include "framework/ClientDataSet.h"
#include "framework/DateTime.h"
#include "framework/NumberFormat.h"
#include "platform/Platform.h"

namespace orb::bench {

namespace {

using fw::ClientDataSet;
using fw::FieldType;
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

// The cash movements of the sale: the cash taken at 12:01, the card at 12:02.
Variant Movements(long cashCents, long cardCents) {
    ClientDataSet t;
    t.AddFieldDef("CDFILIAL", FieldType::String, 4);
    t.AddFieldDef("IDTIPOMOVIVE", FieldType::String, 1);
    t.AddFieldDef("DTHRINCMOV", FieldType::DateTime);
    t.AddFieldDef("CDTIPORECE", FieldType::String, 3);
    t.AddFieldDef("VRMOVIVEND", FieldType::Float);
    t.AddFieldDef("NRORDTROCO", FieldType::Integer);
    t.AddFieldDef("CDBANCARTCR", FieldType::String, 3);
    t.AddFieldDef("CDTIPORECEORIG", FieldType::String, 3);
    t.CreateDataSet();
    const struct {
        int minute;
        const char* type;
        long cents;
    } rows[] = {{1, "001", cashCents}, {2, "002", cardCents}};
    for (const auto& row : rows) {
        t.Append();
        t.FieldByName("CDFILIAL").SetAsString("0001");
        t.FieldByName("IDTIPOMOVIVE").SetAsString("E");
        t.FieldByName("DTHRINCMOV").SetAsDateTime(fw::EncodeDateTime(2026, 12, 5, 12, row.minute, 0));
        t.FieldByName("CDTIPORECE").SetAsString(row.type);
        t.FieldByName("VRMOVIVEND").SetAsFloat(Amount(row.cents));
        t.FieldByName("NRORDTROCO").SetAsInteger(0);
        t.FieldByName("CDBANCARTCR").SetAsString("");
        t.FieldByName("CDTIPORECEORIG").SetAsString("");
        t.Post();
    }
    return Variant(t.Data());
}

Variant PaymentTypes() {
    ClientDataSet t;
    t.AddFieldDef("CDTIPORECE", FieldType::String, 3);
    t.AddFieldDef("NMTIPORECE", FieldType::String, 40);
    t.AddFieldDef("IDTIPORECE", FieldType::String, 1);
    t.CreateDataSet();
    const struct {
        const char* code;
        const char* name;
        const char* kind;
    } rows[] = {{"001", kCash, "1"}, {"002", kCard, "2"}};
    for (const auto& row : rows) {
        t.Append();
        t.FieldByName("CDTIPORECE").SetAsString(row.code);
        t.FieldByName("NMTIPORECE").SetAsString(row.name);
        t.FieldByName("IDTIPORECE").SetAsString(row.kind);
        t.Post();
    }
    return Variant(t.Data());
}

std::vector<Variant> ClosingValues(long cashCents, long cardCents) {
    std::vector<Variant> v(61, Variant(""));
    v[0] = "01";                         // change receipt totalizer (no change here)
    v[1] = "Obrigado pela preferencia";  // first footer text
    v[2] = kScheme;
    v[3] = 0;
    v[4] = false;  // no change receipt
    v[5] = true;   // messages shown
    for (int i : {6, 7, 8, 37, 38, 50, 51, 53, 58}) v[i] = 0.0;
    v[9] = "N";              // no transfer
    v[10] = "Volte sempre";  // free text
    v[11] = false;
    v[13] = Movements(cashCents, cardCents);
    v[14] = PaymentTypes();
    v[21] = "12";   // table
    v[22] = "007";  // operator
    v[23] = "Ana";
    v[27] = "2";  // no balance
    for (int i : {32, 33, 34, 49}) v[i] = Variant::Null();
    v[31] = "0042";  // order password
    v[36] = "2";     // footer mode
    v[40] = "N";
    v[41] = "001";   // printer number
    v[42] = "4711";  // state programme number
    v[43] = "SP";
    v[45] = "12.345.678/0001-90";
    v[51] = 4.56;  // federal tax burden
    v[52] = 0;
    v[58] = 2.34;  // state tax burden
    v[60] = true;
    return v;
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
