#pragma once
// A tag's values from the file's first bytes: the header, the frame scan, the values that the
// stored frames give and the rating. No file access; the view may come from anywhere.
#include "id3v2/FrameScanner.h"
#include "id3v2/TagValues.h"

#include <cstdint>
#include <span>

namespace io {
class ByteSource;
}

namespace id3v2 {

struct ParsedTag {
    bool TagFound = false;         // the file starts with "ID3"
    std::uint8_t MajorVersion = 0; // the header's version byte, whatever it is
    std::int32_t TagSize = 0;      // TotalTagSize of the header; 0 when it points past the file's end
    TagValues Values;
};

// The values the scanned frames give (without the rating's fallback to a complete parse).
TagValues ValuesFromFrames(const FrameScan& scan);

// fileStart: the file from offset 0, at least ScanReach bytes of it (see FrameScanner.h) or the
// whole file; fileLength: the file's length. Frames are read from tags of version 2, 3 and 4
// whose size fits the file.
ParsedTag ParseTag(std::span<const std::uint8_t> fileStart, std::int64_t fileLength);

// The same from the song's bytes, read a frame at a time: what the scan and the rating's parse
// look at, and nothing else, so that a tag of any size costs a few KiB to read.
ParsedTag ParseTagFrameByFrame(io::ByteSource& song);

} // namespace id3v2
