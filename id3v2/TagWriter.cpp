#include "id3v2/TagWriter.h"

#include "id3v2/TagBuilder.h"
#include "id3v2/TagHeader.h"
#include "io/FileCopy.h"
#include "io/FileSystem.h"
#include "io/ReplacementFile.h"

#include <array>

namespace id3v2 {

bool OverwriteTag(io::SongFile& song, std::span<const std::uint8_t> tag)
{
    if (!song.GrantOwnerWrite() || !song.OpenForWriting())
        return false;
    const bool written = song.File().WriteAt(0, tag);
    return song.Close() && written;
}

bool RebuildWithTag(io::SongFile& song, std::int64_t skip, std::span<const std::uint8_t> tag)
{
    if (!song.GrantOwnerWrite())
        return false;
    io::ReplacementFile temporary(song.Path() + "~");
    if (!temporary.Create() || !temporary.TakeOwnershipOf(song))
        return false;
    if (!temporary.File().WriteAt(0, tag))
        return false;
    if (!io::CopyToEnd(song.File(), skip, temporary.File(), static_cast<std::int64_t>(tag.size())))
        return false;
    if (!temporary.FlushAndClose())
        return false;
    song.Close();
    return temporary.RenameOver(song.Path());
}

bool WriteTag(const std::string& songPath, const TagValues& values)
{
    // Through a symbolic link, the file it leads to is written, in its own folder: a rebuild
    // replaces that file and leaves the link a link.
    const std::string path = io::LinkTarget(songPath);
    io::SongFile song;
    if (!song.Open(path))
        return false;
    TagPlan plan;
    std::array<std::uint8_t, kHeaderSize> header{};
    const std::int64_t got = song.ReadHead(header);
    if (got >= 0) {
        plan.Header.SetBytes(std::span(header).first(static_cast<std::size_t>(got)));
        plan.FileLength = song.Length();
    }
    const bool headerRead = got == static_cast<std::int64_t>(kHeaderSize);
    const std::int64_t oldTagSize = TagLength(plan.Header, plan.FileLength);
    std::vector<std::uint8_t> tag;
    if (!BuildNewTag(values, plan, tag))
        return false;
    if (!plan.NeedRewrite)
        return OverwriteTag(song, tag);
    // A file shorter than a tag header, or one that cannot be read, is left alone.
    return headerRead && RebuildWithTag(song, oldTagSize, tag);
}

} // namespace id3v2
