#pragma once
// The console report, remembering each benchmark's real time per iteration so that the ratio
// of two of them can be printed once every benchmark has run.
#include <benchmark/benchmark.h>

#include <map>
#include <optional>
#include <string>

namespace orb::bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(bool colour = false) : ConsoleReporter(colour ? OO_ColorTabular : OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override;

    // Seconds per iteration of the benchmark registered under name: the median over repetitions
    // when there were several (a loaded machine makes outliers), none when it did not run or
    // failed.
    std::optional<double> Seconds(const std::string& name) const;
    // True when a benchmark reported an error.
    bool AnyFailed() const;

private:
    struct Figure {
        double seconds = 0;
        bool aggregate = false;
        bool failed = false;
    };
    std::map<std::string, Figure> figures_;
};

// The last line of a run: "sale-to-floor ratio: 3.2", or why there is no ratio.
std::string RatioLine(std::optional<double> sale, std::optional<double> floor);
// "orb run of the sale scenario: 41 ms", or why it was not measured.
std::string ScenarioLine(std::optional<double> seconds);

}  // namespace orb::bench
