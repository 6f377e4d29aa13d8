#include "io/HeldStatus.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/sysmacros.h>

namespace io {
namespace {

bool StatxHeld(int dirfd, const char* path, int flags, struct stat& status)
{
    struct statx answer {};
    if (::statx(dirfd, path, flags | AT_STATX_DONT_SYNC, STATX_BASIC_STATS, &answer) != 0) {
        if (errno != ENOSYS)
            return false;
        return ::fstatat(dirfd, path, &status, flags) == 0;
    }
    status = {};
    status.st_dev = makedev(answer.stx_dev_major, answer.stx_dev_minor);
    status.st_ino = answer.stx_ino;
    status.st_mode = answer.stx_mode;
    status.st_nlink = answer.stx_nlink;
    status.st_uid = answer.stx_uid;
    status.st_gid = answer.stx_gid;
    status.st_size = static_cast<off_t>(answer.stx_size);
    status.st_atim = {answer.stx_atime.tv_sec, answer.stx_atime.tv_nsec};
    status.st_mtim = {answer.stx_mtime.tv_sec, answer.stx_mtime.tv_nsec};
    return true;
}

} // namespace

bool HeldStatusOf(int fd, struct stat& status)
{
    return StatxHeld(fd, "", AT_EMPTY_PATH, status);
}

bool HeldStatusOf(const char* path, struct stat& status)
{
    return StatxHeld(AT_FDCWD, path, 0, status);
}

} // namespace io
