#include "audio/FrameSearch.h"

#include <algorithm>

namespace audio {
namespace {

std::span<const std::uint8_t, FrameHeaderSize> HeaderAt(std::span<const std::uint8_t> buffer, std::size_t p)
{
    return buffer.subspan(p).first<FrameHeaderSize>();
}

bool FrameHeaderAt(std::span<const std::uint8_t> buffer, std::size_t p)
{
    return p + FrameHeaderSize <= buffer.size() && IsFrameHeader(HeaderAt(buffer, p));
}

bool IsEmptyStart(std::span<const std::uint8_t> buffer, std::size_t p)
{
    const auto start = buffer.subspan(p + FrameHeaderSize, 6);
    return std::all_of(start.begin(), start.end(), [](std::uint8_t b) { return b == 0; });
}

bool SignatureAt(std::span<const std::uint8_t> buffer, std::size_t at, const char (&signature)[5])
{
    return std::equal(signature, signature + 4, buffer.begin() + static_cast<std::ptrdiff_t>(at),
                      [](char s, std::uint8_t b) { return static_cast<std::uint8_t>(s) == b; });
}

constexpr std::size_t VendorLength = 8;
constexpr std::size_t LastWindow = ScanBufferSize - VendorLength;

} // namespace

FrameInfo FindFrame(std::span<const std::uint8_t, ScanBufferSize> buffer, VBRData& vbr)
{
    for (std::size_t p = 0; p <= LastSearchPosition; ++p) {
        if (!IsFrameHeader(HeaderAt(buffer, p)))
            continue;
        FrameInfo frame = DecodeFrameHeader(HeaderAt(buffer, p));
        const std::uint16_t length = FrameLength(frame);
        if (!FrameHeaderAt(buffer, p + length))
            continue;
        frame.Found = true;
        frame.Position = static_cast<std::int32_t>(p);
        frame.Size = length;
        frame.EmptyStart = IsEmptyStart(buffer, p);
        vbr = FindVBRHeader(buffer, p + VBRHeaderOffset(frame));
        return frame;
    }
    return {};
}

std::string FindTailVendor(std::span<const std::uint8_t, ScanBufferSize> buffer, std::size_t limit)
{
    limit = std::min(limit, LastWindow);
    for (std::size_t k = 0; k <= limit; ++k) {
        const std::size_t at = LastWindow - k;
        if (SignatureAt(buffer, at, "LAME"))
            return std::string(reinterpret_cast<const char*>(buffer.data() + at), VendorLength);
        if (SignatureAt(buffer, at, "GOGO"))
            return "GOGO";
    }
    return {};
}

} // namespace audio
