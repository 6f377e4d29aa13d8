#pragma once
// Naming the encoder of a stream from its VBR header, an end-of-file signature, or failing
// those, from habits that encoders show in their first frame header.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "audio/FrameHeader.h"
#include "audio/VBRHeader.h"

namespace audio {

inline constexpr std::uint8_t EncoderUnknown = 0, EncoderXing = 1, EncoderFhG = 2, EncoderLame = 3,
                              EncoderBlade = 4, EncoderGoGo = 5, EncoderShine = 6, EncoderQDesign = 7;

inline constexpr std::array<std::string_view, 8> EncoderNames = {
    "Unknown", "Xing", "FhG", "LAME", "Blade", "GoGo", "Shine", "QDesign"};

// The encoder of a stream with a VBR header, from the header's vendor text and kind.
std::uint8_t VBREncoderID(const VBRData& vbr);

// The encoder of a stream without a VBR header, from its first frame and the signature found at
// the end of the file (empty when none).
std::uint8_t CBREncoderID(const FrameInfo& frame, std::string_view tailVendor);

// The encoder's name, with the LAME version appended ("LAME 3.98") when the vendor text carries
// one in the form LAMEd.dd.
std::string EncoderText(std::uint8_t encoderId, std::string_view vendor);

} // namespace audio
