// Fuzzes the tag reader over arbitrary file bytes, and the writer behind it.
//
// The complete parse for the popularimeter's rating runs over every input as a whole tag (it
// must give an answer and never read outside the bytes), whether or not the scan needs it, and
// the whole read again a frame at a time, as a tag too large for memory is read.
//
// Each input is a whole file: it is parsed from memory, written to a file and read with
// ReadFromFile (both must agree), then the values are saved back into the file. When the save
// succeeds, the file must read back as a version 2.3 tag with the same values, and the bytes
// after the new tag must be the bytes that followed the old one.
//
// The frames a rewritten tag keeps of the old one (OtherFramesAsV23) are taken from every input:
// put after a version 2.3 header, they must be kept again as they are, none dropped. The values
// are then saved again over the input keeping them: the new tag must keep exactly those frames,
// with the same values and the same bytes after it.
#include "ScratchFile.h"
#include "id3v2/ID3v2.h"
#include "id3v2/OtherFrames.h"
#include "id3v2/Popularimeter.h"
#include "id3v2/TagHeader.h"
#include "id3v2/TagParser.h"
#include "id3v2/TagWriter.h"
#include "io/ByteSource.h"
#include "text/Trim.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <span>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kHarness = "id3v2";

// Where the audio starts in the file the writer saw: after a tag whose size fits the file,
// else at 0 (the new tag then goes in front of everything).
std::size_t AudioStart(std::span<const std::uint8_t> bytes)
{
    id3v2::TagHeader header;
    header.SetBytes(bytes.first(std::min<std::size_t>(bytes.size(), 10)));
    return static_cast<std::size_t>(id3v2::TagLength(header, static_cast<std::int64_t>(bytes.size())));
}

bool SameValues(const id3v2::TagValues& a, const id3v2::TagValues& b)
{
    return a.Text == b.Text && a.Track == b.Track && a.Rating == b.Rating;
}

// The most text bytes of a row that a read keeps from a frame this writer wrote: 500 data
// bytes less the encoding byte, and less "eng" and the empty description's zero byte for a
// comment, or the empty description's zero byte for a link. A longer value (one read from a
// frame whose description had no terminator) comes back cut there.
std::size_t KeptTextBytes(std::size_t row)
{
    return row == id3v2::RowComment ? 495 : row == id3v2::RowLink ? 498 : 499;
}

// A value is read back trimmed (a year cut from a date may end in a blank), and "((" at a
// genre's start is read as "(", so genres are not compared.
bool SameValuesAfterWrite(const id3v2::TagValues& written, const id3v2::TagValues& read)
{
    for (std::size_t row = 0; row < id3v2::kFrameRows; ++row) {
        if (row == id3v2::RowGenre || !id3v2::IsTextProperty(row))
            continue;
        const std::string_view kept = std::string_view(written.Text[row]).substr(0, KeptTextBytes(row));
        if (text::TrimBlanks(kept) != read.Text[row])
            return false;
    }
    return written.Track == read.Track && written.Rating == read.Rating;
}

void CheckOtherFrames(std::span<const std::uint8_t> input)
{
    id3v2::OtherFrames kept;
    if (!id3v2::OtherFramesAsV23(input, kept))
        return;
    const std::size_t size = kept.Bytes.size();
    fuzzing::Check(static_cast<std::int64_t>(size) + 10 <= id3v2::kMostKeptTag, kHarness, "kept frames beyond the bound");
    std::vector<std::uint8_t> tag = {'I', 'D', '3', 3, 0, 0};
    for (int shift = 21; shift >= 0; shift -= 7)
        tag.push_back(static_cast<std::uint8_t>((size >> shift) & 0x7F));
    tag.insert(tag.end(), kept.Bytes.begin(), kept.Bytes.end());
    id3v2::OtherFrames again;
    fuzzing::Check(id3v2::OtherFramesAsV23(tag, again) && again.Bytes == kept.Bytes && again.Dropped.empty(), kHarness,
                   "kept frames change when they are kept again");
}

