#pragma once
// The median of a benchmark's samples: robust against the odd slow run of a shared machine.

#include <algorithm>
#include <vector>

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}
