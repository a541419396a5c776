// The figures the ratio is made of and the ratio line itself.
#include <gtest/gtest.h>

#include <sstream>

#include "RatioReporter.h"

namespace {

using orb::bench::RatioLine;
using orb::bench::RatioReporter;
using BenchRun = benchmark::BenchmarkReporter::Run;

BenchRun MakeRun(const std::string& name, double accumulatedSeconds, int iterations,
                 benchmark::TimeUnit unit = benchmark::kMicrosecond) {
    BenchRun run;
    run.run_name.function_name = name;
    run.real_accumulated_time = accumulatedSeconds;
    run.cpu_accumulated_time = accumulatedSeconds;
    run.iterations = iterations;
    run.time_unit = unit;
    return run;
}

class RatioReporterTest : public ::testing::Test {
protected:
    void SetUp() override {
        reporter.SetOutputStream(&out);
        reporter.SetErrorStream(&out);
    }
    std::ostringstream out;
    RatioReporter reporter;
};

TEST_F(RatioReporterTest, KeepsSecondsPerIterationWhateverTheUnit) {
    reporter.ReportRuns({MakeRun("sale", 0.004, 2)});
    reporter.ReportRuns({MakeRun("floor", 0.003, 3, benchmark::kNanosecond)});
    ASSERT_TRUE(reporter.Seconds("sale").has_value());
    EXPECT_DOUBLE_EQ(*reporter.Seconds("sale"), 0.002);
    EXPECT_DOUBLE_EQ(*reporter.Seconds("floor"), 0.001);
    EXPECT_FALSE(reporter.Seconds("footer").has_value());
    EXPECT_FALSE(reporter.AnyFailed());
    EXPECT_NE(out.str().find("sale"), std::string::npos);  // the table is still printed
}

TEST_F(RatioReporterTest, PrefersTheMedianOfRepetitions) {
    BenchRun mean = MakeRun("sale", 0.009, 1);
    mean.run_type = BenchRun::RT_Aggregate;
    mean.aggregate_name = "mean";
    BenchRun median = MakeRun("sale", 0.003, 1);
    median.run_type = BenchRun::RT_Aggregate;
    median.aggregate_name = "median";
    // Repetitions come before their aggregates; one reported later does not replace the median.
    reporter.ReportRuns({MakeRun("sale", 0.002, 1), MakeRun("sale", 0.020, 1), mean, median});
    reporter.ReportRuns({MakeRun("sale", 0.008, 1)});
    EXPECT_DOUBLE_EQ(*reporter.Seconds("sale"), 0.003);
}

TEST_F(RatioReporterTest, AFailedBenchmarkHasNoFigure) {
    BenchRun failed = MakeRun("sale", 0.004, 2);
    failed.error_occurred = true;
    failed.error_message = "AbreCupom refused";
    reporter.ReportRuns({failed});
    EXPECT_FALSE(reporter.Seconds("sale").has_value());
    EXPECT_TRUE(reporter.AnyFailed());
}

TEST(RatioLineTest, OneDecimalWithAPointOrWhyThereIsNone) {
    EXPECT_EQ(RatioLine(0.00321, 0.001), "sale-to-floor ratio: 3.2");
    EXPECT_EQ(RatioLine(0.0035, 0.001), "sale-to-floor ratio: 3.5");
    EXPECT_EQ(RatioLine(0.001, 0.001), "sale-to-floor ratio: 1.0");
    EXPECT_EQ(RatioLine(std::nullopt, 0.001).rfind("sale-to-floor ratio: not measured", 0), 0u);
    EXPECT_EQ(RatioLine(0.001, std::nullopt).rfind("sale-to-floor ratio: not measured", 0), 0u);
}

}  // namespace
