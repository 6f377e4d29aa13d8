#include "batch/Progress.h"

namespace batch {

Progress::Progress(std::FILE* out, std::size_t songs)
    : out_(out)
    , songs_(songs)
    , start_(Clock::now())
    , shown_(start_)
{
}

void Progress::Done(std::size_t done)
{
    if (out_ == nullptr)
        return;
    const Clock::time_point now = Clock::now();
    if (now - shown_ < std::chrono::milliseconds(100) && done < songs_)
        return;
    shown_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
    const long left = rate > 0 ? static_cast<long>(static_cast<double>(songs_ - done) / rate + 0.5) : 0;
    std::fprintf(out_, "\r\x1b[K%zu of %zu songs, %.0f songs/s, %ld:%02ld left", done, songs_, rate, left / 60, left % 60);
    std::fflush(out_);
}

void Progress::End()
{
    if (out_ == nullptr)
        return;
    std::fprintf(out_, "\r\x1b[K");
    std::fflush(out_);
}

} // namespace batch
