#include "bench_main.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace kadromir::bench {
namespace {

// Prints the usual table, then each measured time as a ratio to its floor.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") {
                continue;
            }
            std::string name = run.benchmark_name();
            if (const auto cut = name.find("_median"); cut != std::string::npos) {
                name.resize(cut);
            }
            Seconds[name] =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nRatios to the floor measured in this run (target in brackets):\n");
        for (const auto& ratio : Ratios()) {
            const auto measured = Seconds.find(ratio.Measured);
            const auto floor = Seconds.find(ratio.Floor);
            if (measured == Seconds.end() || floor == Seconds.end() || floor->second <= 0) {
                continue;
            }
            const double value = measured->second / floor->second;
            std::printf("  %-40s / %-32s = %7.4f  [%s %.2f] %s\n", ratio.Measured.c_str(),
                        ratio.Floor.c_str(), value, ratio.AtMost ? "<=" : ">=", ratio.Target,
                        (ratio.AtMost ? value <= ratio.Target : value >= ratio.Target) ? "ok"
                                                                                       : "MISSED");
        }
        std::printf("\nTimes against their own budget (target in brackets):\n");
        for (const auto& limit : Limits()) {
            const auto measured = Seconds.find(limit.Measured);
            if (measured == Seconds.end()) {
                continue;
            }
            const double ms = measured->second * 1e3;
            std::printf("  %-40s = %7.3f ms  [<= %.2f ms] %s\n", limit.Measured.c_str(), ms,
                        limit.Milliseconds, ms <= limit.Milliseconds ? "ok" : "MISSED");
        }
    }

  private:
    std::map<std::string, double> Seconds;
};

} // namespace

std::vector<Ratio>& Ratios() {
    static std::vector<Ratio> ratios;
    return ratios;
}

std::vector<Limit>& Limits() {
    static std::vector<Limit> limits;
    return limits;
}

} // namespace kadromir::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    kadromir::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
