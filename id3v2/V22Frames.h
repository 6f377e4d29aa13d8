#pragma once
// The data of a version 2.2 frame in the layout of its version 2.3 form, where the two differ.
#include "id3v2/V23Forms.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace id3v2 {

// The data after the change: a picture's three-letter image format becomes a MIME type (JPG and
// PNG as image/jpeg and image/png, any other as it is); a link's three-letter frame ID becomes
// its four-letter one (an ID without one padded with a blank). None when the data is too short
// to hold those fields.
std::optional<std::vector<std::uint8_t>> V22DataAsV23(V22Change change, std::span<const std::uint8_t> data);

} // namespace id3v2
