#include "id3v2/TagWriter.h"

#include "id3v2/TagBuilder.h"
#include "id3v2/TagHeader.h"
#include "io/FileCopy.h"
#include "io/FileSystem.h"
#include "io/ReplacementFile.h"

#include <algorithm>
#include <vector>

namespace id3v2 {
namespace {

WriteResult FromLock(io::SongFile::Lock lock)
{
    switch (lock) {
    case io::SongFile::Lock::Busy:
        return WriteResult::Busy;
    case io::SongFile::Lock::Changed:
        return WriteResult::Changed;
    default:
        return WriteResult::Failed;
    }
}

// Whether the locked song is still the file inspection read: the same file, as long, beginning
// with the same bytes.
bool StillAsInspected(const io::SongFile& song, std::span<const std::uint8_t> head, const InspectedFile& inspected)
{
    return song.Identity() == inspected.identity && song.Length() == inspected.length &&
           head.size() >= inspected.start.size() && std::equal(inspected.start.begin(), inspected.start.end(), head.begin());
}

} // namespace

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
    const bool renamed = temporary.RenameOver(song.Path());
    song.Close();
    return renamed;
}

WriteResult WriteTag(const std::string& path, const TagValues& values, const WriteGuard& guard)
{
    io::SongFile song;
    // A file shorter than a tag header is left alone, before its lock could clear a read-only mark.
    if (!song.Open(path) || song.Length() < static_cast<std::int64_t>(kHeaderSize))
        return WriteResult::Failed;
    if (const io::SongFile::Lock lock = song.LockForWriting(guard.lockWait); lock != io::SongFile::Lock::Held)
        return FromLock(lock);
    // The head as it is under the lock: the header that the new tag is planned from and, for a
    // check against the inspection, as many bytes as that read.
    const std::size_t wanted = std::max(kHeaderSize, guard.inspected ? guard.inspected->start.size() : 0);
    std::vector<std::uint8_t> head(wanted);
    const std::int64_t got = song.ReadHead(head);
    if (got < 0)
        return WriteResult::Failed;
    head.resize(static_cast<std::size_t>(got));
    if (guard.inspected && !StillAsInspected(song, head, *guard.inspected))
        return WriteResult::Changed;
    return WriteLockedTag(song, values, head);
}

WriteResult WriteLockedTag(io::SongFile& song, const TagValues& values, std::span<const std::uint8_t> head)
{
    // A file shorter than a tag header, or one whose header could not be read, is left alone.
    if (song.Length() < static_cast<std::int64_t>(kHeaderSize) || head.size() < kHeaderSize)
        return WriteResult::Failed;
    TagPlan plan;
    plan.Header.SetBytes(head.first(kHeaderSize));
    plan.FileLength = song.Length();
    const std::int64_t oldTagSize = TagLength(plan.Header, plan.FileLength);
    std::vector<std::uint8_t> tag;
    if (!BuildNewTag(values, plan, tag))
        return WriteResult::Failed;
    if (!plan.NeedRewrite)
        return OverwriteTag(song, tag) ? WriteResult::Written : WriteResult::Failed;
    // Through a symbolic link, the file it leads to is rebuilt, in its own folder, and the link
    // stays a link.
    if (const std::string target = io::LinkTarget(song.Path()); target != song.Path() && !song.UsePath(target))
        return WriteResult::Changed;
    return RebuildWithTag(song, oldTagSize, tag) ? WriteResult::Written : WriteResult::Failed;
}

bool WriteTag(const std::string& path, const TagValues& values)
{
    WriteResult result = WriteTag(path, values, WriteGuard{});
    if (result == WriteResult::Changed)
        result = WriteTag(path, values, WriteGuard{});
    return result == WriteResult::Written;
}

} // namespace id3v2