// The values saved over the input once more, keeping its other frames.
void CheckKeepingSave(const std::string& path, std::span<const std::uint8_t> input, const id3v2::TID3v2& tag,
                      const id3v2::OtherFrames& kept)
{
    if (!fuzzing::WriteWholeFile(path, input))
        return;
    const id3v2::TagWrite write{tag.Values(), kept.Bytes};
    if (!id3v2::WriteTag(path, write, id3v2::WriteGuard{}).Done()) {
        fuzzing::Check(fuzzing::ReadWholeFile(path) == std::vector<std::uint8_t>(input.begin(), input.end()), kHarness,
                       "failed save keeping the other frames changed the file");
        return;
    }
    const std::vector<std::uint8_t> after = fuzzing::ReadWholeFile(path);
    id3v2::TID3v2 again;
    fuzzing::Check(again.ReadFromFile(path) && again.TagFound() && again.MajorVersion() == 3, kHarness,
                   "saved tag keeping the other frames not found");
    fuzzing::Check(SameValuesAfterWrite(tag.Values(), again.Values()), kHarness, "values changed by a save keeping the other frames");
    const auto newTag = static_cast<std::size_t>(again.TagSize());
    id3v2::OtherFrames keptAgain;
    fuzzing::Check(id3v2::OtherFramesAsV23(std::span(after).first(newTag), keptAgain) && keptAgain.Bytes == kept.Bytes,
                   kHarness, "the saved tag does not keep the other frames as they were kept");
    const std::size_t oldTag = AudioStart(input);
    fuzzing::Check(after.size() - newTag == input.size() - oldTag &&
                       std::equal(after.begin() + static_cast<std::ptrdiff_t>(newTag), after.end(),
                                  input.begin() + static_cast<std::ptrdiff_t>(oldTag)),
                   kHarness, "bytes after the tag changed by a save keeping the other frames");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> input(data, size);
    // Bytes past the tag's own size are no concern of the parse: it gets the same answer over
    // the input as over the tag alone.
    const std::uint8_t rating = id3v2::PopularimeterRating(input);
    const std::size_t tagSize = AudioStart(input);
    if (tagSize > 0)
        fuzzing::Check(id3v2::PopularimeterRating(input.first(tagSize)) == rating, kHarness,
                       "the rating depends on the bytes after the tag");
    CheckOtherFrames(input);
    const id3v2::ParsedTag parsed = id3v2::ParseTag(input, static_cast<std::int64_t>(size));
    // Read a frame at a time (as a tag too large for memory is), the same bytes give the same.
    io::MemoryBytes memory(input);
    const id3v2::ParsedTag byFrame = id3v2::ParseTagFrameByFrame(memory);
    fuzzing::Check(byFrame.TagFound == parsed.TagFound && byFrame.MajorVersion == parsed.MajorVersion &&
                       byFrame.TagSize == parsed.TagSize && SameValues(byFrame.Values, parsed.Values),
                   kHarness, "the tag read a frame at a time differs");

    const std::string& path = fuzzing::ScratchPath(kHarness);
    if (!fuzzing::WriteWholeFile(path, input))
        return 0;
    id3v2::TID3v2 tag;
    const bool read = tag.ReadFromFile(path);
    fuzzing::Check(read == (size >= 10), kHarness, "ReadFromFile result");
    if (read) {
        fuzzing::Check(tag.TagFound() == parsed.TagFound && tag.MajorVersion() == parsed.MajorVersion && tag.TagSize() == parsed.TagSize, kHarness,
              "file reader and memory parser disagree on the header");
        fuzzing::Check(SameValues(tag.Values(), parsed.Values), kHarness, "file reader and memory parser disagree on the values");
    }

    if (tag.SaveToFile(path)) {
        const std::vector<std::uint8_t> after = fuzzing::ReadWholeFile(path);
        id3v2::TID3v2 again;
        fuzzing::Check(again.ReadFromFile(path) && again.TagFound() && again.MajorVersion() == 3, kHarness, "saved tag not found");
        fuzzing::Check(SameValuesAfterWrite(tag.Values(), again.Values()), kHarness, "values changed by a save");
        const std::size_t oldAudio = tagSize;
        const auto newAudio = static_cast<std::size_t>(again.TagSize());
        fuzzing::Check(after.size() - newAudio == size - oldAudio &&
                  std::equal(after.begin() + static_cast<std::ptrdiff_t>(newAudio), after.end(), input.begin() + static_cast<std::ptrdiff_t>(oldAudio)), kHarness,
              "bytes after the tag changed");
    } else {
        fuzzing::Check(fuzzing::ReadWholeFile(path) == std::vector<std::uint8_t>(input.begin(), input.end()), kHarness, "failed save changed the file");
    }
    // A write keeps the frames of a tag the reader read, and only its own bytes.
    id3v2::OtherFrames keptOfTag;
    if (read && tag.TagSize() > 0 && id3v2::OtherFramesAsV23(input.first(tagSize), keptOfTag) && !keptOfTag.Bytes.empty())
        CheckKeepingSave(path, input, tag, keptOfTag);
    ::unlink(path.c_str());
    ::unlink((path + "~").c_str());
    return 0;
}
