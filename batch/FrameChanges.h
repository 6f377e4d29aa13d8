#pragma once
// What a write changes in a song's tag, frame by frame: the frames of the old tag against the
// frames of the new one, by their values rather than their bytes (a text that is only stored in
// another encoding has not changed).
#include "id3v2/FrameList.h"

#include <string>
#include <vector>

namespace batch {

// A frame's value: what is compared, and what is shown (UTF-8).
struct FrameValue {
    std::string key;
    std::string shown;
};

// Text frames by their text; comments, lyrics and user texts by their language, description and
// text; links by their address; the popularimeter by its address, rating and counter; any other
// frame by its bytes.
FrameValue ValueOfFrame(const id3v2::ListedFrame& frame);

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
