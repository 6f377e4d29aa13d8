#pragma once
// The signals that ask a program to end (SIGTERM from a desktop that logs out or from kill,
// SIGINT from Ctrl+C, SIGHUP from a closed terminal), taken as a request to stop after the song at
// hand: a run finishes the song it writes, flushes what it wrote, says so and closes the
// catalogue. A second such signal while stopping ends the program at once, by the signal's own
// default action; the write in flight is safe from that as from a crash.
//
// The catalogue's attach leaves these handlers in place (its embedded engine would install its
// own). One set of handlers per process: the state below is the process's.
#include <csignal>
#include <string>

namespace songs {

class StopSignals {
public:
    // Installs the handlers for the three signals.
    static void Take();
    // The number of the first signal received, or 0; for polling between songs.
    static const volatile std::sig_atomic_t& Received();
    // A descriptor that becomes readable when the first signal arrives, for an event loop to
    // watch; -1 when none could be made.
    static int Descriptor();
    // Empties the descriptor again, once its event loop has seen it.
    static void Acknowledge();
    // Forgets the signal received, for a process that goes on after a stop (a test's).
    static void Forget();
};

// While a program has no song in hand (it opens its catalogue, say, where the engine may wait on
// another program for long), a stop signal ends it at once with status 128 + the signal's number,
// after writing farewell to the descriptor fd (nothing when fd is -1). Outside such a scope the
// signal is a request to stop after the song at hand, as above. One scope at a time.
class StopAtOnce {
public:
    explicit StopAtOnce(std::string farewell = {}, int fd = -1);
    ~StopAtOnce();
    StopAtOnce(const StopAtOnce&) = delete;
    StopAtOnce& operator=(const StopAtOnce&) = delete;
};

} // namespace songs
