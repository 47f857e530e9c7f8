// SPDX-FileCopyrightText: 2026 The Glyphora authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the benchmarks over several list sizes share: their command line,
// "[--runs R] [N...]", and the median of their runs.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <span>
#include <vector>

struct RunsAndSizes
{
    int runs;
    std::vector<int> sizes;
};

// Exits with a usage line on a count below one.
inline RunsAndSizes parseRunsAndSizes(int argc, char *argv[], int defaultRuns,
                                      std::span<const int> defaultSizes, const char *program)
{
    RunsAndSizes options{defaultRuns, {}};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            options.runs = std::atoi(argv[++i]);
        else
            options.sizes.push_back(std::atoi(argv[i]));
    }
    if (options.sizes.empty())
        options.sizes.assign(defaultSizes.begin(), defaultSizes.end());
    if (options.runs < 1
        || std::any_of(options.sizes.begin(), options.sizes.end(), [](int n) { return n < 1; })) {
        std::fprintf(stderr, "usage: %s [--runs R] [N...]\n", program);
        std::exit(EXIT_FAILURE);
    }
    return options;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}
