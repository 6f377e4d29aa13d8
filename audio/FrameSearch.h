#pragma once
// Searches a scan buffer for the first MPEG audio frame and a file's last bytes for an encoder
// signature.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "audio/FrameHeader.h"
#include "audio/VBRHeader.h"

namespace audio {

// One scan buffer: twice the longest MPEG 1 frame, so that a frame starting anywhere in the
// first half is followed by the next header within the buffer.
inline constexpr std::size_t ScanBufferSize = 3458;
inline constexpr std::size_t LastSearchPosition = 1729;

// The first position p (0..1729) holding a frame header that is followed, one frame length
// further on, by another frame header; a next header that would not lie wholly inside the
// buffer counts as missing. On success vbr receives the VBR header of that frame (or a record
// with Found false); otherwise vbr is left alone and the result has Found false. The buffer
// must hold ScanBufferSize bytes.
FrameInfo FindFrame(std::span<const std::uint8_t, ScanBufferSize> buffer, VBRData& vbr);

// The encoder signature nearest the end of a file's last 3458 bytes (before an ID3v1 tag):
// "LAME" with the 4 bytes after it (e.g. LAME3.98) or "GOGO", looked for in the last
// limit + 8 bytes (limit at most 3450); empty when there is none.
std::string FindTailVendor(std::span<const std::uint8_t, ScanBufferSize> buffer, std::size_t limit);

} // namespace audio
