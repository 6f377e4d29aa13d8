#pragma once
// A frame's value as a dry run compares and shows it: by what a reader reads rather than by the
// bytes (a text that is only stored in another encoding has not changed).
#include "id3v2/FrameList.h"

#include <string>

namespace batch {

struct FrameValue {
    std::string key;   // what is compared
    std::string shown; // what is shown (UTF-8)
};

// Text frames by their text; comments, lyrics and user texts by their language, description and
// text; links by their address; the popularimeter by its address, rating and counter; any other
// frame by its bytes.
FrameValue ValueOfFrame(const id3v2::ListedFrame& frame);

} // namespace batch
