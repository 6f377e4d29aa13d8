#include "CraftedStream.h"

#include <algorithm>

namespace audiotest {

std::array<std::uint8_t, 4> Header::Bytes() const
{
    return {0xFF,
            static_cast<std::uint8_t>(0xE0 | (version << 3) | (layer << 1) | (crc ? 0 : 1)),
            static_cast<std::uint8_t>((bitRateIndex << 4) | (sampleRateIndex << 2) | (padding ? 2 : 0) | (privateBit ? 1 : 0)),
            static_cast<std::uint8_t>((mode << 6) | (modeExtension << 4) | (copyright ? 8 : 0) | (original ? 4 : 0) | emphasis)};
}

Bytes Frame(const Header& header, std::size_t length, std::uint8_t filler)
{
    Bytes frame(length, filler);
    const auto bytes = header.Bytes();
    std::copy(bytes.begin(), bytes.end(), frame.begin());
    return frame;
}

Bytes Frames(const Header& header, std::size_t length, std::size_t count)
{
    Bytes all;
    for (std::size_t i = 0; i < count; ++i) {
        const Bytes frame = Frame(header, length);
        all.insert(all.end(), frame.begin(), frame.end());
    }
    return all;
}

namespace {
void PutBigEndian(Bytes& into, std::size_t offset, std::uint32_t value)
{
    for (int k = 0; k < 4; ++k)
        into[offset + k] = static_cast<std::uint8_t>(value >> (24 - 8 * k));
}
} // namespace

void PutXing(Bytes& frame, std::size_t offset, std::uint32_t frames, std::uint32_t bytes, std::uint8_t quality,
             const std::string& vendor)
{
    std::fill(frame.begin() + static_cast<std::ptrdiff_t>(offset), frame.begin() + static_cast<std::ptrdiff_t>(offset + 128), 0);
    Put(frame, offset, "Xing");
    PutBigEndian(frame, offset + 4, 0x0F);
    PutBigEndian(frame, offset + 8, frames);
    PutBigEndian(frame, offset + 12, bytes);
    frame[offset + 119] = quality;
    Put(frame, offset + 120, vendor.substr(0, 8));
}

void PutVbri(Bytes& frame, std::size_t offset, std::uint32_t frames, std::uint32_t bytes, std::uint8_t quality)
{
    std::fill(frame.begin() + static_cast<std::ptrdiff_t>(offset), frame.begin() + static_cast<std::ptrdiff_t>(offset + 26), 0);
    Put(frame, offset, "VBRI");
    frame[offset + 5] = 1; // version
    frame[offset + 9] = quality;
    PutBigEndian(frame, offset + 10, bytes);
    PutBigEndian(frame, offset + 14, frames);
}

Bytes Id3v2Tag(std::size_t totalSize)
{
    Bytes tag(totalSize, 0);
    const std::size_t size = totalSize - 10;
    Put(tag, 0, "ID3");
    tag[3] = 3;
    tag[6] = static_cast<std::uint8_t>((size >> 21) & 0x7F);
    tag[7] = static_cast<std::uint8_t>((size >> 14) & 0x7F);
    tag[8] = static_cast<std::uint8_t>((size >> 7) & 0x7F);
    tag[9] = static_cast<std::uint8_t>(size & 0x7F);
    return tag;
}

Bytes Id3v1Tag()
{
    Bytes tag(128, 0);
    Put(tag, 0, "TAGSome title");
    tag[127] = 17;
    return tag;
}

Bytes Junk(std::size_t size, std::uint8_t value)
{
    return Bytes(size, value);
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

void Put(Bytes& into, std::size_t offset, const std::string& text)
{
    std::copy(text.begin(), text.end(), into.begin() + static_cast<std::ptrdiff_t>(offset));
}

} // namespace audiotest
