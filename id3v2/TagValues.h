#pragma once
// The values of one tag in memory, by frame-table row: the text properties, the track number
// and the rating.
#include "id3v2/FrameTable.h"

#include <array>
#include <cstdint>
#include <string>

namespace id3v2 {

struct TagValues {
    // Indexed by row; only rows for which IsTextProperty holds are used.
    std::array<std::string, kFrameRows> Text;
    std::uint16_t Track = 0; // 0: no track number
    std::uint8_t Rating = 0; // 0: no rating
};

} // namespace id3v2
