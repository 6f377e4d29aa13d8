#pragma once
// The benchmark's files: real MP3 files encoded once and kept under the build folder, copied
// into fresh working sets for every run.
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct SizeClass {
    std::string name;       // "40 KB", "5 MB"
    std::string master;     // the encoded file, without a tag
    std::string tagged;     // the same with the 4096-byte tag the benchmark writes
    int count = 0;          // files per working set
};

// Encodes the masters when they are not there yet. False when an encoder fails.
bool PrepareMasters(const std::string& dataDir, std::vector<SizeClass>& classes);

} // namespace bench
