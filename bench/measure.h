#pragma once
// Measuring helpers shared by the benchmark probes and their driver: clocks,
// process CPU time, memory figures, sample summaries and the line format in
// which a probe hands its figures to the driver.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <time.h>
#include <vector>

namespace bench {

inline constexpr double kNanosecondsPerSecond = 1e9;
inline constexpr double kNanosecondsPerMicrosecond = 1e3;
inline constexpr double kPercent = 100.0;

/// Nanoseconds on the system-wide monotonic clock: comparable between
/// processes, so a driver can time a child's start-up against it.
inline std::int64_t monotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t {now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

/// CPU time used by this process so far: all threads, user and system.
inline double cpuSeconds()
{
    timespec used {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / kNanosecondsPerSecond;
}

/// A "Name:   1234 kB" line of /proc/self/status in KiB, or -1 when absent.
inline long statusKiB(std::string_view field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.size() > field.size() && line.compare(0, field.size(), field) == 0 && line[field.size()] == ':')
            return std::stol(line.substr(field.size() + 1));
    }
    return -1;
}

/// Wall-clock microseconds taken by one call of `action`.
template <class Action> double microsecondsFor(Action&& action)
{
    const std::int64_t start = monotonicNs();
    action();
    return static_cast<double>(monotonicNs() - start) / kNanosecondsPerMicrosecond;
}

struct CpuShare {
    double cpuSeconds = 0;
    double wallSeconds = 0;
    /// CPU time as a percentage of one core over the wall time.
    double percentOfCore() const { return wallSeconds > 0 ? kPercent * cpuSeconds / wallSeconds : 0; }
};

/// Process CPU time and wall time spent in one call of `action`.
template <class Action> CpuShare cpuShareOf(Action&& action)
{
    const double cpuStart = cpuSeconds();
    const std::int64_t wallStart = monotonicNs();
    action();
    return {cpuSeconds() - cpuStart, static_cast<double>(monotonicNs() - wallStart) / kNanosecondsPerSecond};
}

struct Summary {
    double median = 0;
    double p99 = 0;
    std::size_t count = 0;
};

/// Median and 99th percentile (nearest rank) of the samples.
inline Summary summarise(std::vector<double> samples)
{
    if (samples.empty())
        return {};
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    const double median = n % 2 == 1 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
    constexpr double kP99 = 0.99;
    const auto rank = static_cast<std::size_t>(std::ceil(kP99 * static_cast<double>(n)));
    return {median, samples[std::max<std::size_t>(rank, 1) - 1], n};
}

/// Ends the probe with `why` on standard error, which the driver prints
/// under its table: there is nothing left to measure.
[[noreturn]] inline void fail(const char* why)
{
    std::fprintf(stderr, "%s\n", why);
    std::exit(EXIT_FAILURE);
}

/// Hands one figure to the driver as a "key value" line on standard output.
inline void report(const char* key, double value)
{
    std::printf("%s %.6f\n", key, value);
    std::fflush(stdout);
}

/// Hands one whole-number figure to the driver, exactly (a moment in
/// nanoseconds, a size in KiB).
inline void reportInteger(const char* key, std::int64_t value)
{
    std::printf("%s %lld\n", key, static_cast<long long>(value));
    std::fflush(stdout);
}

/// Reports a sample set as key_median, key_p99 and key_count.
inline void report(const std::string& key, const Summary& summary)
{
    report((key + "_median").c_str(), summary.median);
    report((key + "_p99").c_str(), summary.p99);
    reportInteger((key + "_count").c_str(), static_cast<std::int64_t>(summary.count));
}

} // namespace bench
