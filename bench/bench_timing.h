// The benchmarks' clock and order statistics.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

namespace bench {

// Seconds on the performance counter.
inline double Now() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The value below which the fraction `p` of the values lies; 0.5 is the median.
inline double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const std::size_t at = std::min(values.size() - 1, static_cast<std::size_t>(p * values.size()));
    return values[at];
}

inline double Median(std::vector<double> values) { return Percentile(std::move(values), 0.5); }

}  // namespace bench
