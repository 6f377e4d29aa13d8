#pragma once
// What a write changes in a song's tag, frame by frame: the frames of the old tag against the
// frames of the new one, by their values (see FrameValue.h).
#include "batch/FrameValue.h"
#include "id3v2/FrameList.h"

#include <string>
#include <vector>

namespace batch {

struct FrameChange {
    enum class Kind { Added, Removed, Changed };
    std::string id;
    Kind kind = Kind::Changed;
    std::string before; // shown values (UTF-8); empty for Added
    std::string after;  // empty for Removed
};

// The frames whose value differs, by ID: the new tag's IDs in its order, then the IDs only the
// old tag has. Where an ID stands more than once, its values are compared in order.
std::vector<FrameChange> CompareFrames(const std::vector<id3v2::ListedFrame>& before,
                                       const std::vector<id3v2::ListedFrame>& after);

// One change as a dry run lists it: "TIT2: \"a\" -> \"b\"", "TPE1: added ...", "TDRC: removed (was ...)".
std::string ChangeLine(const FrameChange& change);

} // namespace batch
