#pragma once
// The merge-writer's rule: every given value wins, the value inspection found fills in for the
// others; a few rows always take the file's value, one takes the catalogue's mark.
#include "id3v2/TagValues.h"
#include "tagkit/TagRecord.h"
#include "tagkit/TagValues.h"

#include <cstdint>
#include <optional>
#include <stdexcept>

namespace tagkit {

// Raised when a given track number is no integer; nothing is written then.
class ConversionError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// The numbers inspection found, as values: the record shows them as texts.
struct InspectedNumbers {
    std::optional<std::uint16_t> track; // of the tag that supplied the values, when it has one
    std::uint8_t rating = 0;            // the ID3v2 tag's rating (0 without one)
};

// Sets the given values, or else the inspected ones, into `tag` (which holds the values the
// file's tag was read with, so that the rows the merge does not set keep them). Texts are trimmed
// of bytes 0x00-0x20 at both ends, as the tag's setters trim them. Throws ConversionError.
void MergeValues(id3v2::TagValues& tag, const TagValues& given, const Tag& inspected, const InspectedNumbers& numbers);

} // namespace tagkit
