#include "audio/FrameHeader.h"

namespace audio {
namespace {

// kbit/s by layer code (reserved, III, II, I) and bit-rate index.
constexpr std::uint16_t Mpeg1BitRates[4][16] = {
    {},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
};
// MPEG 2 and MPEG 2.5 share one table.
constexpr std::uint16_t Mpeg2BitRates[4][16] = {
    {},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
};
// Hz by version code (2.5, reserved, 2, 1) and sample-rate index.
constexpr std::uint16_t SampleRates[4][4] = {
    {11025, 12000, 8000, 0},
    {0, 0, 0, 0},
    {22050, 24000, 16000, 0},
    {44100, 48000, 32000, 0},
};

// A Layer I frame is counted in 4-byte slots: 12 slots per (bit/s / sample rate).
constexpr std::uint32_t LayerISlotsPerRate = 12;
constexpr std::uint32_t LayerISlotSize = 4;

} // namespace

FrameInfo UnknownFrame()
{
    FrameInfo frame;
    frame.VersionID = VersionReserved;
    frame.SampleRateID = 3;
    frame.ModeID = 4;
    frame.ModeExtensionID = 4;
    frame.EmphasisID = 2;
    return frame;
}

bool IsFrameHeader(std::span<const std::uint8_t, FrameHeaderSize> b)
{
    if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0)
        return false;
    const unsigned version = (b[1] >> 3) & 0x03;
    const unsigned layer = (b[1] >> 1) & 0x03;
    const unsigned bitRateIndex = b[2] >> 4;
    const unsigned sampleRateIndex = (b[2] >> 2) & 0x03;
    const unsigned emphasis = b[3] & 0x03;
    return version != VersionReserved && layer != LayerReserved && bitRateIndex != 0 && bitRateIndex != 15 &&
           sampleRateIndex != 3 && emphasis != 2;
}

FrameInfo DecodeFrameHeader(std::span<const std::uint8_t, FrameHeaderSize> b)
{
    FrameInfo frame;
    frame.HeaderBytes = {b[0], b[1], b[2], b[3]};
    frame.VersionID = static_cast<std::uint8_t>((b[1] >> 3) & 0x03);
    frame.LayerID = static_cast<std::uint8_t>((b[1] >> 1) & 0x03);
    frame.CRCProtected = (b[1] & 0x01) == 0;
    frame.BitRateID = static_cast<std::uint16_t>(b[2] >> 4);
    frame.SampleRateID = static_cast<std::uint16_t>((b[2] >> 2) & 0x03);
    frame.PaddingBit = (b[2] & 0x02) != 0;
    frame.PrivateBit = (b[2] & 0x01) != 0;
    frame.ModeID = static_cast<std::uint8_t>(b[3] >> 6);
    frame.ModeExtensionID = static_cast<std::uint8_t>((b[3] >> 4) & 0x03);
    frame.CopyrightBit = (b[3] & 0x08) != 0;
    frame.OriginalBit = (b[3] & 0x04) != 0;
    frame.EmphasisID = static_cast<std::uint8_t>(b[3] & 0x03);
    return frame;
}

std::uint16_t TableBitRate(const FrameInfo& frame)
{
    if (frame.VersionID > 3 || frame.LayerID > 3 || frame.BitRateID > 15 || frame.VersionID == VersionReserved)
        return 0;
    const auto& table = frame.VersionID == VersionMpeg1 ? Mpeg1BitRates : Mpeg2BitRates;
    return table[frame.LayerID][frame.BitRateID];
}

std::uint16_t TableSampleRate(const FrameInfo& frame)
{
    if (frame.VersionID > 3 || frame.SampleRateID > 3)
        return 0;
    return SampleRates[frame.VersionID][frame.SampleRateID];
}

std::uint16_t FrameCoefficient(const FrameInfo& frame)
{
    // Layer I frames hold 384 samples in every version; Layer II 1152; Layer III 1152 in
    // MPEG 1 and 576 in MPEG 2 and 2.5.
    if (frame.LayerID == LayerI)
        return 48;
    if (frame.VersionID == VersionMpeg1 || frame.LayerID == LayerII)
        return 144;
    return 72;
}

std::uint16_t FramePadding(const FrameInfo& frame)
{
    if (!frame.PaddingBit)
        return 0;
    return frame.LayerID == LayerI ? LayerISlotSize : 1;
}

std::uint16_t FrameLength(const FrameInfo& frame)
{
    const std::uint32_t sampleRate = TableSampleRate(frame);
    const std::uint32_t bitsPerSecond = TableBitRate(frame) * 1000u;
    if (sampleRate == 0 || bitsPerSecond == 0)
        return 0;
    if (frame.LayerID == LayerI)
        return static_cast<std::uint16_t>((LayerISlotsPerRate * bitsPerSecond / sampleRate) * LayerISlotSize +
                                          FramePadding(frame));
    return static_cast<std::uint16_t>(FrameCoefficient(frame) * bitsPerSecond / sampleRate + FramePadding(frame));
}

} // namespace audio
