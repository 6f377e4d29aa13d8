#include "id3v2/TagReader.h"

#include "id3v2/FrameScanner.h"
#include "id3v2/TagHeader.h"

#include <algorithm>

namespace id3v2 {
namespace {

// Covers the header and a tag of the usual 4096 bytes with room for its last frame's data.
constexpr std::int64_t kFirstRead = 8192;

// The file bytes the tag starting with these header bytes lets the scan see.
std::int64_t BytesNeeded(std::span<const std::uint8_t> header, std::int64_t fileLength)
{
    TagHeader tag;
    tag.SetBytes(header);
    return tag.HasIdentifier() ? ScanReach(tag, fileLength) : static_cast<std::int64_t>(kHeaderSize);
}

} // namespace

bool ReadTagRegion(io::ByteSource& song, TagRegion& region)
{
    if (!song.IsOpen())
        return false;
    region.FileLength = song.Length();
    if (region.FileLength < static_cast<std::int64_t>(kHeaderSize))
        return false;

    region.Bytes = song.View(0, std::min(kFirstRead, region.FileLength));
    if (song.LastReadFailed() || region.Bytes.size() < kHeaderSize)
        return false;
    const std::int64_t needed = BytesNeeded(region.Bytes.first(kHeaderSize), region.FileLength);
    region.FrameByFrame = needed > kMostTagInMemory;
    // After a read error, or in a file that shrank meanwhile, the scan sees the bytes that
    // could be read: the view ends where they end.
    if (needed > static_cast<std::int64_t>(region.Bytes.size()) && !region.FrameByFrame)
        region.Bytes = song.View(0, needed);
    return true;
}

} // namespace id3v2
