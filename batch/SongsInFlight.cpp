#include "batch/SongsInFlight.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace batch {
namespace {

// The songs between the last one told and the last one taken, and who waits for what.
class Flight {
public:
    Flight(std::size_t count, std::size_t window, const volatile std::sig_atomic_t& stop, const std::atomic<bool>& halt)
        : count_(count)
        , window_(window)
        , stop_(stop)
        , halt_(halt)
    {
    }

    // The next song for a worker, or none when every song is taken or a stop was asked for.
    std::optional<std::size_t> Take()
    {
        std::unique_lock lock(mutex_);
        // Done songs wait in memory to be told: a worker runs at most `window` songs ahead.
        changed_.wait(lock, [this] { return taken_ < told_ + window_ || Stopping(); });
        if (taken_ == count_ || Stopping())
            return std::nullopt;
        pending_.emplace_back();
        return taken_++;
    }

    void Done(std::size_t index, SongDone done)
    {
        const std::lock_guard lock(mutex_);
        pending_[index - told_] = std::move(done);
        changed_.notify_all();
    }

    void WorkerEnded()
    {
        const std::lock_guard lock(mutex_);
        ++ended_;
        changed_.notify_all();
    }

    // The next song to tell, once it is done; none once every song taken has been told and no
    // worker will take another.
    std::optional<SongDone> Next(unsigned workers)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return (!pending_.empty() && pending_.front()) || (ended_ == workers && pending_.empty()); });
        if (pending_.empty())
            return std::nullopt;
        std::optional<SongDone> next = std::move(pending_.front());
        pending_.pop_front();
        ++told_;
        changed_.notify_all();
        return next;
    }

private:
    bool Stopping() const { return stop_ != 0 || halt_.load(); }

    const std::size_t count_;
    const std::size_t window_;
    const volatile std::sig_atomic_t& stop_;
    const std::atomic<bool>& halt_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::optional<SongDone>> pending_; // songs told_ .. taken_ - 1
    std::size_t taken_ = 0;
    std::size_t told_ = 0;
    unsigned ended_ = 0;
};

// A song's write on a worker, whose thread no exception may leave.
SongDone WriteOn(const std::function<SongDone(std::size_t, io::WrittenFileSystems&)>& write, std::size_t index,
                 io::WrittenFileSystems& written)
{
    try {
        return write(index, written);
    } catch (...) {
        SongDone failed;
        failed.result.outcome = songs::SongOutcome::Failed;
        failed.result.failure = "out of memory";
        return failed;
    }
}

} // namespace

std::size_t WriteSongsInFlight(std::size_t count, unsigned jobs,
                               const std::function<SongDone(std::size_t, io::WrittenFileSystems&)>& write,
                               const std::function<void(std::size_t, const SongDone&)>& tell,
                               const volatile std::sig_atomic_t& stop, const std::atomic<bool>& halt,
                               io::WrittenFileSystems& written)
{
    Flight flight(count, 2 * static_cast<std::size_t>(jobs), stop, halt);
    std::vector<io::WrittenFileSystems> writtenBy(jobs);
    std::vector<std::jthread> workers;
    for (unsigned w = 0; w < jobs; ++w)
        workers.emplace_back([&flight, &write, &writtenBy, w] {
            while (const std::optional<std::size_t> index = flight.Take())
                flight.Done(*index, WriteOn(write, *index, writtenBy[w]));
            flight.WorkerEnded();
        });
    std::size_t told = 0;
    while (const std::optional<SongDone> done = flight.Next(jobs))
        tell(told++, *done);
    workers.clear(); // joined
    for (const io::WrittenFileSystems& list : writtenBy)
        written.Merge(list);
    return told;
}

} // namespace batch
