#include "Benchmarks.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <vector>

#include "BenchFolders.h"
#include "ChildProcess.h"
#include "DebugLogLines.h"
#include "PrinterLibrary.h"
#include "SaleScenario.h"
#include "coupon/ClosingInput.h"
#include "coupon/Footer.h"
#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "framework/ClientDataSet.h"
#include "platform/Platform.h"

namespace orb::bench {

namespace {

constexpr int kItems = 20;

// What the registered benchmarks share, for the life of the process.
struct Session {
    BenchFolders folders;
    SaleInputs sale = MakeSaleInputs(kItems);
    std::vector<std::string> saleLog;  // the entries one sale writes
};

std::unique_ptr<Session>& Current() {
    static std::unique_ptr<Session> session;
    return session;
}

// The folders, the module started against the library ORB_LIBRARY_PATH names, and one sale run
// to see it through and to keep the log entries it writes.
Session& Prepare(bool virtualPrinter) {
    auto& session = Current();
    session = std::make_unique<Session>();
    const std::string library = PrinterLibraryFile();
    benchmark::AddCustomContext("fiscal library", library.empty() ? "(system search)" : library);
    // Beside the module lies the virtual printer: a missing null library would quietly fall back on it.
    if (IsVirtualPrinter() != virtualPrinter)
        throw std::runtime_error(library + (virtualPrinter ? " is not the virtual printer"
                                                           : " is the virtual printer, not the null library"));
    if (virtualPrinter) {
        const auto methods = PaymentMethodNames();
        ControlVirtualPrinter({{"sim", "reset"}, {"model", 34}, {"payments", methods}});
    }
    if (const std::string error = StartModule(session->sale); !error.empty()) throw std::runtime_error(error);

    platform::DeleteFile(Orb00100::DebugLogPath());
    SaleCall call;
    PrepareSale(session->sale, call);
    if (const std::string error = RunSale(session->sale, call); !error.empty()) throw std::runtime_error(error);
    session->saleLog = ReadLogEntries(Orb00100::DebugLogPath());
    if (session->saleLog.empty()) throw std::runtime_error("the sale wrote no debug log");
    benchmark::AddCustomContext("log entries per sale", std::to_string(session->saleLog.size()));
    return *session;
}

// One sale per iteration, each a fresh coupon; the log starts empty each time, as the floor's
// file does, and the printer's journal and roll are emptied so they do not grow without end.
void SaleBenchmark(benchmark::State& state, Session& session, bool virtualPrinter) {
    SaleCall call;
    for (auto _ : state) {
        state.PauseTiming();
        platform::DeleteFile(Orb00100::DebugLogPath());
        PrepareSale(session.sale, call);
        if (virtualPrinter) {
            ControlVirtualPrinter({{"sim", "journal"}, {"clear", true}});
            ControlVirtualPrinter({{"sim", "roll"}, {"clear", true}});
        }
        state.ResumeTiming();
        if (const std::string error = RunSale(session.sale, call); !error.empty()) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
    state.counters["log_entries"] = static_cast<double>(session.saleLog.size());
}

void FloorBenchmark(benchmark::State& state, Session& session) {
    const std::string path = platform::JoinPath(session.folders.Home(), "floor.txt");
    for (auto _ : state) {
        state.PauseTiming();
        platform::DeleteFile(path);
        state.ResumeTiming();
        try {
            AppendEachEntry(path, session.saleLog);
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            break;
        }
    }
    state.counters["log_entries"] = static_cast<double>(session.saleLog.size());
}

// The footer of the sale's closing: thanks, the tax burden, table, operator, order password, a
// free text and the printer number, under the closing's budget of eight lines.
void FooterBenchmark(benchmark::State& state) {
    Orb00100::EnsureDataModule();
    const std::string tax = Orb00100::closing::TaxLine(4.56, 2.34);
    const std::string table = Orb00100::closing::TablePrefix("12");
    const std::string password = Orb00100::closing::PasswordLine("0042");
    fw::ClientDataSet unused;
    std::size_t length = 0;
    for (auto _ : state) {
        std::string footer =
            Orb00100::Formata_rodape(8, "2", "Obrigado pela preferencia", "", tax, "", "", "", "", "", "007", "Ana",
                                     table, password, "", "", "", "Volte sempre", "001", "", "", "2", "2", 0.0, 0.0,
                                     0.0, &unused, &unused, &unused, false, nullptr, "", "", "", "");
        length = footer.size();
        benchmark::DoNotOptimize(footer);
    }
    if (length == 0) state.SkipWithError("the footer came out empty");
    state.counters["footer_bytes"] = static_cast<double>(length);
}

// `orb --home H run sale.jsonl`, one process per iteration, in a folder of its own whose printer
// keeps its state in a file, as a fresh `orb-home` does.
void ScenarioBenchmark(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path home = fs::temp_directory_path() / ("orb-bench-scenario-" + std::to_string(getpid()));
    fs::remove_all(home);
    const std::vector<std::string> args{"--home", home.string(),          "--system", (home / "system").string(),
                                        "run",    ORB_BENCH_SALE_SCENARIO};
    for (auto _ : state) {
        if (const int code = RunQuietly(ORB_BENCH_ORB_PROGRAM, args); code != 0) {
            state.SkipWithError(("orb run ended with " + std::to_string(code)).c_str());
            break;
        }
    }
    fs::remove_all(home);
}

}  // namespace

void RegisterNullPrinterBenchmarks() {
    Session& session = Prepare(false);
    benchmark::RegisterBenchmark(kNullSale, [&session](benchmark::State& s) { SaleBenchmark(s, session, false); })
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(kLogFloor, [&session](benchmark::State& s) { FloorBenchmark(s, session); })
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(kFooter, FooterBenchmark)->Unit(benchmark::kMicrosecond);
}

void RegisterVirtualPrinterBenchmarks() {
    Session& session = Prepare(true);
    benchmark::RegisterBenchmark(kVirtualSale, [&session](benchmark::State& s) { SaleBenchmark(s, session, true); })
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(kScenarioRun, ScenarioBenchmark)->Unit(benchmark::kMillisecond)->UseRealTime();
}

void FinishBenchmarks() {
    StopModule();
    Current().reset();
}

}  // namespace orb::bench
