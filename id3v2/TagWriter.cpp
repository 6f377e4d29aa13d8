#include "id3v2/TagWriter.h"

#include "id3v2/TagBuilder.h"
#include "id3v2/TagHeader.h"
#include "io/FileCopy.h"
#include "io/FileSystem.h"
#include "io/ReplacementFile.h"

#include <algorithm>
#include <cerrno>
#include <vector>

namespace id3v2 {
namespace {

// Whether the locked song is still the file inspection read: the same file, as long, beginning
// with the same bytes.
bool StillAsInspected(const io::SongFile& song, std::span<const std::uint8_t> head, const InspectedFile& inspected)
{
    return song.Identity() == inspected.identity && song.Length() == inspected.length &&
           head.size() >= inspected.start.size() && std::equal(inspected.start.begin(), inspected.start.end(), head.begin());
}

} // namespace

io::Outcome OverwriteTag(io::SongFile& song, std::span<const std::uint8_t> tag, bool keepTimes)
{
    if (io::Outcome granted = song.GrantOwnerWrite(); !granted.Done())
        return granted;
    if (io::Outcome opened = song.OpenForWriting(); !opened.Done())
        return opened;
    if (!song.File().WriteAt(0, tag)) {
        const int error = song.File().LastError();
        song.Close();
        return io::Outcome::Failure(io::Step::Write, error);
    }
    if (keepTimes)
        [[maybe_unused]] const bool kept = song.File().SetTimes(song.Times());
    if (!song.Close())
        return io::Outcome::Failure(io::Step::Close, song.File().LastError());
    return io::Outcome::Success();
}

namespace {

io::Outcome RebuildInto(io::ReplacementFile& temporary, io::SongFile& song, std::int64_t skip,
                        std::span<const std::uint8_t> tag, bool keepTimes)
{
    if (io::Outcome granted = song.GrantOwnerWrite(); !granted.Done())
        return granted;
    if (io::Outcome created = temporary.Create(); !created.Done())
        return created;
    if (io::Outcome owned = temporary.TakeOwnershipOf(song); !owned.Done())
        return owned;
    if (io::Outcome kept = temporary.TakeAttributesOf(song); !kept.Done())
        return kept;
    if (!temporary.File().WriteAt(0, tag))
        return io::Outcome::Failure(io::Step::Write, temporary.File().LastError());
    if (io::Outcome copied = io::CopyToEnd(song.File(), skip, temporary.File(), static_cast<std::int64_t>(tag.size()));
        !copied.Done())
        return copied;
    if (keepTimes && !temporary.File().SetTimes(song.Times()))
        return io::Outcome::Failure(io::Step::Times, temporary.File().LastError());
    if (io::Outcome flushed = temporary.FlushAndClose(); !flushed.Done())
        return flushed;
    const io::Outcome renamed = temporary.RenameOver(song.Path());
    song.Close();
    return renamed;
}

} // namespace

io::Outcome RebuildWithTag(io::SongFile& song, std::int64_t skip, std::span<const std::uint8_t> tag, bool keepTimes)
{
    io::ReplacementFile temporary(song.Path() + "~");
    io::Outcome outcome = RebuildInto(temporary, song, skip, tag, keepTimes);
    outcome.removedLeftover = temporary.RemovedLeftover();
    return outcome;
}

io::Outcome WriteTag(const std::string& path, const TagWrite& write, const WriteGuard& guard)
{
    io::SongFile song;
    if (!song.Open(path))
        return io::Outcome::Failure(io::Step::Open, song.OpenError());
    // A file shorter than a tag header is left alone, before its lock could clear a read-only mark.
    if (song.Length() < static_cast<std::int64_t>(kHeaderSize))
        return io::Outcome::Failure(io::Step::Read, 0);
    if (io::Outcome lock = song.LockForWriting(guard.lockWait); !lock.Done())
        return lock;
    // The head as it is under the lock: the header that the new tag is planned from and, for a
    // check against the inspection, as many bytes as that read.
    const std::size_t wanted = std::max(kHeaderSize, guard.inspected ? guard.inspected->start.size() : 0);
    std::vector<std::uint8_t> head(wanted);
    const std::int64_t got = song.ReadHead(head);
    if (got < 0)
        return io::Outcome::Failure(io::Step::Read, song.File().LastError());
    head.resize(static_cast<std::size_t>(got));
    if (guard.inspected && !StillAsInspected(song, head, *guard.inspected))
        return io::Outcome::Changed();
    return WriteLockedTag(song, write, head);
}

io::Outcome WriteLockedTag(io::SongFile& song, const TagWrite& write, std::span<const std::uint8_t> head)
{
    // A file shorter than a tag header, or one whose header could not be read, is left alone.
    if (song.Length() < static_cast<std::int64_t>(kHeaderSize) || head.size() < kHeaderSize)
        return io::Outcome::Failure(io::Step::Read, 0);
    TagPlan plan;
    plan.Header.SetBytes(head.first(kHeaderSize));
    plan.FileLength = song.Length();
    plan.OtherFrames = write.OtherFrames;
    const std::int64_t oldTagSize = TagLength(plan.Header, plan.FileLength);
    // The tag is built once: by the plan that was made from this song's bytes, else here.
    std::vector<std::uint8_t> built;
    std::span<const std::uint8_t> tag = write.Built;
    if (tag.empty()) {
        // Frames too large for a tag's size field: nothing is written.
        if (!BuildNewTag(write.Values, plan, built))
            return io::Outcome::Failure(io::Step::Write, EFBIG);
        tag = built;
    } else {
        plan.NeedRewrite = write.Rebuild;
    }
    if (!plan.NeedRewrite)
        return OverwriteTag(song, tag, write.KeepTimes);
    // Through a symbolic link, the file it leads to is rebuilt, in its own folder, and the link
    // stays a link.
    if (const std::string target = io::LinkTarget(song.Path()); target != song.Path() && !song.UsePath(target))
        return io::Outcome::Changed();
    return RebuildWithTag(song, oldTagSize, tag, write.KeepTimes);
}

bool WriteTag(const std::string& path, const TagValues& values)
{
    const TagWrite write{values};
    io::Outcome result = WriteTag(path, write, WriteGuard{});
    if (result.kind == io::Outcome::Kind::Changed)
        result = WriteTag(path, write, WriteGuard{});
    return result.Done();
}

} // namespace id3v2
