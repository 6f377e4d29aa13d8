#pragma once
// A complete walk of a tag's frames, as the ID3v2.2, 2.3 and 2.4 standards define them: the
// header of each version (flags it does not define are ignored; a compressed 2.2 tag is not
// walked), unsynchronisation of the whole tag (2.2, 2.3) or of each frame (2.4), extended headers
// by each version's own rule, each version's frame layout, and the contents of compressed frames
// (inflated with zlib, within a bound) and encrypted ones (none).
#include "id3v2/TagView.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace id3v2 {

// No frame's data is read or inflated beyond this many bytes, unless the caller gives its own bound.
inline constexpr std::int64_t kMostFrameContent = 64 * 1024;

// One frame as the walk meets it.
struct FrameSite {
    std::string_view Id;          // three characters in version 2.2, four otherwise
    std::uint8_t Version = 0;     // the tag's major version
    bool TagUnsynchronised = false;
    std::uint8_t StatusFlags = 0; // the first flag byte (none in version 2.2)
    std::uint8_t FormatFlags = 0; // the second flag byte (none in version 2.2)
    std::int64_t Size = 0;        // the stored data's size, as the frame header gives it
};

// What the walk asks of its caller: whether to read a frame's stored data (its first
// kMostFrameContent bytes, the walk's own bound, or as many as Extent says), and what to do with
// the data read; false from Visit ends the walk.
struct FrameVisitor {
    std::function<bool(const FrameSite&)> Wants;
    std::function<bool(const FrameSite&, std::span<const std::uint8_t> stored)> Visit;
    std::function<std::int64_t(const FrameSite&)> Extent = nullptr;
};

// How the walk reads frame headers. The standard's rules, or the tag reader's lenient scan, whose
// quirks the values read (and so the bytes written back) depend on: any header whose first byte
// is an upper-case letter starts a frame, a version 2.4 size drops the top bit of each byte, and
// a frame whose data runs past the bytes at hand is still read as far as they go.
struct FrameRules {
    bool lenientIds = false;
    bool lenientSizes = false;
    bool visitFramesRunningPast = false;
};
inline constexpr FrameRules kStandardFrames{};
inline constexpr FrameRules kScanFrames{true, true, true};

// Walks the tag that starts at offset 0 of the view, frame by frame, until padding, a byte that
// no frame ID has, or a frame that does not fit in the tag. False when the bytes are no tag of
// version 2 to 4 or its frames cannot be reached. No more than mostContent bytes of a frame's
// data are read.
bool WalkFrames(TagView& tag, const FrameVisitor& visitor, std::int64_t mostContent = kMostFrameContent);

// The frames of a list from its start, walked by the standard's rules for a tag of that version:
// a tag's body (unsynchronisation undone for 2.2 and 2.3, the extended header passed), or the
// frames a frame embeds.
void WalkFrameList(TagView& frames, std::uint8_t version, bool tagUnsynchronised, const FrameVisitor& visitor,
                   std::int64_t mostContent = kMostFrameContent);

// The one frame loop: the frames from offset pos of the view, each header starting before
// headersBefore, by the rules, until padding, a byte that starts no frame, or a frame that ends
// the walk (site gives the version and the tag's unsynchronisation).
void WalkFrameList(TagView& frames, std::int64_t pos, std::int64_t headersBefore, FrameSite site,
                   const FrameVisitor& visitor, std::int64_t mostContent, const FrameRules& rules);

// The bytes before a frame's own content in its stored data, by its format flags: in version 2.3
// the inflated size, the encryption method and the group; in 2.4 the group, the encryption
// method and the data length indicator.
std::size_t FrameContentPrefix(std::uint8_t version, std::uint8_t formatFlags);

// Whether a frame's stored data is unsynchronised by itself: version 2.4 only, by its own flag or
// the tag's (2.2 and 2.3 unsynchronise the whole tag, undone before its frames are walked).
bool FrameDataUnsynchronised(std::uint8_t version, bool tagUnsynchronised, std::uint8_t formatFlags);

// A frame's own content from its stored data, by the frame's format flags: unsynchronisation
// (version 2.4 frames) undone, the group, encryption and length bytes passed over, and the
// data inflated (to at most mostContent bytes). None for an encrypted frame or one whose extra
// bytes do not fit.
std::optional<std::vector<std::uint8_t>> FrameContent(const FrameSite& frame, std::span<const std::uint8_t> stored,
                                                     std::int64_t mostContent = kMostFrameContent);

} // namespace id3v2
