#pragma once
// The benchmarks, registered for the printer library this process runs against. Each prepares
// the module once (folders, start, one sale to check that it goes through and to count the log
// entries it writes) and fails with the reason when that preparation fails.
#include <string>

namespace orb::bench {

// The names the benchmarks are registered and reported under.
inline constexpr const char* kNullSale = "sale_null_printer";
inline constexpr const char* kLogFloor = "debug_log_floor";
inline constexpr const char* kFooter = "footer_composition";
inline constexpr const char* kVirtualSale = "sale_virtual_printer";
inline constexpr const char* kScenarioRun = "orb_run_sale_scenario";

// Against the null library: the sale, the bare log floor with as many entries as the sale
// writes, and the footer composition. Raises std::runtime_error when the sale does not go
// through.
void RegisterNullPrinterBenchmarks();

// Against the virtual printer (in-memory state): the same sale; and the whole sale scenario of the
// tests run by the orb program against the virtual printer with its state on disk, as a person
// trying the module runs it (wall time of one `orb run`).
void RegisterVirtualPrinterBenchmarks();

// Module and folders back to nothing; called once the benchmarks have run.
void FinishBenchmarks();

}  // namespace orb::bench
