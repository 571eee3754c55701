// The clock and the median the window benchmarks share.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace zelvaran::bench {

// Seconds on the performance counter.
inline double Seconds() {
    static const double frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

// The middle value; -1 for none.
inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

// The seconds each of `runs` runs took.
inline std::vector<double> Time(int runs, const std::function<void()>& run) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = Seconds();
        run();
        times.push_back(Seconds() - start);
    }
    return times;
}

} // namespace zelvaran::bench
