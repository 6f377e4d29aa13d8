#include "batch/SongFrames.h"

namespace batch {

std::vector<FrameChange> ChangesOfSong(const songs::SongWriteResult& song)
{
    // A new tag that is byte for byte the old one changes nothing.
    if (song.planned.NewTag.empty() || song.planned.Unchanged)
        return {};
    std::vector<id3v2::ListedFrame> after;
    id3v2::ListFrames(song.planned.NewTag, after);
    return CompareFrames(song.oldFrames, after);
}

} // namespace batch
