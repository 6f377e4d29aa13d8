#include "id3v2/FrameList.h"

#include "id3v2/FrameTable.h"

namespace id3v2 {
namespace {

// The version 2.3 ID for a version 2.2 frame ID, by the frame table; the ID itself when the
// table has no row for it.
std::string VersionTwoThreeId(std::string_view idV22)
{
    for (const FrameRow& f : kFrameTable)
        if (f.idV22 == idV22)
            return std::string(f.idV23);
    return std::string(idV22);
}

bool ListFramesOf(TagView& view, std::vector<ListedFrame>& frames) noexcept
{
    frames.clear();
    try {
        const auto everyFrame = [](const FrameSite&) { return true; };
        const auto keep = [&frames](const FrameSite& site, std::span<const std::uint8_t> stored) {
            ListedFrame& frame = frames.emplace_back();
            frame.Id = site.Version == 2 ? VersionTwoThreeId(site.Id) : std::string(site.Id);
            frame.StoredSize = site.Size;
            frame.Content = FrameContent(site, stored);
            return true;
        };
        return WalkFrames(view, {everyFrame, keep});
    } catch (...) {
        frames.clear();
        return false;
    }
}

} // namespace

bool ListFrames(std::span<const std::uint8_t> tagBytes, std::vector<ListedFrame>& frames) noexcept
{
    SpanView view(tagBytes);
    return ListFramesOf(view, frames);
}

bool ListFrames(io::ByteSource& song, std::int64_t tagEnd, std::vector<ListedFrame>& frames) noexcept
{
    SourceView view(song, std::min(tagEnd, song.Length()));
    return ListFramesOf(view, frames);
}

} // namespace id3v2
