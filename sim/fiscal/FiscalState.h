#pragma once
// The whole state of the virtual fiscal printer. It is stored as one JSON document (texts in
// UTF-8), loaded at the start of every call and saved after it. Amounts are integers of
// hundredths, quantities and unit prices integers of thousandths, rates hundredths of a percent.
#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace orb::sim::fiscal {

struct Identity {
    int model = 34;      // 14, 18, 19, 27 or 34
    std::string serial;  // 20 characters
    std::string till = "0001";
    std::string firmware;
    std::string brand = "BEMATECH";
    std::string modelName;
    std::string kind = "ECF-IF";
    int substitutions = 0;               // owner substitutions
    std::string userRecorded;            // date and time of the user's recording
    std::string softwareRecorded;        // date and time of the basic software's recording
    std::string additionalLetter = " ";  // letter of the additional fiscal memory
    std::string ownerName = "RESTAURANTE VIRTUAL LTDA";
    std::string ownerAddress = "RUA DAS FLORES, 100 - CENTRO - SAO PAULO - SP";
    std::string cnpj = "11.222.333/0001-81";
    std::string ie = "111.222.333.444";
    std::string im = "1234567";
};

struct Hardware {
    std::string paper = "ok";  // ok, low, out
    bool coverOpen = false;
    bool power = true;
    bool drawerOpen = false;
    std::int64_t clockOffset = 0;  // seconds added to the computer's clock
    bool daylightSaving = false;
    bool portOpen = false;
    bool tefMode = false;
};

struct Rate {
    std::int64_t value = 0;  // 1800 is 18,00 %
    bool service = false;    // bound to the service tax (ISS)
    std::int64_t day = 0;    // net sales of the day under this rate
};

struct PaymentMethod {
    std::string name;
    bool linkable = false;  // a linked slip may be issued for it
    std::int64_t day = 0;   // received during the day
};

struct Totalizer {  // non-fiscal totalizer
    std::string name;
    std::int64_t day = 0;
    int count = 0;
};

struct ReportTitle {
    std::string title;
    int count = 0;
};

struct Item {
    int number = 0;
    std::string code, description, tax, unit;
    int slot = 0;               // 1-based rate slot; 0 for II, FF and NN
    std::int64_t quantity = 0;  // thousandths
    std::int64_t price = 0;     // thousandths of the currency
    std::int64_t gross = 0;     // quantity x price, in hundredths
    std::int64_t discount = 0, surcharge = 0;
    std::int64_t total = 0;  // gross - discount + surcharge
    bool cancelled = false;
};

struct Payment {
    std::string method;
    std::int64_t amount = 0;
};

struct Coupon {
    int coo = 0, ccf = 0;
    std::string taxNumber, name, address;
    std::vector<Item> items;
    std::string phase = "items";  // items, paying (closing started), paid, ended
    std::string adjustKind;       // "d" discount or "a" surcharge on the subtotal, or ""
    std::int64_t adjustment = 0;
    std::vector<Payment> payments;
    std::int64_t paid = 0;
    std::int64_t change = 0;
    bool cancelled = false;
};

struct NonFiscalReceipt {  // the last non-fiscal receipt, while it may be cancelled
    int coo = 0;
    int totalizer = 0;  // 1-based slot; 0 for cash supply or withdrawal
    std::string kind;   // "receipt", "supply", "withdrawal"
    std::int64_t amount = 0;
    std::string method;
};

struct Day {
    std::string movement;  // yyyymmdd of the open fiscal day, "" before its first document
    std::string closed;    // yyyymmdd of the last day closed by a reduction
    int firstCoo = 0, lastCoo = 0;
    std::int64_t gross = 0, cancellations = 0, discounts = 0, surcharges = 0;
    std::int64_t exempt = 0, substitution = 0, nonIncidence = 0;  // II, FF, NN
    std::int64_t supply = 0, withdrawal = 0;
    int cancelledCoupons = 0;
};

struct Counters {
    int coo = 0, ccf = 0, gnf = 0, cro = 1, crz = 0, cer = 0, cdc = 0;
    std::int64_t grandTotal = 0;
    std::int64_t grandTotalLastZ = 0;
    std::string lastZDate, lastZTime;  // DDMMYY, HHMMSS
};

struct Reduction {  // one record of the fiscal memory
    int crz = 0, coo = 0, cro = 0;
    std::string movement, date, time;
    std::int64_t grandTotal = 0, gross = 0, cancellations = 0, discounts = 0, surcharges = 0;
    std::vector<std::int64_t> rates;
    // The rest of what a reduction writes into the fiscal memory.
    int firstCoo = 0, ccf = 0, gnf = 0, cer = 0, cdc = 0, cancelledCoupons = 0;
    std::vector<Rate> taxes;  // every programmed slot with its value, kind and the day's net sales
    std::int64_t exempt = 0, nonIncidence = 0, substitution = 0, supply = 0, withdrawal = 0;
    std::vector<Totalizer> totalizers;
    std::vector<PaymentMethod> methods;
};

