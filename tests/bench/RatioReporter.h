#pragma once
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <set>
#include <string>
#include <vector>

namespace vx::bench {

/// One measured benchmark over its reference.
struct RatioPair {
    const char* subject;
    const char* reference;
    double limit;  // 0: for context only
};

namespace detail {

// Each side of a pair is measured this long per run: short enough for many runs, long
// enough that a timer tick or a context switch is lost in it.
constexpr const char* kPairedMinTime = "0.2";
constexpr int kDefaultRounds = 9;

/// Wall time per iteration in seconds, whatever unit the benchmark shows.
inline double SecondsPerIteration(const benchmark::BenchmarkReporter::Run& run) {
    return run.iterations > 0 ? run.real_accumulated_time / double(run.iterations) : 0;
}

/// The usual console table; remembers which benchmarks ran without an error.
class OverviewReporter : public benchmark::ConsoleReporter {
public:
    OverviewReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (!run.error_occurred && run.run_type == Run::RT_Iteration) mRan.insert(run.benchmark_name());
        ConsoleReporter::ReportRuns(runs);
    }

    bool Ran(const std::string& name) const { return mRan.count(name) != 0; }

private:
    std::set<std::string> mRan;
};

/// Prints nothing; keeps the time of the one benchmark run.
class SilentReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (!run.error_occurred && run.run_type == Run::RT_Iteration) seconds = SecondsPerIteration(run);
    }
    double seconds = 0;  // 0: failed
};

inline std::string ExactFilter(const std::string& name) {
    std::string filter = "^";
    for (char c : name) {
        if (std::strchr(".[]{}()\\*+?^$|", c)) filter += '\\';
        filter += c;
    }
    return filter + "$";
}

/// One run of one benchmark (Google Benchmark picks the iterations for the minimum time,
/// running the benchmark's setup anew); 0 when it failed.
inline double RunOnce(const std::string& name) {
    SilentReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter, ExactFilter(name));
    return reporter.seconds;
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

/// Takes "--ratio_rounds=N" out of the arguments; false when its value is not a count.
inline bool TakeRounds(int& argc, char** argv, int& rounds) {
    static const char kFlag[] = "--ratio_rounds=";
    int kept = 1;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], kFlag, sizeof kFlag - 1) != 0) {
            argv[kept++] = argv[i];
            continue;
        }
        char* end = nullptr;
        const long n = std::strtol(argv[i] + sizeof kFlag - 1, &end, 10);
        ok = ok && *end == '\0' && n >= 1 && n <= 1000;
        if (ok) rounds = int(n);
    }
    argc = kept;
    argv[argc] = nullptr;
    return ok;
}

}  // namespace detail

/// The whole main of a benchmark program once its files are made: parses the arguments,
/// runs the benchmarks once as usual for their times, then measures every pair in paired
/// runs and prints each pair's median ratio with its limit, marking those over it.
/// A paired run measures reference and subject one right after the other, the reference
/// first in one round and the subject first in the next, so that both see the same load;
/// the median over the rounds keeps one slow run from deciding. "--ratio_rounds=N" sets
/// the number of rounds (9 unless given). Returns the exit status.
inline int RunWithRatios(int argc, char** argv, std::vector<RatioPair> pairs) {
    int rounds = detail::kDefaultRounds;
    if (!detail::TakeRounds(argc, argv, rounds)) {
        std::fprintf(stderr, "--ratio_rounds wants a count from 1 to 1000\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    detail::OverviewReporter overview;
    benchmark::RunSpecifiedBenchmarks(&overview);

    // Pairs whose two sides both ran (the filter may have left some out).
    std::vector<RatioPair> measured;
    for (const RatioPair& p : pairs)
        if (overview.Ran(p.subject) && overview.Ran(p.reference)) measured.push_back(p);
    if (!measured.empty()) {
        // The paired runs are short and single: an output file of the overview run stays
        // as it was written.
        std::string minTime = std::string("--benchmark_min_time=") + detail::kPairedMinTime;
        std::string repetitions = "--benchmark_repetitions=1";
        std::string out = "--benchmark_out=";
        char* pairedArgs[] = {argv[0], minTime.data(), repetitions.data(), out.data(), nullptr};
        int pairedCount = 4;
        benchmark::Initialize(&pairedCount, pairedArgs);
        std::cout << "\nPaired runs: " << rounds << " rounds of at least " << detail::kPairedMinTime
                  << " s a side, reference and measured alternating ..." << std::endl;
    }
    std::vector<std::vector<double>> ratios(measured.size());
    for (int round = 0; round < rounds; ++round)
        for (size_t i = 0; i < measured.size(); ++i) {
            const bool referenceFirst = round % 2 == 0;
            const double first = detail::RunOnce(referenceFirst ? measured[i].reference : measured[i].subject);
            const double second = detail::RunOnce(referenceFirst ? measured[i].subject : measured[i].reference);
            const double reference = referenceFirst ? first : second;
            const double subject = referenceFirst ? second : first;
            if (reference > 0 && subject > 0) ratios[i].push_back(subject / reference);
        }

    int width = 8;
    for (const RatioPair& p : measured)
        width = std::max({width, int(std::strlen(p.subject)), int(std::strlen(p.reference))});
    char line[512];
    std::snprintf(line, sizeof line, "\n%-*s %-*s %7s %7s %7s %6s\n", width, "measured", width, "against", "median",
                  "lowest", "highest", "limit");
    std::cout << line;
    for (size_t i = 0; i < measured.size(); ++i) {
        const RatioPair& p = measured[i];
        if (ratios[i].empty()) {
            std::snprintf(line, sizeof line, "%-*s %-*s  failed\n", width, p.subject, width, p.reference);
            std::cout << line;
            continue;
        }
        const double median = detail::Median(ratios[i]);
        const auto [lowest, highest] = std::minmax_element(ratios[i].begin(), ratios[i].end());
        char limit[16] = "-";
        if (p.limit > 0) std::snprintf(limit, sizeof limit, "%.2f", p.limit);
        std::snprintf(line, sizeof line, "%-*s %-*s %7.2f %7.2f %7.2f %6s%s\n", width, p.subject, width, p.reference,
                      median, *lowest, *highest, limit, p.limit > 0 && median > p.limit ? "  OVER" : "");
        std::cout << line;
    }
    std::cout.flush();
    benchmark::Shutdown();
    return 0;
}

}  // namespace vx::bench
