#include "io/BinaryFile.h"

#include "io/HeldStatus.h"
#include "io/StatIdentity.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace io {
namespace {

// open(2), again when a signal interrupted it.
int OpenRetrying(const std::string& path, int flags, unsigned permissions)
{
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags, static_cast<mode_t>(permissions));
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Repeats a positional read or write (call(done) moves the bytes from `done` on) until `size`
// bytes are moved or a call moves none; a signal's interruption is retried. The count moved, or
// -1 on an error.
template <typename Call>
std::int64_t TransferAll(std::size_t size, Call call)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = call(done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<std::int64_t>(done);
}

FileStatus StatusOf(const struct stat& st)
{
    return {IdentityOf(st),
            st.st_size,
            static_cast<unsigned>(st.st_mode & 07777),
            st.st_uid,
            st.st_gid,
            {st.st_atim, st.st_mtim}};
}

} // namespace

BinaryFile::~BinaryFile()
{
    Close();
}

BinaryFile::BinaryFile(BinaryFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1))
    , error_(other.error_)
{
}

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept
{
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
        error_ = other.error_;
    }
    return *this;
}

bool BinaryFile::Failing(int error) const
{
    error_ = error;
    return false;
}

bool BinaryFile::Open(const std::string& path, Mode mode, FileStatus* status)
{
    Close();
    // Never waiting at the open: a pipe or a device opens at once and is then refused as no
    // regular file (the flag does nothing to reads and writes of a regular file).
    fd_ = OpenRetrying(path, (mode == Mode::Read ? O_RDONLY : O_RDWR) | O_CLOEXEC | O_NONBLOCK, 0);
    if (fd_ < 0)
        return Failing(errno);
    // What the open just learnt of the file: no second question to a file server.
    struct stat st {};
    const bool known = HeldStatusOf(fd_, st);
    const int error = !known ? errno : S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    if (!known || !S_ISREG(st.st_mode)) {
        Close();
        return Failing(error);
    }
    if (status)
        *status = StatusOf(st);
    return true;
}

bool BinaryFile::CreateNew(const std::string& path, unsigned permissions)
{
    Close();
    fd_ = OpenRetrying(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, permissions);
    return fd_ >= 0 || Failing(errno);
}

std::int64_t BinaryFile::Size() const
{
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0)
        return -1;
    return st.st_size;
}

bool BinaryFile::Status(FileStatus& status) const
{
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0)
        return Failing(fd_ < 0 ? EBADF : errno);
    status = StatusOf(st);
    return true;
}

Outcome BinaryFile::TryLockByte(std::int64_t offset) const
{
    if (fd_ < 0)
        return Outcome::Failure(Step::Lock, EBADF);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = offset;
    lock.l_len = 1;
    int rc = -1;
    do {
        rc = ::fcntl(fd_, F_OFD_SETLK, &lock);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0)
        return Outcome::Success();
    if (errno == EAGAIN || errno == EACCES)
        return Outcome::Busy();
    Failing(errno);
    return Outcome::Failure(Step::Lock, error_);
}

std::int64_t BinaryFile::ReadAt(std::int64_t offset, std::span<std::uint8_t> buffer) const
{
    if (fd_ < 0 || offset < 0) {
        Failing(fd_ < 0 ? EBADF : EINVAL);
        return -1;
    }
    const std::int64_t got = TransferAll(buffer.size(), [&](std::size_t done) {
        return ::pread(fd_, buffer.data() + done, buffer.size() - done, offset + static_cast<std::int64_t>(done));
    });
    if (got < 0)
        Failing(errno);
    return got;
}

bool BinaryFile::WriteAt(std::int64_t offset, std::span<const std::uint8_t> data) const
{
    if (fd_ < 0 || offset < 0)
        return Failing(fd_ < 0 ? EBADF : EINVAL);
    // A write that takes nothing more ends the transfer short: a failure (the disk is full).
    const std::int64_t done = TransferAll(data.size(), [&](std::size_t from) {
        return ::pwrite(fd_, data.data() + from, data.size() - from, offset + static_cast<std::int64_t>(from));
    });
    if (done < 0)
        return Failing(errno);
    return done == static_cast<std::int64_t>(data.size()) || Failing(ENOSPC);
}

bool BinaryFile::Sync() const
{
    return (fd_ >= 0 && ::fsync(fd_) == 0) || Failing(fd_ < 0 ? EBADF : errno);
}

bool BinaryFile::SetPermissions(unsigned permissions) const
{
    return (fd_ >= 0 && ::fchmod(fd_, static_cast<mode_t>(permissions)) == 0) || Failing(fd_ < 0 ? EBADF : errno);
}

bool BinaryFile::SetOwner(unsigned owner, unsigned group) const
{
    return (fd_ >= 0 && ::fchown(fd_, owner, group) == 0) || Failing(fd_ < 0 ? EBADF : errno);
}

bool BinaryFile::SetTimes(const FileTimes& times) const
{
    const struct timespec both[2] = {times.accessed, times.modified};
    return (fd_ >= 0 && ::futimens(fd_, both) == 0) || Failing(fd_ < 0 ? EBADF : errno);
}

bool BinaryFile::Close()
{
    if (fd_ < 0)
        return true;
    const int rc = ::close(std::exchange(fd_, -1));
    return rc == 0 || Failing(errno);
}

} // namespace io
