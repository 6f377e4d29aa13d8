// Fuzzes the listing of every frame of a tag and the reading of each frame's value that a dry
// run shows: over arbitrary bytes taken as a tag, neither may read outside them or fail.
//
// A tag compared with itself has no changes; the bytes after the tag's own size change nothing
// of the listing; every listed frame has a frame ID and at most the bounded content.
#include "ScratchFile.h"
#include "batch/FrameChanges.h"
#include "id3v2/FrameList.h"
#include "id3v2/TagHeader.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace {

constexpr const char* kHarness = "frame_list";

bool SameListing(const std::vector<id3v2::ListedFrame>& a, const std::vector<id3v2::ListedFrame>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const id3v2::ListedFrame& x, const id3v2::ListedFrame& y) {
        return x.Id == y.Id && x.StoredSize == y.StoredSize && x.Content == y.Content;
    });
}

bool IsFrameId(const std::string& id)
{
    return (id.size() == 3 || id.size() == 4) &&
           std::all_of(id.begin(), id.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> input(data, size);
    std::vector<id3v2::ListedFrame> frames;
    const bool listed = id3v2::ListFrames(input, frames);
    fuzzing::Check(listed || frames.empty(), kHarness, "frames listed from no tag");
    for (const id3v2::ListedFrame& frame : frames) {
        fuzzing::Check(IsFrameId(frame.Id), kHarness, "a listed frame without a frame ID");
        fuzzing::Check(!frame.Content || frame.Content->size() <= static_cast<std::size_t>(id3v2::kMostFrameContent),
                       kHarness, "content beyond the bound");
        batch::ValueOfFrame(frame);
    }
    fuzzing::Check(batch::CompareFrames(frames, frames).empty(), kHarness, "a tag differs from itself");

    id3v2::TagHeader header;
    header.SetBytes(input.first(std::min<std::size_t>(size, id3v2::kHeaderSize)));
    const auto tagSize = static_cast<std::size_t>(id3v2::TagLength(header, static_cast<std::int64_t>(size)));
    if (listed && tagSize >= id3v2::kHeaderSize && tagSize < size) {
        std::vector<id3v2::ListedFrame> ofTagAlone;
        id3v2::ListFrames(input.first(tagSize), ofTagAlone);
        fuzzing::Check(SameListing(frames, ofTagAlone), kHarness, "the listing depends on the bytes after the tag");
    }
    return 0;
}
