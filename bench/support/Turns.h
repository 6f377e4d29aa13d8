#pragma once
// Contenders that do the same job on their own copies of the same files, taking turns file by
// file so that each pair of timings sees the same machine state; medians and pair ratios.
#include "bench/support/Measures.h"

#include <functional>
#include <string>
#include <vector>

namespace bench {

using Job = std::function<bool(const std::string&)>;

struct Contender {
    std::string name;
    Job run;
    std::vector<std::string> files;
    std::vector<double> micros;
};

// Runs every contender over its files, one file each in turn (the order rotates per file).
void RunInTurns(std::vector<Contender>& contenders);

// The median of the file-by-file ratios a / b.
double PairRatio(const Contender& a, const Contender& b);

// Prints each contender's median and the first one's ratios against each of the others.
void Report(const std::string& title, const std::vector<Contender>& contenders);

} // namespace bench
