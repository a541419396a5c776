#include "RatioReporter.h"

#include <iomanip>
#include <locale>
#include <sstream>

namespace orb::bench {

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        Figure& figure = figures_[run.run_name.function_name];
        if (run.error_occurred) {
            figure.failed = true;
            continue;
        }
        const double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        if (run.run_type == Run::RT_Aggregate) {
            if (run.aggregate_name == "median") figure = {seconds, true, figure.failed};
        } else if (!figure.aggregate) {
            figure.seconds = seconds;
        }
    }
}

std::optional<double> RatioReporter::Seconds(const std::string& name) const {
    const auto found = figures_.find(name);
    if (found == figures_.end() || found->second.failed || found->second.seconds <= 0) return std::nullopt;
    return found->second.seconds;
}

bool RatioReporter::AnyFailed() const {
    for (const auto& [name, figure] : figures_)
        if (figure.failed) return true;
    return false;
}

std::string RatioLine(std::optional<double> sale, std::optional<double> floor) {
    if (!sale || !floor) return "sale-to-floor ratio: not measured (the sale or the floor did not run)";
    std::ostringstream line;
    line.imbue(std::locale::classic());
    line << "sale-to-floor ratio: " << std::fixed << std::setprecision(1) << *sale / *floor;
    return line.str();
}

std::string ScenarioLine(std::optional<double> seconds) {
    if (!seconds) return "orb run of the sale scenario: not measured (the run failed)";
    std::ostringstream line;
    line.imbue(std::locale::classic());
    line << "orb run of the sale scenario (virtual printer, state on disk): " << std::fixed << std::setprecision(0)
         << *seconds * 1000 << " ms";
    return line.str();
}

}  // namespace orb::bench
