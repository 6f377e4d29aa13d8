#pragma once
// Hand-made MPEG audio streams for the analyser's tests: frame headers from their fields, frames
// of a stated length, Xing/VBRI headers, and ID3 tags around them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace audiotest {

using Bytes = std::vector<std::uint8_t>;

struct Header {
    unsigned version = 3;      // 0 MPEG 2.5, 2 MPEG 2, 3 MPEG 1
    unsigned layer = 1;        // 1 Layer III, 2 Layer II, 3 Layer I
    bool crc = false;          // protection bit 0
    unsigned bitRateIndex = 9; // 128 kbit/s in MPEG 1 Layer III
    unsigned sampleRateIndex = 0;
    bool padding = false;
    bool privateBit = false;
    unsigned mode = 1;         // joint stereo
    unsigned modeExtension = 0;
    bool copyright = false;
    bool original = false;
    unsigned emphasis = 0;

    std::array<std::uint8_t, 4> Bytes() const;
};

// One frame of `length` bytes: the header, then filler bytes (not zero, so that the frame does
// not look like an empty first frame).
Bytes Frame(const Header& header, std::size_t length, std::uint8_t filler = 0x55);
// `count` frames in a row.
Bytes Frames(const Header& header, std::size_t length, std::size_t count);

// Writes a Xing header (all fields, flags 0x0F) or a VBRI header into frame at offset.
void PutXing(Bytes& frame, std::size_t offset, std::uint32_t frames, std::uint32_t bytes, std::uint8_t quality,
             const std::string& vendor);
void PutVbri(Bytes& frame, std::size_t offset, std::uint32_t frames, std::uint32_t bytes, std::uint8_t quality);

// An ID3v2.3 tag of `totalSize` bytes (header included), with zero padding.
Bytes Id3v2Tag(std::size_t totalSize);
// A 128-byte ID3v1 tag.
Bytes Id3v1Tag();
// Bytes that hold no frame sync.
Bytes Junk(std::size_t size, std::uint8_t value = 0x11);

Bytes Concat(std::initializer_list<Bytes> parts);
void Put(Bytes& into, std::size_t offset, const std::string& text);

} // namespace audiotest
