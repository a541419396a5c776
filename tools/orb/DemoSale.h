#pragma once
// The demonstration's request sequence: a factory-fresh virtual printer, the module started, the
// printer's configuration loaded, a restaurant sale and an X reading, all as bridge requests, the
// same a host in another language would send.
#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bridge/JsonValues.h"

namespace orb::cli::demo {

using namespace orb::bridge;

// The fixed identity of the demonstration's printer.
inline constexpr int kModel = 34;
inline constexpr const char* kSerial = "BE091010100011223344";
inline constexpr const char* kScheme = "001";

// A step that did not go through: which one, and why (UTF-8).
class DemoFailure : public std::runtime_error {
public:
    DemoFailure(std::string step, const std::string& why) : std::runtime_error(why), step_(std::move(step)) {}
    const std::string& Step() const { return step_; }

private:
    std::string step_;
};

// Sends requests through the bridge one at a time, writes one line per request as it goes and
// keeps every request, so that the run can be replayed with `orb run`.
class Session {
public:
    explicit Session(std::ostream& out) : out_(out) {}
    // Any request; a reply carrying "error" raises DemoFailure.
    Json Send(std::string_view step, const Json& request);
    // An operation whose result must not be false: a refusal raises DemoFailure naming the
    // messages the module showed. Dialogs of a call that went through are shown as notes.
    Json Call(std::string_view step, const Json& request);
    const std::vector<Json>& Requests() const { return requests_; }

private:
    void Show(std::string_view step, const Json& request, std::string_view outcome);
    std::ostream& out_;
    std::vector<Json> requests_;
};

// What the sale left for the host and on the paper, gathered for the report.
struct SaleRecord {
    std::vector<std::pair<std::string, std::string>> totalizers;  // name, slot
    Json rates;                                                   // the rate table's rows as CarregaAliquota left them
    Json payments;                                    // the payment-type rows after the printer reconciled them
    Json opening;                                     // AbreCupom's result packet
    std::vector<std::pair<std::string, Json>> items;  // dish, VendaItem's result packet
    Json closing;                                     // FechaCupom's result array
    std::string coupon;                               // the customer's coupon as the roll holds it (UTF-8)
    Json readingLedger;                               // the ledger records of the X reading
    std::string reading;                              // the X reading's paper
    std::int64_t subtotal = 0, discount = 0, total = 0, change = 0;  // cents
    bool started = false;                                            // the module was started (and must be stopped)
};

// Runs everything from the printer reset to the X reading, filling record as it goes.
// Raises DemoFailure at the first step that does not go through.
void RunSale(Session& session, SaleRecord& record);

// Closes the port and stops the module, as a host does at the end of the day.
void StopModule(Session& session);

}  // namespace orb::cli::demo
