// orb_bench: what the driver itself costs a host. A sale through the module against a printer
// library that answers at once, beside the floor set by the debug log the module must write on
// every printer call; the same sale against the virtual printer; the footer composition alone.
//
//   orb_bench [--printer=both|null|virtual] [benchmark flags]
//
// The module loads the printer library under its one file name, so each library gets its own
// process: with "both" (the default) the virtual printer's run goes first in a child process,
// then this process runs against the null library and ends with the sale-to-floor ratio.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "Benchmarks.h"
#include "ChildProcess.h"
#include "RatioReporter.h"
#include "platform/Platform.h"

namespace {

constexpr std::string_view kPrinterFlag = "--printer=";
constexpr std::string_view kColourFlag = "--benchmark_color=";

// Our own reporter is not told the colour flag: "auto" means colour on a terminal only, so that
// in a file or a pipe no colour code sticks to the start of the ratio line.
bool WantsColour(const std::string& flag) {
    if (flag == "auto") return isatty(STDOUT_FILENO) != 0;
    return flag == "true" || flag == "yes" || flag == "on" || flag == "1";
}

int Usage(const std::string& what) {
    std::cerr << "orb_bench: " << what << "\nusage: orb_bench [--printer=both|null|virtual] [benchmark flags]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace orb::bench;
    std::string printer = "both";
    std::vector<char*> benchmarkArgs{argv[0]};
    std::vector<std::string> passOn;
    std::string colour = "auto";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.starts_with(kPrinterFlag)) {
            printer = arg.substr(kPrinterFlag.size());
        } else {
            if (arg.starts_with(kColourFlag)) colour = arg.substr(kColourFlag.size());
            benchmarkArgs.push_back(argv[i]);
            passOn.push_back(arg);
        }
    }
    if (printer != "both" && printer != "null" && printer != "virtual")
        return Usage("unknown printer '" + printer + "'");

    bool failed = false;
    if (printer == "both") {
        std::cout.flush();
        passOn.insert(passOn.begin(), "--printer=virtual");
        try {
            if (RunSelf(passOn) != 0) {
                std::cerr << "orb_bench: the run against the virtual printer failed\n";
                failed = true;
            }
        } catch (const std::exception& e) {
            std::cerr << "orb_bench: " << e.what() << "\n";
            failed = true;
        }
        printer = "null";
    }
    const bool virtualPrinter = printer == "virtual";
    orb::platform::SetEnv("ORB_LIBRARY_PATH",
                          virtualPrinter ? ORB_BENCH_VIRTUAL_PRINTER_DIR : ORB_BENCH_NULL_PRINTER_DIR);

    int benchmarkArgc = static_cast<int>(benchmarkArgs.size());
    benchmark::Initialize(&benchmarkArgc, benchmarkArgs.data());
    if (benchmark::ReportUnrecognizedArguments(benchmarkArgc, benchmarkArgs.data())) return 2;

    RatioReporter reporter(WantsColour(colour));
    try {
        if (virtualPrinter)
            RegisterVirtualPrinterBenchmarks();
        else
            RegisterNullPrinterBenchmarks();
        benchmark::RunSpecifiedBenchmarks(&reporter);
    } catch (const std::exception& e) {
        std::cerr << "orb_bench: " << e.what() << "\n";
        failed = true;
    }
    FinishBenchmarks();
    benchmark::Shutdown();
    failed = failed || reporter.AnyFailed();

    if (virtualPrinter)
        std::cout << ScenarioLine(reporter.Seconds(kScenarioRun)) << std::endl;
    else
        std::cout << RatioLine(reporter.Seconds(kNullSale), reporter.Seconds(kLogFloor)) << std::endl;
    return failed ? 1 : 0;
}