struct Documents {
    bool couponOpen = false;
    Coupon coupon;                 // the open coupon, or the last one ended
    bool lastCancellable = false;  // the last coupon may still be cancelled
    bool slipPending = false;      // a linked slip of the last coupon was issued and not reversed
    std::string open;              // "", "report" (management report) or "slip" (linked slip)
    int openCoo = 0;
    bool receiptCancellable = false;
    NonFiscalReceipt receipt;
    std::string itemDescription;  // extended description for the next item
};

struct Injection {
    std::string entry;
    int returnCode = 0;
    int times = 1;
    bool withStatus = false;
    int ack = 6, st1 = 0, st2 = 0;
};

struct ForcedStatus {
    int ack = 6, st1 = 0, st2 = 0;
    int times = 1;
};

struct ForcedAnswer {
    std::string entry;
    std::vector<std::string> values;
    int times = 1;
};

struct Faults {
    int ack = 6, st1 = 0, st2 = 0;  // error bits of the last command
    std::vector<Injection> failures;
    std::vector<ForcedStatus> statuses;
    std::vector<ForcedAnswer> answers;
    int extended = -1;      // forced extended status; -1 none
    std::string rawAnswer;  // answer of the last raw command
    int crashAfter = 0;     // entry-point calls left before the calling process is killed; 0 none
};

struct DetailDocument {              // one document of the detail-tape memory, as printed
    int coo = 0, ccf = 0, gnf = 0;   // the number it took: CCF for a coupon, GNF for the others
    std::string kind, date, time;    // kind as the detail memory names it; yyyymmdd, hhmmss
    std::vector<std::string> lines;  // UTF-8, as the paper carries them
};

struct State {
    Identity id;
    Hardware hw;
    std::vector<Rate> rates;
    std::vector<PaymentMethod> payments;
    std::vector<Totalizer> totalizers;
    std::vector<ReportTitle> reports;  // always 30 slots
    Counters counters;
    Day day;
    Documents docs;
    Faults faults;
    std::vector<Reduction> fiscalMemory;
    std::vector<DetailDocument> detail;  // the detail-tape memory, one entry per document
};

NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Identity, model, serial, till, firmware, brand, modelName, kind,
                                                substitutions, userRecorded, softwareRecorded, additionalLetter,
                                                ownerName, ownerAddress, cnpj, ie, im)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Hardware, paper, coverOpen, power, drawerOpen, clockOffset,
                                                daylightSaving, portOpen, tefMode)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Rate, value, service, day)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(PaymentMethod, name, linkable, day)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Totalizer, name, day, count)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(ReportTitle, title, count)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Item, number, code, description, tax, unit, slot, quantity, price,
                                                gross, discount, surcharge, total, cancelled)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Payment, method, amount)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Coupon, coo, ccf, taxNumber, name, address, items, phase, adjustKind,
                                                adjustment, payments, paid, change, cancelled)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(NonFiscalReceipt, coo, totalizer, kind, amount, method)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Day, movement, closed, firstCoo, lastCoo, gross, cancellations,
                                                discounts, surcharges, exempt, substitution, nonIncidence, supply,
                                                withdrawal, cancelledCoupons)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Counters, coo, ccf, gnf, cro, crz, cer, cdc, grandTotal,
                                                grandTotalLastZ, lastZDate, lastZTime)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Reduction, crz, coo, cro, movement, date, time, grandTotal, gross,
                                                cancellations, discounts, surcharges, rates, firstCoo, ccf, gnf, cer,
                                                cdc, cancelledCoupons, taxes, exempt, nonIncidence, substitution,
                                                supply, withdrawal, totalizers, methods)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Documents, couponOpen, coupon, lastCancellable, slipPending, open,
                                                openCoo, receiptCancellable, receipt, itemDescription)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Injection, entry, returnCode, times, withStatus, ack, st1, st2)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(ForcedStatus, ack, st1, st2, times)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(ForcedAnswer, entry, values, times)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Faults, ack, st1, st2, failures, statuses, answers, extended, rawAnswer,
                                                crashAfter)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(DetailDocument, coo, ccf, gnf, kind, date, time, lines)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(State, id, hw, rates, payments, totalizers, reports, counters, day,
                                                docs, faults, fiscalMemory, detail)

// Factory defaults of a model: serial, firmware, model texts; rates 18, 12, 7 (ICMS) and 5
// (ISS); the payment method "Dinheiro"; no totalizers; 30 untitled report slots.
State FactoryState(int model);
bool KnownModel(int model);
bool HasDetailMemory(int model);  // 19, 27, 34: numbered reports and the longer records
int TotalizerCapacity(int model);
std::size_t TotalizerNameWidth(int model);
std::size_t PaymentNameWidth(int model);
constexpr int kPaymentCapacity = 20;
constexpr int kRateCapacity = 16;
constexpr int kReportSlots = 30;

}  // namespace orb::sim::fiscal
