// Timing two routines against each other on a shared machine, whose speed changes by 10-30% from
// one stretch of seconds to the next: the two run in alternating slices, and each keeps its fastest.
// Timed one after the other, a slow stretch would fall on one of them only.
#pragma once

#include <algorithm>
#include <chrono>
#include <utility>

// Microseconds per call of `first` and of `second`, each the fastest of `rounds` slices of at least
// `slice` (one call at least).
template <typename First, typename Second>
std::pair<double, double> fastest_slices(First first, Second second, std::chrono::milliseconds slice, int rounds)
{
    const auto time_slice = [slice](auto& routine) {
        const auto start = std::chrono::steady_clock::now();
        int runs = 0;
        do {
            routine();
            ++runs;
        } while (std::chrono::steady_clock::now() - start < slice);
        return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() / runs;
    };
    double best_first = time_slice(first), best_second = time_slice(second);
    for (int round = 1; round < rounds; ++round) {
        best_first = std::min(best_first, time_slice(first));
        best_second = std::min(best_second, time_slice(second));
    }
    return {best_first, best_second};
}
