#include "batch/SongFrames.h"

#include "id3v2/TagHeader.h"
#include "io/SongBytes.h"

namespace batch {
namespace {

// The tag at the start of the file, header first; empty without one.
std::vector<std::uint8_t> TagOfFile(const std::string& path)
{
    io::SongBytes song;
    if (!song.Open(path, io::SongBytes::Readers::One))
        return {};
    const auto head = song.View(0, static_cast<std::int64_t>(id3v2::kHeaderSize));
    id3v2::TagHeader header;
    header.SetBytes(head);
    if (song.LastReadFailed() || !header.HasIdentifier())
        return {};
    const auto tag = song.View(0, id3v2::TotalTagSize(header, song.Length()));
    return std::vector<std::uint8_t>(tag.begin(), tag.end());
}

} // namespace

std::vector<FrameChange> ChangesOfSong(const app::SongWriteResult& song)
{
    if (song.planned.NewTag.empty())
        return {};
    const std::vector<std::uint8_t> oldTag = song.oldTag.empty() ? TagOfFile(song.path) : song.oldTag;
    std::vector<id3v2::ListedFrame> before;
    std::vector<id3v2::ListedFrame> after;
    id3v2::ListFrames(oldTag, before);
    id3v2::ListFrames(song.planned.NewTag, after);
    return CompareFrames(before, after);
}

} // namespace batch
