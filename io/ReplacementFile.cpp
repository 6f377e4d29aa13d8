#include "io/ReplacementFile.h"

#include "io/ExtendedAttributes.h"
#include "io/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace io {

ReplacementFile::ReplacementFile(std::string path)
    : path_(std::move(path))
{
}

ReplacementFile::~ReplacementFile()
{
    file_.Close();
    if (created_ && !renamed_)
        ::unlink(path_.c_str());
}

Outcome ReplacementFile::Create()
{
    created_ = file_.CreateNew(path_, S_IRUSR | S_IWUSR);
    // A leftover of a rebuild that never finished (a run killed, a share gone) is almost never
    // there: it costs a call only when the create finds it.
    if (!created_ && file_.LastError() == EEXIST) {
        if (::unlink(path_.c_str()) != 0 && errno != ENOENT)
            return Outcome::Failure(Step::Create, errno);
        removedLeftover_ = true;
        created_ = file_.CreateNew(path_, S_IRUSR | S_IWUSR);
    }
    return created_ ? Outcome::Success() : Outcome::Failure(Step::Create, file_.LastError());
}

Outcome ReplacementFile::TakeOwnershipOf(const SongFile& song) const
{
    if (song.Owner() != ::geteuid() || song.Group() != ::getegid())
        [[maybe_unused]] const bool ignored = file_.SetOwner(song.Owner(), song.Group());
    if (!file_.SetPermissions(song.Permissions()))
        return Outcome::Failure(Step::Permissions, file_.LastError());
    return Outcome::Success();
}

Outcome ReplacementFile::TakeAttributesOf(const SongFile& song) const
{
    return CopyExtendedAttributes(song.File(), file_);
}

Outcome ReplacementFile::FlushAndClose()
{
    if (!file_.Sync() || !file_.Close())
        return Outcome::Failure(Step::Flush, file_.LastError());
    return Outcome::Success();
}

Outcome ReplacementFile::RenameOver(const std::string& target)
{
    renamed_ = ::rename(path_.c_str(), target.c_str()) == 0;
    if (!renamed_)
        return Outcome::Failure(Step::Rename, errno);
    SyncFolderOf(target);
    return Outcome::Success();
}

} // namespace io
