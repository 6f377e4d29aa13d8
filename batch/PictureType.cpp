#include "batch/PictureType.h"

#include <array>
#include <string_view>

namespace batch {

std::string PictureTypeName(std::uint8_t type)
{
    static constexpr std::array<std::string_view, 21> kNames = {
        "other",          "file icon",   "other file icon", "front cover",        "back cover",
        "leaflet page",   "media",       "lead artist",     "artist",             "conductor",
        "band",           "composer",    "lyricist",        "recording location", "during recording",
        "during performance", "screen capture", "bright coloured fish", "illustration", "band logo",
        "publisher logo",
    };
    if (type < kNames.size())
        return std::string(kNames[type]);
    return "picture type " + std::to_string(type);
}

} // namespace batch
