#pragma once

// Ratios between the benchmarks of one run, taken from the medians of their wall times.
//
// MedianReporter keeps the wall time per iteration of every run of every benchmark (each
// repetition of --benchmark_repetitions is one run; aggregate rows are not runs), keyed by the
// benchmark's name without its time-type, repetition and iteration parts, e.g. "Generator/threads:4"
// or "BM_RenderBothSides/2". ratio() divides the medians of two benchmarks; printRatio() prints
// it with the number of runs behind each median, the threads each benchmark ran on, the cores
// this process may use (taskset narrows them) and the load of the machine.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include <sched.h>

namespace BenchRatios {

// Cores this process may run on.
inline int usableCores()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return CPU_COUNT(&set);
    return int(std::thread::hardware_concurrency());
}

// The 1, 5 and 15 minute load averages of the machine.
inline std::string loadAverage()
{
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// Arithmetic alone, on one thread and on four: six independent xorshift chains an iteration, no
// memory touched and nothing shared between threads. How much faster four threads of it run than
// one is what the cores give any work at that moment; on a virtual machine whose cores share
// physical ones with each other or with other machines it is less than four, and the thread
// ratios printed beside it can be no better. Registered as "ArithmeticAlone"; run with
// --benchmark_enable_random_interleaving and repetitions, its runs fall among the others'.
inline void arithmeticAlone(benchmark::State &state)
{
    std::uint64_t chains[6];
    for (int i = 0; i < 6; ++i)
        chains[i] = std::uint64_t(state.thread_index() + 1) * 0x9E3779B97F4A7C15ull + std::uint64_t(i);
    for (auto _ : state) {
        for (int step = 0; step < 20000; ++step) {
            for (std::uint64_t &x : chains) {
                x ^= x << 13;
                x ^= x >> 7;
                x ^= x << 17;
            }
        }
        benchmark::DoNotOptimize(chains);
    }
}

inline void registerArithmeticAlone()
{
    benchmark::RegisterBenchmark("ArithmeticAlone", arithmeticAlone)
        ->Threads(1)
        ->Threads(4)
        ->UseRealTime()
        ->Unit(benchmark::kMicrosecond);
}

class MedianReporter : public benchmark::ConsoleReporter
{
public:
    struct Samples
    {
        std::vector<double> seconds;                       // wall time per iteration, one a run
        std::map<std::string, std::vector<double>> counters; // counter values, one a run
        int64_t threads = 1;
        bool fromAggregate = false; // only the median row was shown: `runs` says of how many
        int64_t runs = 0;
    };

    static std::string keyOf(const Run &run)
    {
        benchmark::BenchmarkName name = run.run_name;
        name.time_type.clear();
        name.repetitions.clear();
        name.iterations.clear();
        name.min_time.clear();
        name.min_warmup_time.clear();
        if (name.threads == "threads:1")
            name.threads.clear();
        return name.str();
    }

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.error_occurred || run.iterations <= 0)
                continue;
            Samples &samples = m_samples[keyOf(run)];
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median"
                && run.aggregate_unit == benchmark::kTime;
            // Runs hidden by --benchmark_display_aggregates_only leave only their median.
            if (run.run_type == Run::RT_Iteration) {
                if (samples.fromAggregate)
                    samples = Samples();
            } else if (!median || !samples.seconds.empty()) {
                continue;
            } else {
                samples.fromAggregate = true;
            }
            samples.threads = run.threads;
            samples.runs = samples.fromAggregate ? run.repetitions : samples.runs + 1;
            samples.seconds.push_back(run.real_accumulated_time / double(run.iterations));
            for (const auto &[name, counter] : run.counters)
                samples.counters[name].push_back(counter.value);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    const Samples *samples(const std::string &key) const
    {
        const auto found = m_samples.find(key);
        return found == m_samples.end() || found->second.seconds.empty() ? nullptr : &found->second;
    }

    // The median wall time per iteration of `key`, in seconds; 0 when it did not run.
    double medianSeconds(const std::string &key) const
    {
        const Samples *s = samples(key);
        return s ? median(s->seconds) : 0.0;
    }

    // The median of a counter of `key` over its runs; 0 when it did not run.
    double medianCounter(const std::string &key, const std::string &counter) const
    {
        const Samples *s = samples(key);
        if (!s)
            return 0.0;
        const auto found = s->counters.find(counter);
        return found == s->counters.end() ? 0.0 : median(found->second);
    }

    // The median wall time of `numerator` over that of `denominator`; 0 when either is missing.
    double ratio(const std::string &numerator, const std::string &denominator) const
    {
        const double below = medianSeconds(denominator);
        return below > 0 ? medianSeconds(numerator) / below : 0.0;
    }

    // One line: label, the ratio, and what it stands on. `threads` describes the threads when
    // the benchmarks start their own (Google Benchmark then counts one).
    void printRatio(const std::string &label, const std::string &numerator, const std::string &denominator,
                    const std::string &threads = std::string()) const
    {
        const Samples *top = samples(numerator);
        const Samples *bottom = samples(denominator);
        if (!top || !bottom || median(bottom->seconds) <= 0)
            return;
        std::printf("  %-40s %6.2f   (medians of %lld and %lld runs: %s / %s; %s)\n", label.c_str(),
                    median(top->seconds) / median(bottom->seconds), static_cast<long long>(top->runs),
                    static_cast<long long>(bottom->runs),
                    timeText(median(top->seconds)).c_str(), timeText(median(bottom->seconds)).c_str(),
                    threads.empty() ? threadText(*top, *bottom).c_str() : threads.c_str());
    }

    // The ratio of ArithmeticAlone (see registerArithmeticAlone()) on one thread and on four.
    void printArithmeticRatio() const
    {
        printRatio("arithmetic alone, the cores' own", "ArithmeticAlone", "ArithmeticAlone/threads:4", "1 and 4 threads");
    }

    // The line under the ratios: where they were measured.
    static void printMachine()
    {
        std::printf("  wall time; %d of %u cores usable by this process; load average %s\n", usableCores(),
                    std::thread::hardware_concurrency(), loadAverage().c_str());
    }

private:
    static std::string timeText(double seconds)
    {
        char text[32];
        if (seconds >= 1.0)
            std::snprintf(text, sizeof text, "%.3f s", seconds);
        else if (seconds >= 1e-3)
            std::snprintf(text, sizeof text, "%.3f ms", seconds * 1e3);
        else
            std::snprintf(text, sizeof text, "%.2f us", seconds * 1e6);
        return text;
    }

    static std::string threadText(const Samples &top, const Samples &bottom)
    {
        if (top.threads == bottom.threads)
            return std::to_string(top.threads) + (top.threads == 1 ? " thread each" : " threads each");
        return std::to_string(top.threads) + " and " + std::to_string(bottom.threads) + " threads";
    }

    std::map<std::string, Samples> m_samples;
};

} // namespace BenchRatios
