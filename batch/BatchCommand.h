#pragma once
// The whole run of fonarel-write: the catalogue link, the song list, each song written (or
// inspected, in a dry run) as the window's batch runs write it, the report and the summary.
#include "batch/CommandOptions.h"
#include "batch/TerminalText.h"

#include <csignal>
#include <cstdio>
#include <filesystem>

namespace batch {

inline constexpr int kExitSuccess = 0;
// A song was not written (missing, unmapped, outside, ambiguous, passed over, failed, busy, not
// tried); songs that are no MP3 do not count.
inline constexpr int kExitWriteFailed = 1;
inline constexpr int kExitUsage = 2; // also a configuration or connection error
// --check: every song could be written, and some would change.
inline constexpr int kExitWouldChange = 3;
// Stopped by a signal: 128 and its number (130 for SIGINT, 143 for SIGTERM, 129 for SIGHUP).
inline constexpr int kExitStoppedBy = 128;

struct CommandStreams {
    std::FILE* out = stdout;       // the dry run's listing and the summary
    std::FILE* err = stderr;       // errors
    std::FILE* progress = nullptr; // the progress line, when there is a terminal to show it
};

// Runs the command. `interrupted` is set (by a signal handler, to the signal's number) to stop
// after the song at hand (StopSignals, whose handlers the catalogue's attach leaves in place).
int RunCommand(const CommandOptions& options, const std::filesystem::path& executablePath, const TerminalText& terminal,
               const volatile std::sig_atomic_t& interrupted, const CommandStreams& streams);

} // namespace batch
