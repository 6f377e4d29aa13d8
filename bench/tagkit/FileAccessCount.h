#pragma once
// How often a piece of work opens files and how many bytes it reads through system calls, for
// the benchmark's report. Opens are counted by wrapping open() in this program; reads come from
// the kernel's per-process I/O counters.
#include <cstdint>

namespace bench {

struct FileAccess {
    std::uint64_t opens = 0;
    std::uint64_t readCalls = 0;
    std::uint64_t bytesRead = 0;
};

FileAccess CurrentFileAccess();

} // namespace bench
