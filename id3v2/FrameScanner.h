#pragma once
// The frame scan: walks the frame headers of a tag and keeps, for every row of the frame table,
// the first 500 data bytes of the last frame with the row's ID (followed by a few zero bytes,
// which readers of the data see as the end of the text).
//
// The scan works on a view of the file's first bytes, from offset 0 up to ScanReach bytes (or
// the whole file, when that is shorter): in memory, or a song read frame by frame. It never
// looks outside the view, whatever a size field says; a header or frame data that would run
// past the view's end ends the scan as the end of the file does.
#include "id3v2/FrameTable.h"
#include "id3v2/TagHeader.h"
#include "id3v2/TagView.h"

#include <array>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace id3v2 {

// Bytes kept of each frame's data: the rest of a frame is passed over.
inline constexpr std::size_t kFrameDataSize = 500;

// What a read of a tag found: the tag's header, the file's length, and the raw data of the frame
// of each row (empty when the tag has none).
struct FrameScan {
    TagHeader Header;
    std::int64_t FileLength = 0;
    std::array<std::string, kFrameRows> FrameData;
};

// How many leading file bytes the scan of this tag can look at: the tag, plus the last frame
// header that starts inside it and that frame's first 500 data bytes.
std::int64_t ScanReach(const TagHeader& header, std::int64_t fileLength);

// Where the first frame starts: just after the 10-byte header, or after an extended header
// (tags of version 3 and 4 with header flag 0x40) when the bytes there are one.
std::int64_t FirstFrameOffset(TagView& view, const TagHeader& header, std::int64_t viewEnd);

// Keeps a frame's data (its first 500 bytes, zero bytes after them) in every row whose ID
// (three characters for tags of version 2, four otherwise) is `id`, provided that its first
// byte is a text encoding the row takes: 0x00 to 0x03 for text rows, 0x00 or 0x01 for the
// popularimeter (an e-mail address makes that byte a letter). A later frame replaces an
// earlier one.
void StoreFrame(std::string_view id, std::string data, FrameScan& scan);

// The scans for tags of major version 3 and 4 (10-byte frame headers) and of version 2 (6-byte
// frame headers), over a view of the file's first viewEnd bytes. They fill scan.FrameData.
void ScanFramesV23(TagView& view, std::int64_t viewEnd, FrameScan& scan);
void ScanFramesV22(TagView& view, std::int64_t viewEnd, FrameScan& scan);

} // namespace id3v2
