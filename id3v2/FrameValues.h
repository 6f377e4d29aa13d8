#pragma once
// The tag values that stored frames give: each function takes the data of one or two stored
// frames (encoding byte first; an empty string for a frame that is absent).
#include <cstdint>
#include <string>
#include <string_view>

namespace id3v2 {

// The first frame's text; when that is empty, the second's.
std::string TextOrFallback(std::string_view data, std::string_view fallback);

// The number before the first "/" of the text, in the system's integer notation; 0 when it is
// no number or lies outside 0..65535.
std::uint16_t TrackNumber(std::string_view data);

// The first frame's text; when that is empty, the first 4 bytes of the second's (the year of a
// recording date).
std::string YearOrDate(std::string_view data, std::string_view dateData);

// The genre: leading references "(n)", "(RX)", "(CR)" are removed ("((" stands for a literal
// "("). What remains is the genre; when nothing remains, the last reference names it: a number
// below 148 through the genre table, RX as "Remix", CR as "Cover".
std::string GenreName(std::string_view data);

// The text after a description that ends with a zero byte (two zero bytes at an even offset
// in UTF-16), as in comments and user links. withLanguage: a 3-byte language comes first
// (comments). Comment text is decoded with the frame's encoding; a link's address is
// single-byte text whatever the encoding.
std::string TextAfterDescription(std::string_view data, bool withLanguage);

} // namespace id3v2
