#pragma once
// Tag values for round trips through independent readers: every settable value, with text in
// the upper half of the single-byte code page, and the frames a save should put into a file.
#include "id3v2/ID3v2.h"

#include <string>
#include <utility>
#include <vector>

namespace exampletags {

// Sets all 29 string values, the track number and the rating; `variant` changes every value.
void SetEveryValue(id3v2::TID3v2& tag, int variant);

// Sets every text value to every byte from 0x20 to 0xFF (between brackets, which trimming keeps).
void SetEveryByte(id3v2::TID3v2& tag);

// The plain text frames that saving `tag` writes, as (ID, text) in the order of the frame
// table: rows with text, the track number included; not the comment, the link or the rating.
std::vector<std::pair<std::string, std::string>> ExpectedTextFrames(const id3v2::TID3v2& tag);

} // namespace exampletags
