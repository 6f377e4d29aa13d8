#include "id3v2/SongFile.h"

#include <array>
#include <sys/stat.h>

namespace id3v2 {

bool SongFile::Open(const std::string& path)
{
    path_ = path;
    struct stat st {};
    writable_ = file_.Open(path, BinaryFile::Mode::ReadWrite, &st);
    if (!writable_ && !file_.Open(path, BinaryFile::Mode::Read, &st))
        return false;
    if (st.st_size >= kLargestSongFile) {
        file_.Close();
        return false;
    }
    length_ = st.st_size;
    permissions_ = st.st_mode & 07777;
    owner_ = st.st_uid;
    group_ = st.st_gid;
    return true;
}

bool SongFile::ReadHeader(TagInfo& info) const
{
    std::array<std::uint8_t, kHeaderSize> header{};
    const std::int64_t got = file_.ReadAt(0, header);
    if (got < 0)
        return false;
    info.SetHeaderBytes(std::span(header).first(static_cast<std::size_t>(got)));
    info.FileLength = length_;
    return got == static_cast<std::int64_t>(kHeaderSize);
}

bool SongFile::GrantOwnerWrite()
{
    if (permissions_ & S_IWUSR)
        return true;
    if (::fchmod(file_.Descriptor(), permissions_ | S_IWUSR) != 0)
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

} // namespace id3v2
