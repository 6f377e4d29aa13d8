#pragma once
// The benchmark's files: real lame encodes (CBR and VBR, with and without tags), copied out to
// the wanted count and kept in a cache folder between runs.
#include <string>
#include <vector>

namespace bench {

// The paths of `count` MP3 files under `folder`, made there on the first run. Empty when an
// encoder fails.
std::vector<std::string> BenchFiles(const std::string& folder, std::size_t count);

} // namespace bench
