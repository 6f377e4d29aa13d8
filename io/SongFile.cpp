#include "io/SongFile.h"

#include "io/FileSystem.h"

#include <cerrno>
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
    times_ = status.times;
    return true;
}

Outcome SongFile::LockForWriting(std::chrono::milliseconds wait)
{
    // The lock needs the file open for writing; a read-only mark is cleared only when it stands
    // in the way of that.
    if (!writable_) {
        if (Outcome granted = GrantOwnerWrite(); !granted.Done())
            return granted;
        if (Outcome opened = OpenForWriting(); !opened.Done())
            return opened;
    }
    Outcome lock = file_.TryLockByte(kSongLockByte);
    if (lock.kind == Outcome::Kind::Busy) {
        const auto deadline = std::chrono::steady_clock::now() + wait;
        while (lock.kind == Outcome::Kind::Busy && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(kLockRetry);
            lock = file_.TryLockByte(kSongLockByte);
        }
        if (!lock.Done())
            return lock;
        // The file as the writer before left it (writers keep a song's length when they write
        // it in place, and a rebuild is a new file, but a program without the lock may not).
        FileStatus status;
        if (!file_.Status(status))
            return Outcome::Failure(Step::Lock, file_.LastError());
        if (!TakeStatus(status))
            return Outcome::Failure(Step::Open, EFBIG);
    }
    if (!lock.Done())
        return lock;
    // The writer before may have replaced the song, renaming its rebuilt file over the path:
    // this file then counts no more.
    return PathNames(path_, identity_) ? Outcome::Success() : Outcome::Changed();
}

Outcome SongFile::OpenLocked(const std::string& path, std::chrono::milliseconds wait)
{
    path_ = path;
    FileStatus status;
    writable_ = file_.Open(path, BinaryFile::Mode::ReadWrite, &status);
    Outcome lock = Outcome::Failure(Step::Open, file_.LastError());
    if (writable_ && !TakeStatus(status))
        lock = Outcome::Failure(Step::Open, EFBIG);
    else if (writable_)
        lock = LockForWriting(wait);
    if (!lock.Done()) {
        file_.Close();
        writable_ = false;
    }
    return lock;
}

std::int64_t SongFile::ReadHead(std::span<std::uint8_t> head) const
{
    return file_.ReadAt(0, head);
}

Outcome SongFile::GrantOwnerWrite()
{
    if (permissions_ & S_IWUSR)
        return Outcome::Success();
    if (!file_.SetPermissions(permissions_ | S_IWUSR))
        return Outcome::Failure(Step::Permissions, file_.LastError());
    permissions_ |= S_IWUSR;
    return Outcome::Success();
}

Outcome SongFile::OpenForWriting()
{
    if (writable_)
        return Outcome::Success();
    BinaryFile reopened;
    FileStatus status;
    if (!reopened.Open(path_, BinaryFile::Mode::ReadWrite, &status))
        return Outcome::Failure(Step::Open, reopened.LastError());
    if (!TakeStatus(status))
        return Outcome::Failure(Step::Open, EFBIG);
    file_ = std::move(reopened);
    writable_ = true;
    return Outcome::Success();
}

} // namespace io
