#include "id3v2/TagWriter.h"

#include "id3v2/BinaryFile.h"
#include "id3v2/FileCopy.h"
#include "id3v2/TagBuilder.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace id3v2 {
namespace {

// The temporary file of a rebuild: removed when it goes, unless it was renamed over the song.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile()
    {
        file_.Close();
        if (created_ && !renamed_)
            ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Replaces a stale file of the same name by a new, empty one.
    bool Create()
    {
        if (::unlink(path_.c_str()) != 0 && errno != ENOENT)
            return false;
        created_ = file_.CreateNew(path_, S_IRUSR | S_IWUSR);
        return created_;
    }

    // The song's permission bits, exactly (the creation mask does not apply), and its owner
    // where the process may give it.
    bool TakeOwnershipOf(const SongFile& song) const
    {
        if (song.Owner() != ::geteuid() || song.Group() != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(file_.Descriptor(), song.Owner(), song.Group());
        }
        return ::fchmod(file_.Descriptor(), song.Permissions()) == 0;
    }

    bool FlushAndClose() { return file_.Sync() && file_.Close(); }

    bool RenameOver(const std::string& target)
    {
        renamed_ = ::rename(path_.c_str(), target.c_str()) == 0;
        return renamed_;
    }

    const BinaryFile& File() const { return file_; }

private:
    std::string path_;
    BinaryFile file_;
    bool created_ = false;
    bool renamed_ = false;
};

} // namespace

bool OverwriteTag(SongFile& song, std::span<const std::uint8_t> tag)
{
    if (!song.GrantOwnerWrite() || !song.OpenForWriting())
        return false;
    const bool written = song.File().WriteAt(0, tag);
    return song.Close() && written;
}

bool RebuildWithTag(SongFile& song, std::int64_t skip, std::span<const std::uint8_t> tag)
{
    if (!song.GrantOwnerWrite())
        return false;
    TemporaryFile temporary(song.Path() + "~");
    if (!temporary.Create() || !temporary.TakeOwnershipOf(song))
        return false;
    if (!temporary.File().WriteAt(0, tag))
        return false;
    if (!CopyToEnd(song.File(), skip, temporary.File(), static_cast<std::int64_t>(tag.size())))
        return false;
    if (!temporary.FlushAndClose())
        return false;
    song.Close();
    return temporary.RenameOver(song.Path());
}

bool WriteTag(const std::string& path, const TagValues& values)
{
    SongFile song;
    if (!song.Open(path))
        return false;
    TagInfo info;
    const bool headerRead = song.ReadHeader(info);
    const std::int64_t oldTagSize = info.HasIdentifier() ? TotalTagSize(info) : 0;
    FillFrameData(values, info);
    if (!BuildTagHeader(info))
        return false;
    const std::vector<std::uint8_t> tag = AssembleTag(info);
    if (!info.NeedRewrite)
        return OverwriteTag(song, tag);
    // A file shorter than a tag header, or one that cannot be read, is left alone.
    return headerRead && RebuildWithTag(song, oldTagSize, tag);
}

} // namespace id3v2
