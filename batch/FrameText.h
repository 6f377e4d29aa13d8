#pragma once
// Text of stored frames in UTF-8, as a player that follows the ID3v2 standard reads it: what a
// dry run shows and compares. (The tag record reads the same frames into Windows-1252 bytes
// instead, with id3v2's DecodeText.)
#include <cstdint>
#include <string>
#include <string_view>

namespace batch {

// ISO-8859-1 as UTF-8: each byte is its code point.
std::string Utf8FromLatin1(std::string_view bytes);

// Text in the frame's encoding as UTF-8: single-byte text as ISO-8859-1 (so Windows-1252
// punctuation stored there, 0x80 to 0x9F, reads as control characters), UTF-16 by its byte order
// mark (by the encoding without one), UTF-8 as it is. Terminating zeros are dropped; zeros inside
// stay (they separate a list of texts).
std::string Utf8FromFrameText(std::uint8_t encoding, std::string_view stored);

} // namespace batch
