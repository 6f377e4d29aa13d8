#include "io/SongFile.h"

#include "io/FileSystem.h"

#include <sys/stat.h>
#include <thread>

namespace io {
namespace {

// How long a writer waiting for a song sleeps between two tries of its lock.
constexpr std::chrono::milliseconds kLockRetry{10};

} // namespace

bool SongFile::Open(const std::string& path)
{
    path_ = path;
    FileStatus status;
    writable_ = file_.Open(path, BinaryFile::Mode::ReadWrite, &status);
    if (!writable_ && !file_.Open(path, BinaryFile::Mode::Read, &status))
        return false;
    if (!TakeStatus(status)) {
        file_.Close();
        return false;
    }
    return true;
}

bool SongFile::UsePath(const std::string& path)
{
    if (!PathNames(path, identity_))
        return false;
    path_ = path;
    return true;
}

bool SongFile::TakeStatus(const FileStatus& status)
{
    if (status.length >= kLargestSongFile)
        return false;
    identity_ = status.identity;
    length_ = status.length;
    permissions_ = status.permissions;
    owner_ = status.owner;
    group_ = status.group;
    return true;
}

SongFile::Lock SongFile::LockForWriting(std::chrono::milliseconds wait)
{
    // The lock needs the file open for writing; a read-only mark is cleared only when it stands
    // in the way of that.
    if (!writable_ && (!GrantOwnerWrite() || !OpenForWriting()))
        return Lock::Failed;
    BinaryFile::Lock lock = file_.TryLockByte(kSongLockByte);
    if (lock == BinaryFile::Lock::HeldElsewhere) {
        const auto deadline = std::chrono::steady_clock::now() + wait;
        while (lock == BinaryFile::Lock::HeldElsewhere && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(kLockRetry);
            lock = file_.TryLockByte(kSongLockByte);
        }
        if (lock == BinaryFile::Lock::HeldElsewhere)
            return Lock::Busy;
        // The file as the writer before left it (writers keep a song's length when they write
        // it in place, and a rebuild is a new file, but a program without the lock may not).
        FileStatus status;
        if (lock == BinaryFile::Lock::Taken && (!file_.Status(status) || !TakeStatus(status)))
            return Lock::Failed;
    }
    if (lock == BinaryFile::Lock::Failed)
        return Lock::Failed;
    // The writer before may have replaced the song, renaming its rebuilt file over the path:
    // this file then counts no more.
    return PathNames(path_, identity_) ? Lock::Held : Lock::Changed;
}

SongFile::Lock SongFile::OpenLocked(const std::string& path, std::chrono::milliseconds wait)
{
    path_ = path;
    FileStatus status;
    writable_ = file_.Open(path, BinaryFile::Mode::ReadWrite, &status) && TakeStatus(status);
    const Lock lock = writable_ ? LockForWriting(wait) : Lock::Failed;
    if (lock != Lock::Held) {
        file_.Close();
        writable_ = false;
    }
    return lock;
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
    FileStatus status;
    if (!reopened.Open(path_, BinaryFile::Mode::ReadWrite, &status) || !TakeStatus(status))
        return false;
    file_ = std::move(reopened);
    writable_ = true;
    return true;
}

} // namespace io
