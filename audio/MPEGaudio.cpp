// The analyser's derived values, computed on demand from what the last read found.
#include "audio/MPEGaudio.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string_view>

#include "audio/EncoderGuess.h"
#include "audio/ID3v1.h"

namespace audio {
namespace {

constexpr std::array<std::string_view, 4> VersionNames = {"MPEG 2.5", "MPEG ?", "MPEG 2", "MPEG 1"};
constexpr std::array<std::string_view, 4> LayerNames = {"Layer ?", "Layer III", "Layer II", "Layer I"};
constexpr std::array<std::string_view, 5> ChannelModeNames = {"Stereo", "Joint Stereo", "Dual Channel", "Mono",
                                                              "Unknown"};
constexpr std::array<std::string_view, 4> EmphasisNames = {"None", "50/15 ms", "Unknown", "CCIT J.17"};

template <std::size_t N>
std::string NameOf(const std::array<std::string_view, N>& names, std::size_t code, std::string_view fallback)
{
    return std::string(code < N ? names[code] : fallback);
}

// Rounds to the nearest integer, a tie to the even neighbour.
double RoundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return floor + 1;
    if (fraction < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

constexpr std::int64_t MinValidBitRate = 8;
constexpr std::int64_t MaxValidBitRate = 448;
constexpr double MinValidDuration = 0.1;

} // namespace

void TMPEGaudio::ResetData()
{
    fileLength_ = 0;
    tailVendor_.clear();
    vbr_ = VBRData{};
    frame_ = UnknownFrame();
    tagV2Size_ = 0;
    tagV1Exists_ = false;
    bytesRead_ = 0;
}

std::string TMPEGaudio::Version() const
{
    return NameOf(VersionNames, frame_.VersionID, "MPEG ?");
}

std::string TMPEGaudio::Layer() const
{
    return NameOf(LayerNames, frame_.LayerID, "Layer ?");
}

std::string TMPEGaudio::ChannelMode() const
{
    return NameOf(ChannelModeNames, frame_.ModeID, "Unknown");
}

std::string TMPEGaudio::Emphasis() const
{
    return NameOf(EmphasisNames, frame_.EmphasisID, "Unknown");
}

std::optional<std::int64_t> TMPEGaudio::AverageBitRate() const
{
    if (!vbr_.Found || vbr_.Frames <= 0)
        return std::nullopt;
    const double bytesPerFrame = static_cast<double>(vbr_.Bytes) / vbr_.Frames;
    const double kbps =
        (bytesPerFrame - FramePadding(frame_)) * TableSampleRate(frame_) / FrameCoefficient(frame_) / 1000;
    // |Bytes| < 2^31 bytes a frame at most 48000 Hz: the result fits 64 bits with room to spare.
    return static_cast<std::int64_t>(RoundHalfEven(kbps));
}

std::uint16_t TMPEGaudio::BitRate() const
{
    if (const auto average = AverageBitRate())
        return static_cast<std::uint16_t>(std::clamp<std::int64_t>(*average, 0, std::numeric_limits<std::uint16_t>::max()));
    return TableBitRate(frame_);
}

std::uint16_t TMPEGaudio::SampleRate() const
{
    return TableSampleRate(frame_);
}

std::int64_t TMPEGaudio::AudioSize() const
{
    return fileLength_ - tagV2Size_ - (tagV1Exists_ ? static_cast<std::int64_t>(TagV1Size) : 0);
}

std::int32_t TMPEGaudio::Frames() const
{
    if (vbr_.Found)
        return vbr_.Frames;
    const std::uint16_t length = FrameLength(frame_);
    if (length == 0)
        return 0;
    const std::int64_t frames = (AudioSize() - frame_.Position) / length;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(frames, std::numeric_limits<std::int32_t>::min(),
                                                               std::numeric_limits<std::int32_t>::max()));
}

double TMPEGaudio::Duration() const
{
    if (!frame_.Found)
        return 0;
    if (vbr_.Found && vbr_.Frames > 0) {
        const std::int64_t bits = std::int64_t{FrameCoefficient(frame_)} * vbr_.Frames * 8;
        return static_cast<double>(bits) / TableSampleRate(frame_);
    }
    return static_cast<double>(AudioSize() - frame_.Position) / TableBitRate(frame_) / 1000 * 8;
}

std::uint8_t TMPEGaudio::EncoderID() const
{
    if (!frame_.Found)
        return EncoderUnknown;
    if (vbr_.Found)
        return VBREncoderID(vbr_);
    return CBREncoderID(frame_, tailVendor_);
}

std::string TMPEGaudio::Encoder() const
{
    const std::string& vendor = tailVendor_.empty() ? vbr_.Vendor : tailVendor_;
    return EncoderText(EncoderID(), vendor);
}

bool TMPEGaudio::Valid() const
{
    if (!frame_.Found)
        return false;
    const std::int64_t bitRate = AverageBitRate().value_or(TableBitRate(frame_));
    return bitRate >= MinValidBitRate && bitRate <= MaxValidBitRate && Duration() >= MinValidDuration;
}

} // namespace audio
