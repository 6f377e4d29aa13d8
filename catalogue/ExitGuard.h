#pragma once
// The end of a process that has used the catalogue. The embedded engine's trace plugin, loaded at
// the first attach, runs the client's fb_shutdown from the process's exit handlers, and that
// shutdown has been seen to spin for many minutes while holding the engine's lock files, so that
// every other program on the machine waits in its own attach. Whatever calls exit (a return from
// main, Qt's display plugin when the X display goes away), the guard:
//   - starts a watchdog that ends the process with the status it was exiting with, once
//     kShutdownBound has passed;
//   - closes every catalogue link still open (Track), so that the engine's shutdown has nothing
//     of ours left to close.
// The guard is an exit handler registered after the engine's (Arm, after each attach, failed or
// not), so it runs before the engine's own. Nothing is ever written to the catalogue: ending the
// process at any point of its shutdown loses nothing.
//
// Its state (the open links, whether the exit has begun) is process-wide because exit handlers
// are: there is one exit per process and one guard for it.
#include <chrono>
#include <functional>

namespace catalogue::exit_guard {

// How long the process may take from exit to its end, closing the catalogue included.
inline constexpr std::chrono::seconds kShutdownBound{3};

// Registers the guard as an exit handler (again: a plugin loaded by a later attach registers
// its own handler after ours, and the last registered runs first). Cheap; call after an attach.
void Arm();

// A link to close at exit, known by its owner's address; what close throws is dropped.
void Track(const void* owner, std::function<void()> close);
// The link was closed or is gone; the exit leaves it alone.
void Forget(const void* owner);

// Ends the process now with status, skipping the exit handlers, after flushing the standard
// streams: for a process that abandons a call still running inside the engine (an attach that
// waits on another program), which neither a detach nor the engine's shutdown could end.
[[noreturn]] void EndNow(int status);

} // namespace catalogue::exit_guard
