#pragma once
// The run's progress on a terminal: songs done of n, songs per second and the time left, on one
// line rewritten at most ten times a second.
#include <chrono>
#include <cstddef>
#include <cstdio>

namespace batch {

class Progress {
public:
    // Shows nothing when `out` is null.
    Progress(std::FILE* out, std::size_t songs);
    void Done(std::size_t songs);
    // Clears the line.
    void End();

private:
    using Clock = std::chrono::steady_clock;
    std::FILE* out_;
    std::size_t songs_;
    Clock::time_point start_;
    Clock::time_point shown_;
};

} // namespace batch
