#pragma once
// Whole-file reads and writes for tests: fixtures are small, so a file is one byte vector.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace fixtures {

std::vector<std::uint8_t> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes);
inline bool WriteFileBytes(const std::string& path, const std::string& bytes)
{
    return WriteFileBytes(path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

// A 64-bit FNV-1a digest, enough to tell whether two byte runs differ.
std::uint64_t Fingerprint(std::span<const std::uint8_t> bytes);

} // namespace fixtures
