#include "id3v2/Popularimeter.h"

#include "id3v2/FrameWalk.h"
#include "id3v2/TagView.h"

#include <algorithm>
#include <string_view>

// The complete frame walk, for one purpose: the rating of the first popularimeter.
namespace id3v2 {
namespace {

using Bytes = std::span<const std::uint8_t>;

// Whether "POP" (the version 2.2 ID, and the start of POPM) stands anywhere in the bytes. A
// frame's ID is never compressed, encrypted or changed by unsynchronisation (which only adds
// zero bytes after 0xFF), so a complete parse cannot find a popularimeter in a tag without it.
bool MayHoldPopularimeter(Bytes tagBytes)
{
    constexpr std::string_view kId = "POP";
    const std::string_view bytes(reinterpret_cast<const char*>(tagBytes.data()), tagBytes.size());
    return bytes.find(kId) != std::string_view::npos;
}

bool IsPopularimeter(const FrameSite& frame)
{
    return frame.Id == (frame.Version == 2 ? "POP" : "POPM");
}

std::uint8_t RatingOfTag(TagView& tag)
{
    std::uint8_t rating = 0;
    WalkFrames(tag, {IsPopularimeter, [&rating](const FrameSite& frame, Bytes stored) {
                         const auto content = FrameContent(frame, stored);
                         rating = content ? ParsePopularimeter(*content).Rating.value_or(0) : 0;
                         return false; // the first popularimeter only
                     }});
    return rating;
}

} // namespace

PopularimeterFields ParsePopularimeter(Bytes content)
{
    constexpr std::size_t kMostCounterBytes = 8;
    PopularimeterFields fields;
    const auto end = std::find(content.begin(), content.end(), std::uint8_t{0});
    fields.Address = content.first(static_cast<std::size_t>(end - content.begin()));
    const Bytes rest = end == content.end() ? Bytes{} : content.subspan(fields.Address.size() + 1);
    if (rest.empty())
        return fields;
    fields.Rating = rest[0];
    if (rest.size() == 1)
        return fields;
    std::uint64_t count = 0;
    for (const std::uint8_t b : rest.subspan(1, std::min(rest.size() - 1, kMostCounterBytes)))
        count = count << 8 | b;
    fields.PlayCount = count;
    return fields;
}

std::uint8_t PopularimeterRating(std::span<const std::uint8_t> tagBytes) noexcept
{
    // Most tags that other programs write carry no popularimeter: their answer is 0 at once.
    if (!MayHoldPopularimeter(tagBytes))
        return 0;
    try {
        SpanView view(tagBytes);
        return RatingOfTag(view);
    } catch (...) {
        // Only an allocation can fail.
        return 0;
    }
}

std::uint8_t PopularimeterRating(io::ByteSource& song, std::int64_t tagEnd) noexcept
{
    try {
        SourceView view(song, std::min(tagEnd, song.Length()));
        return RatingOfTag(view);
    } catch (...) {
        return 0;
    }
}

} // namespace id3v2
