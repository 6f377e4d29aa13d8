#pragma once
// A version 2.3 tag as another tagging program leaves it: the common text frames, a comment,
// no popularimeter, padded with zero bytes to 4096 bytes in all.
#include <cstdint>
#include <vector>

namespace bench {

std::vector<std::uint8_t> ForeignTag();

} // namespace bench
