#pragma once
// What the benchmark times, one file per call: our reader and writer, the floor programs that
// do the least file work a tag write needs, and TagLib doing the same job as ours.
#include "id3v2/ID3v2.h"

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// The values of the 21-frame tag every contender writes.
void SetBenchValues(id3v2::TID3v2& tag);

// ReadFromFile, then SaveToFile of the 21-frame tag.
bool OursReadAndSave(const std::string& path);

// Open, pread the first 10 KB and the last 4 KB, pwrite the 4096-byte tag at offset 0, close.
bool FloorInPlace(const std::string& path, const std::vector<std::uint8_t>& tag);

// Write the tag to path~, copy_file_range the whole file behind it, fsync, rename over path.
bool FloorRebuild(const std::string& path, const std::vector<std::uint8_t>& tag);

// TagLib: read the tag, set the same frames, save as version 2.3.
bool TagLibReadAndSave(const std::string& path);

} // namespace bench
