#pragma once
// What the benchmark times, one file per call: our reader and writer, and TagLib doing the same
// job as ours. The floor programs are in bench/support.
#include "id3v2/ID3v2.h"

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// The values of the 21-frame tag every contender writes.
void SetBenchValues(id3v2::TID3v2& tag);

// ReadFromFile, then SaveToFile of the 21-frame tag.
bool OursReadAndSave(const std::string& path);

// TagLib: read the tag, set the same frames, save as version 2.3.
bool TagLibReadAndSave(const std::string& path);

} // namespace bench
