#include "id3v2/Popularimeter.h"

#include "id3v2/FrameWalk.h"
#include "id3v2/TagView.h"

#include <algorithm>
#include <string_view>

// The complete frame walk, for one purpose: the rating of the first popularimeter.
namespace id3v2 {
namespace {

using Bytes = std::span<const std::uint8_t>;

// The rating of a popularimeter's data: the byte after the zero byte that ends the e-mail
// address; 0 when the address has no end or no byte follows it.
std::uint8_t RatingAfterAddress(Bytes data)
{
    const auto end = std::find(data.begin(), data.end(), std::uint8_t{0});
    if (end == data.end() || end + 1 == data.end())
        return 0;
    return *(end + 1);
}

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
                         rating = content ? RatingAfterAddress(*content) : 0;
                         return false; // the first popularimeter only
                     }});
    return rating;
}

} // namespace

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
