// The value below which the given fraction (0 to 1) of the measurements lie.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

inline double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5)];
}
