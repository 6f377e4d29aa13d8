#include "io/SongFile.h"

#include <sys/stat.h>

namespace io {

bool SongFile::Open(const std::string& path)
{
    path_ = path;
    FileStatus status;
    writable_ = file_.Open(path, BinaryFile::Mode::ReadWrite, &status);
    if (!writable_ && !file_.Open(path, BinaryFile::Mode::Read, &status))
        return false;
    if (status.length >= kLargestSongFile) {
        file_.Close();
        return false;
    }
    length_ = status.length;
    permissions_ = status.permissions;
    owner_ = status.owner;
    group_ = status.group;
    return true;
}

std::int64_t SongFile::ReadHead(std::span<std::uint8_t> head) const
{
    return file_.ReadAt(0, head);
}

bool SongFile::GrantOwnerWrite()
{
    if (permissions_ & S_IWUSR)
        return true;
    if (!file_.SetPermissions(permissions_ | S_IWUSR))
        return false;
    permissions_ |= S_IWUSR;
    return true;
}

bool SongFile::OpenForWriting()
{
    if (writable_)
        return true;
    BinaryFile reopened;
    if (!reopened.Open(path_, BinaryFile::Mode::ReadWrite))
        return false;
    file_ = std::move(reopened);
    writable_ = true;
    return true;
}

} // namespace io
