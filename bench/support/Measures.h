#pragma once
// What the benchmark programs measure with: the clock, durations in the units they print,
// medians, and this process's memory.
#include <chrono>
#include <cstddef>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d);
double Milliseconds(Clock::duration d);
double Microseconds(Clock::duration d);

// The middle value; with an even count, the average of the two middle values. 0 when empty.
double Median(std::vector<double> values);

// Heap bytes in use (malloc's count) and the resident set, in bytes.
std::size_t HeapInUse();
std::size_t ResidentBytes();
double MiB(double bytes);

} // namespace bench
