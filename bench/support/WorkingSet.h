#pragma once
// The files a benchmark works on: masters encoded once and kept between runs, copied into a
// fresh working set for every run.
#include "tools/mp3fixtures/Encoders.h"

#include <string>
#include <vector>

namespace bench {

// Encodes a lame master of the given length unless it is there already. False when lame fails.
bool EncodeOnce(const std::string& path, const std::vector<std::string>& lameArgs, double seconds);

// `count` copies of `source` in a fresh folder; the paths.
std::vector<std::string> MakeWorkingSet(const std::string& folder, const std::string& source, int count);

void RemoveFolder(const std::string& folder);

} // namespace bench
