#include "id3v2/TagReader.h"

#include "id3v2/BinaryFile.h"
#include "id3v2/FrameScanner.h"
#include "id3v2/TagInfo.h"

#include <algorithm>
#include <span>
#include <sys/stat.h>

namespace id3v2 {
namespace {

// Covers the header and a tag of the usual 4096 bytes with room for its last frame's data.
constexpr std::int64_t kFirstRead = 8192;

// The file bytes the tag starting with these header bytes lets the scan see.
std::int64_t BytesNeeded(std::span<const std::uint8_t> header, std::int64_t fileLength)
{
    TagInfo info;
    info.SetHeaderBytes(header);
    info.FileLength = fileLength;
    return info.HasIdentifier() ? ScanReach(info) : static_cast<std::int64_t>(kHeaderSize);
}

} // namespace

bool ReadTagRegion(const std::string& path, TagRegion& region)
{
    BinaryFile file;
    struct stat status {};
    if (!file.Open(path, BinaryFile::Mode::Read, &status))
        return false;
    region.FileLength = status.st_size;
    if (region.FileLength < static_cast<std::int64_t>(kHeaderSize))
        return false;

    region.Bytes.resize(static_cast<std::size_t>(std::min(kFirstRead, region.FileLength)));
    std::int64_t got = file.ReadAt(0, region.Bytes);
    if (got < static_cast<std::int64_t>(kHeaderSize))
        return false;
    const std::int64_t needed = BytesNeeded(std::span(region.Bytes).first(kHeaderSize), region.FileLength);
    if (needed > got) {
        region.Bytes.resize(static_cast<std::size_t>(needed));
        const std::int64_t more = file.ReadAt(got, std::span(region.Bytes).subspan(static_cast<std::size_t>(got)));
        if (more > 0)
            got += more; // after a read error the scan sees the bytes read so far
    }
    // A file that shrank meanwhile ends the view where its bytes end.
    region.Bytes.resize(static_cast<std::size_t>(got));
    return true;
}

} // namespace id3v2
