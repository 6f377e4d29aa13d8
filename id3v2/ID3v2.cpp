#include "id3v2/ID3v2.h"

#include "id3v2/TagParser.h"
#include "io/SongBytes.h"
#include "id3v2/TagReader.h"
#include "id3v2/TagWriter.h"
#include "text/Trim.h"

namespace id3v2 {

void TID3v2::ResetData()
{
    tagFound_ = false;
    majorVersion_ = 0;
    tagSize_ = 0;
    values_ = TagValues{};
}

void TID3v2::SetText(Row row, std::string_view value)
{
    values_.Text[row] = text::TrimBlanks(value);
}

bool TID3v2::ReadFromFile(const std::string& FileName)
{
    io::SongBytes song;
    song.Open(FileName, io::SongBytes::Readers::One);
    return ReadFromSource(song);
}

bool TID3v2::ReadFromSource(io::ByteSource& song)
{
    ResetData();
    try {
        TagRegion region;
        if (!ReadTagRegion(song, region))
            return false;
        ParsedTag tag = region.FrameByFrame ? ParseTagFrameByFrame(song) : ParseTag(region.Bytes, region.FileLength);
        tagFound_ = tag.TagFound;
        majorVersion_ = tag.MajorVersion;
        tagSize_ = tag.TagSize;
        values_ = std::move(tag.Values);
        return true;
    } catch (...) {
        // Only an allocation can fail here; the file counts as unreadable.
        ResetData();
        return false;
    }
}

bool TID3v2::SaveToFile(const std::string& FileName) const
{
    try {
        return WriteTag(FileName, values_);
    } catch (...) {
        return false;
    }
}

} // namespace id3v2
