#include "audio/VBRHeader.h"

#include <string_view>

namespace audio {
namespace {

// Field offsets from the signature.
constexpr std::size_t XingFramesAt = 8, XingBytesAt = 12, XingQualityAt = 119, XingVendorAt = 120;
constexpr std::size_t XingVendorLength = 8;
constexpr std::size_t VbriQualityAt = 9, VbriBytesAt = 10, VbriFramesAt = 14;

// A view of buffer from offset i, padded with zero bytes up to length when the buffer ends first.
class Window {
public:
    Window(std::span<const std::uint8_t> buffer, std::size_t i) : buffer_(buffer), i_(i) {}

    std::uint8_t At(std::size_t offset) const
    {
        const std::size_t at = i_ + offset;
        return at < buffer_.size() ? buffer_[at] : 0;
    }
    bool Holds(std::string_view signature) const
    {
        for (std::size_t k = 0; k < signature.size(); ++k)
            if (At(k) != static_cast<std::uint8_t>(signature[k]))
                return false;
        return true;
    }
    // Big-endian, stored into a signed field bit for bit.
    std::int32_t BigEndian32(std::size_t offset) const
    {
        const std::uint32_t value = (std::uint32_t{At(offset)} << 24) | (std::uint32_t{At(offset + 1)} << 16) |
                                    (std::uint32_t{At(offset + 2)} << 8) | std::uint32_t{At(offset + 3)};
        return static_cast<std::int32_t>(value);
    }
    std::string Bytes(std::size_t offset, std::size_t length) const
    {
        std::string bytes(length, '\0');
        for (std::size_t k = 0; k < length; ++k)
            bytes[k] = static_cast<char>(At(offset + k));
        return bytes;
    }

private:
    std::span<const std::uint8_t> buffer_;
    std::size_t i_;
};

VBRData XingHeader(const Window& w)
{
    VBRData vbr;
    vbr.Found = true;
    vbr.TagID = {'X', 'i', 'n', 'g'};
    // The flags field is not consulted: every field is read as if it were announced.
    vbr.Frames = w.BigEndian32(XingFramesAt);
    vbr.Bytes = w.BigEndian32(XingBytesAt);
    vbr.Quality = w.At(XingQualityAt);
    vbr.Vendor = w.Bytes(XingVendorAt, XingVendorLength);
    return vbr;
}

VBRData VbriHeader(const Window& w)
{
    VBRData vbr;
    vbr.Found = true;
    vbr.TagID = {'V', 'B', 'R', 'I'};
    vbr.Quality = w.At(VbriQualityAt);
    vbr.Bytes = w.BigEndian32(VbriBytesAt);
    vbr.Frames = w.BigEndian32(VbriFramesAt);
    return vbr;
}

} // namespace

std::size_t VBRHeaderOffset(const FrameInfo& frame)
{
    const bool mono = frame.ModeID == ModeMono;
    if (frame.VersionID == VersionMpeg1)
        return mono ? 21 : 36;
    return mono ? 13 : 21;
}

VBRData FindVBRHeader(std::span<const std::uint8_t> buffer, std::size_t i)
{
    const Window w(buffer, i);
    if (w.Holds("Xing"))
        return XingHeader(w);
    if (w.Holds("VBRI"))
        return VbriHeader(w);
    return {};
}

} // namespace audio
