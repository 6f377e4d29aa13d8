#pragma once
// The 4-byte header of an MPEG audio frame: recognising one, splitting it into its fields, and
// the numbers it stands for (bit rate, sample rate, frame length).
#include <array>
#include <cstdint>
#include <span>

namespace audio {

// Version codes.
inline constexpr std::uint8_t VersionMpeg25 = 0;
inline constexpr std::uint8_t VersionReserved = 1;
inline constexpr std::uint8_t VersionMpeg2 = 2;
inline constexpr std::uint8_t VersionMpeg1 = 3;
// Layer codes.
inline constexpr std::uint8_t LayerReserved = 0;
inline constexpr std::uint8_t LayerIII = 1;
inline constexpr std::uint8_t LayerII = 2;
inline constexpr std::uint8_t LayerI = 3;
// Channel mode codes.
inline constexpr std::uint8_t ModeStereo = 0;
inline constexpr std::uint8_t ModeJointStereo = 1;
inline constexpr std::uint8_t ModeDualChannel = 2;
inline constexpr std::uint8_t ModeMono = 3;

inline constexpr std::size_t FrameHeaderSize = 4;

// The first accepted frame of a stream: where it was found and what its header says.
struct FrameInfo {
    bool Found = false;
    std::int32_t Position = 0;  // offset of the header within the buffer it was found in
    std::uint16_t Size = 0;     // frame length in bytes
    bool EmptyStart = false;    // the 6 bytes after the header are all zero
    std::array<std::uint8_t, FrameHeaderSize> HeaderBytes{};
    std::uint8_t VersionID = 0;
    std::uint8_t LayerID = 0;
    bool CRCProtected = false;
    std::uint16_t BitRateID = 0;
    std::uint16_t SampleRateID = 0;
    bool PaddingBit = false;
    bool PrivateBit = false;
    std::uint8_t ModeID = 0;
    std::uint8_t ModeExtensionID = 0;
    bool CopyrightBit = false;
    bool OriginalBit = false;
    std::uint8_t EmphasisID = 0;
};

// The frame of an analyser that found nothing: codes that name no version, layer, mode or emphasis.
FrameInfo UnknownFrame();

// Frame sync, a real version and layer, a bit rate that is neither free format nor invalid, a
// real sample rate and a defined emphasis. Nothing else is checked.
bool IsFrameHeader(std::span<const std::uint8_t, FrameHeaderSize> bytes);

// Splits a header into its fields (HeaderBytes included); Found, Position, Size and EmptyStart
// are left for the frame search.
FrameInfo DecodeFrameHeader(std::span<const std::uint8_t, FrameHeaderSize> bytes);

// Bit rate in kbit/s from the standard tables; 0 for free format and every invalid code.
std::uint16_t TableBitRate(const FrameInfo& frame);
// Sample rate in Hz; 0 for the reserved codes.
std::uint16_t TableSampleRate(const FrameInfo& frame);
// Bytes a frame carries per (bit/s / sample rate): samples a frame / 8.
std::uint16_t FrameCoefficient(const FrameInfo& frame);
// Bytes that the padding bit adds: a 4-byte slot in Layer I, one byte otherwise.
std::uint16_t FramePadding(const FrameInfo& frame);
// Frame length in bytes, padding included; 0 when the header has no sample rate or bit rate.
std::uint16_t FrameLength(const FrameInfo& frame);

} // namespace audio
