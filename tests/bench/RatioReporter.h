#pragma once
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace vx::bench {

/// One measured benchmark over its reference from the same run.
struct RatioPair {
    const char* subject;
    const char* reference;
    double limit;  // 0: for context only
};

/// Prints as usual, then each pair's ratio with its limit, marking those over it.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(std::vector<RatioPair> pairs)
        : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular), mPairs(std::move(pairs)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (!run.error_occurred) mTimes[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::ostream& out = GetOutputStream();
        char line[160];
        std::snprintf(line, sizeof line, "\n%-34s %-34s %7s %6s\n", "measured", "against", "ratio", "limit");
        out << line;
        for (const RatioPair& p : mPairs) {
            auto s = mTimes.find(p.subject);
            auto r = mTimes.find(p.reference);
            if (s == mTimes.end() || r == mTimes.end() || r->second <= 0) continue;
            const double ratio = s->second / r->second;
            char limit[16] = "-";
            if (p.limit > 0) std::snprintf(limit, sizeof limit, "%.2f", p.limit);
            std::snprintf(line, sizeof line, "%-34s %-34s %7.2f %6s%s\n", p.subject, p.reference, ratio, limit,
                          p.limit > 0 && ratio > p.limit ? "  OVER" : "");
            out << line;
        }
        out.flush();
    }

private:
    std::vector<RatioPair> mPairs;
    std::map<std::string, double> mTimes;
};

/// The whole main of a benchmark program once its files are made: parses the arguments,
/// runs the benchmarks and prints the ratios. Returns the exit status.
inline int RunWithRatios(int argc, char** argv, std::vector<RatioPair> pairs) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter(std::move(pairs));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

}  // namespace vx::bench
