// The scenarios that carry their own expectations, step by step: each file runs in a fresh host
// folder through the orb program, and every step must answer what it says.
#include "ScenarioSupport.h"

namespace orb::cli::testing {
namespace {

class ExpectedScenario : public ScenarioTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ExpectedScenario, EveryStepAnswersWhatTheFileSays) { RunExpected(GetParam()); }

INSTANTIATE_TEST_SUITE_P(Files, ExpectedScenario,
                         ::testing::Values("table-service.jsonl", "table-reports.jsonl", "cash-closing.jsonl",
                                           "tables.checks.jsonl", "sale.checks.jsonl", "transfer-receipt.checks.jsonl",
                                           "management-report.checks.jsonl", "cancelled-coupon.checks.jsonl",
                                           "cash-day.checks.jsonl", "statements.checks.jsonl", "memory-readings.jsonl",
                                           "coupon-fields.jsonl", "coupon-items.jsonl", "report-records.jsonl",
                                           "cash-movements.jsonl", "printer-data.jsonl", "printer-config.jsonl",
                                           "non-fiscal-records.jsonl", "reduction-data.jsonl", "card-slip.jsonl"),
                         [](const auto& info) {
                             std::string name = info.param;
                             name = name.substr(0, name.find('.'));
                             std::erase(name, '-');
                             return name;
                         });

}  // namespace
}  // namespace orb::cli::testing
