#include "io/ReplacementFile.h"

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

bool ReplacementFile::Create()
{
    if (::unlink(path_.c_str()) != 0 && errno != ENOENT)
        return false;
    created_ = file_.CreateNew(path_, S_IRUSR | S_IWUSR);
    return created_;
}

bool ReplacementFile::TakeOwnershipOf(const SongFile& song) const
{
    if (song.Owner() != ::geteuid() || song.Group() != ::getegid())
        [[maybe_unused]] const bool ignored = file_.SetOwner(song.Owner(), song.Group());
    return file_.SetPermissions(song.Permissions());
}

bool ReplacementFile::FlushAndClose()
{
    return file_.Sync() && file_.Close();
}

bool ReplacementFile::RenameOver(const std::string& target)
{
    renamed_ = ::rename(path_.c_str(), target.c_str()) == 0;
    if (renamed_)
        SyncFolderOf(target);
    return renamed_;
}

} // namespace io
