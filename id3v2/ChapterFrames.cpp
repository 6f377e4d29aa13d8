#include "id3v2/ChapterFrames.h"

#include <algorithm>

namespace id3v2 {
namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::size_t kChapterTimesSize = 16; // start and end time, start and end offset

// The offset just past the zero byte that ends the text starting at `from`; none without one.
std::optional<std::size_t> PastTerminator(Bytes data, std::size_t from)
{
    if (from > data.size())
        return std::nullopt;
    const auto zero = std::find(data.begin() + static_cast<std::ptrdiff_t>(from), data.end(), std::uint8_t{0});
    if (zero == data.end())
        return std::nullopt;
    return static_cast<std::size_t>(zero - data.begin()) + 1;
}

std::optional<std::size_t> ChapterFramesStart(Bytes data)
{
    const std::optional<std::size_t> element = PastTerminator(data, 0);
    if (!element || data.size() - *element < kChapterTimesSize)
        return std::nullopt;
    return *element + kChapterTimesSize;
}

std::optional<std::size_t> TableFramesStart(Bytes data)
{
    const std::optional<std::size_t> element = PastTerminator(data, 0);
    if (!element || data.size() - *element < 2)
        return std::nullopt;
    std::optional<std::size_t> pos = *element + 2; // the flags and the entry count
    for (std::uint8_t entry = 0; entry < data[*element + 1] && pos; ++entry)
        pos = PastTerminator(data, *pos);
    return pos;
}

} // namespace

bool EmbedsFrames(std::string_view id)
{
    return id == "CHAP" || id == "CTOC";
}

std::optional<std::size_t> EmbeddedFramesStart(std::string_view id, std::span<const std::uint8_t> data)
{
    if (id == "CHAP")
        return ChapterFramesStart(data);
    if (id == "CTOC")
        return TableFramesStart(data);
    return std::nullopt;
}

} // namespace id3v2
