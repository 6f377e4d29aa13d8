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
    std::string before;   // shown values (UTF-8); empty for Added
    std::string after;    // empty for Removed
    std::string identity; // what tells the frame apart from others of its ID; may be empty
};

// Every frame whose value differs, one change each. Frames are matched by ID and identity, in
// order where these repeat; a frame left without a match is added or removed, or, where the other
// tag has frames of that ID and identity, changed from or to nothing. The changes come by ID, the
// new tag's IDs in its order, then the IDs only the old tag has; within an ID, by identity in the
// same order.
std::vector<FrameChange> CompareFrames(const std::vector<id3v2::ListedFrame>& before,
                                       const std::vector<id3v2::ListedFrame>& after);

// One change as a dry run lists it: "TIT2: \"a\" -> \"b\"", "TPE1: added ...", "TDRC: removed (was ...)",
// the identity after the ID: "TXXX \"replaygain_track_gain\": removed (was ...)".
std::string ChangeLine(const FrameChange& change);

} // namespace batch
