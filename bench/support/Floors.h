#pragma once
// Floor programs: the least file work a tag write needs, to measure a tag writer against.
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// Open, pread the first 10 KB and the last 4 KB, pwrite the tag at offset 0, close.
bool FloorInPlace(const std::string& path, const std::vector<std::uint8_t>& tag);

// Write the tag to path~, copy_file_range the whole file behind it, fsync, rename over path.
bool FloorRebuild(const std::string& path, const std::vector<std::uint8_t>& tag);

} // namespace bench
