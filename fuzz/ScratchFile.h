#pragma once
// What the file-reading harnesses share: one scratch file per process in memory-backed storage,
// removed when the process ends, and a check that stops the run with a message.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace fuzzing {

// The harness's scratch file, /dev/shm/fonarel-<name>-fuzz-<pid>.mp3; removed at exit.
const std::string& ScratchPath(const char* harness);

bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);

// Aborts with "<harness> fuzz: <what>" when the condition does not hold.
void Check(bool condition, const char* harness, const char* what);

} // namespace fuzzing
