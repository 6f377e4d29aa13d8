#pragma once
// The signals that ask a program to end: SIGTERM (a desktop that logs out, kill), SIGINT (Ctrl+C)
// and SIGHUP (a closed terminal). The programs stop after the song at hand on them, and the
// catalogue's attach leaves them as they were, whatever the embedded engine installs.
#include <array>
#include <csignal>

namespace catalogue {

inline constexpr std::array<int, 3> kStopSignals{SIGTERM, SIGINT, SIGHUP};

} // namespace catalogue
