#pragma once
// The VBR header that encoders put inside a stream's first frame: "Xing" (also written by LAME)
// or "VBRI" (written by Fraunhofer encoders). It gives the stream's frame and byte counts.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "audio/FrameHeader.h"

namespace audio {

struct VBRData {
    bool Found = false;
    std::array<char, 4> TagID{};  // "Xing" or "VBRI"; zero bytes when none was found
    std::int32_t Frames = 0;
    std::int32_t Bytes = 0;
    std::uint8_t Quality = 0;
    std::string Vendor;           // Xing: the 8 bytes after the quality field, as they are
};

// Offset of the VBR header from the first byte of the frame: it follows the side information,
// whose size depends on the version and on mono or not.
std::size_t VBRHeaderOffset(const FrameInfo& frame);

// The VBR header at offset i of buffer, or a record with Found false. Both signatures are looked
// for at the same offset. Bytes that would lie beyond the buffer count as zero.
VBRData FindVBRHeader(std::span<const std::uint8_t> buffer, std::size_t i);

} // namespace audio
