#pragma once
// A frame's value as a dry run compares and shows it: by what a reader reads rather than by the
// bytes (a text that is only stored in another encoding has not changed), with what tells the
// frame apart from other frames of its ID.
#include "id3v2/FrameList.h"

#include <string>

namespace batch {

struct FrameValue {
    std::string key;      // what is compared
    std::string shown;    // what is shown (UTF-8)
    std::string identity; // what tells the frame apart from others of its ID, shown after the ID
                          // and matched with the other tag's frames; empty where the ID says all
};

// Text frames by their text; links by their address; comments, lyrics, user texts and user
// links by their language, description and text, named by the description; the popularimeter by
// its address, rating and counter, named by its address; pictures and encapsulated objects by
// their fields, their texts decoded, named by their type and MIME type (image format in version
// 2.2), and by their MIME type, file name and description; any other frame by its bytes, unique
// file identifiers and private frames named by their owner.
FrameValue ValueOfFrame(const id3v2::ListedFrame& frame);

} // namespace batch
