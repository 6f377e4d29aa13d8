#!/usr/bin/python3
"""A folder on paper a file server: a FUSE passthrough of ROOT at MOUNT in which every call
waits DELAY_MS first, as each call to a file server waits for the network. With CALLS_FILE,
each call also adds one byte to that file, so that its length counts the calls; with OPS_FILE,
each call adds a line "OPERATION PATH" to it. While GONE_FILE exists, the folder's server is
gone: every call fails with EIO after 0.2 s, as on a soft network mount.

    delayed_folder.py ROOT MOUNT DELAY_MS [CALLS_FILE [OPS_FILE [GONE_FILE]]]
        (runs until unmounted: fusermount3 -u MOUNT)
"""
import errno
import os
import sys
import time

from fusepy import FUSE, FuseOSError, Operations


class Delayed(Operations):
    def __init__(self, root, delay, calls, ops=None, gone=None):
        self.root = root
        self.delay = delay
        self.calls = calls
        self.ops = ops
        self.gone = gone

    def __call__(self, op, path, *args):
        time.sleep(self.delay)
        if self.calls is not None:
            os.write(self.calls, b".")
        if self.ops is not None:
            os.write(self.ops, ("%s %s\n" % (op, path)).encode("utf-8", "surrogateescape"))
        if self.gone is not None and op not in ("destroy", "release", "releasedir") and os.path.exists(self.gone):
            time.sleep(0.2)
            raise FuseOSError(errno.EIO)
        try:
            return super().__call__(op, path, *args)
        except OSError as error:
            raise FuseOSError(error.errno or errno.EIO)

    def real(self, path):
        return os.path.join(self.root, path.lstrip("/"))

    def getattr(self, path, fh=None):
        st = os.fstat(fh) if fh is not None else os.lstat(self.real(path))
        return {k: getattr(st, k) for k in ("st_mode", "st_size", "st_uid", "st_gid", "st_nlink", "st_ino",
                                            "st_atime", "st_mtime", "st_ctime")}

    def readdir(self, path, fh):
        return [".", ".."] + os.listdir(self.real(path))

    def open(self, path, flags):
        return os.open(self.real(path), flags)

    def create(self, path, mode, fi=None):
        return os.open(self.real(path), os.O_WRONLY | os.O_CREAT | os.O_TRUNC, mode)

    def read(self, path, size, offset, fh):
        return os.pread(fh, size, offset)

    def write(self, path, data, offset, fh):
        return os.pwrite(fh, data, offset)

    def truncate(self, path, length, fh=None):
        os.truncate(self.real(path), length)

    def flush(self, path, fh):
        return 0

    def fsync(self, path, datasync, fh):
        os.fsync(fh)

    def release(self, path, fh):
        os.close(fh)

    def rename(self, old, new):
        os.rename(self.real(old), self.real(new))

    def unlink(self, path):
        os.unlink(self.real(path))

    def chmod(self, path, mode):
        os.chmod(self.real(path), mode)

    def chown(self, path, uid, gid):
        os.chown(self.real(path), uid, gid)

    def utimens(self, path, times=None):
        os.utime(self.real(path), times)

    def statfs(self, path):
        st = os.statvfs(self.real(path))
        return {k: getattr(st, k) for k in ("f_bsize", "f_frsize", "f_blocks", "f_bfree", "f_bavail", "f_files",
                                            "f_ffree", "f_favail", "f_flag", "f_namemax")}


if __name__ == "__main__":
    root, mount, delay_ms = sys.argv[1], sys.argv[2], float(sys.argv[3])
    calls = os.open(sys.argv[4], os.O_WRONLY | os.O_CREAT | os.O_APPEND, 0o644) if len(sys.argv) > 4 else None
    ops = os.open(sys.argv[5], os.O_WRONLY | os.O_CREAT | os.O_APPEND, 0o644) if len(sys.argv) > 5 else None
    gone = sys.argv[6] if len(sys.argv) > 6 else None
    # No attribute or entry caching: every stat by name reaches the server, as on a share. A file
    # replaced or removed while open is gone at once (hard_remove), as on a server, rather than
    # hidden by the FUSE library in two calls that a server going away could part.
    FUSE(Delayed(root, delay_ms / 1000.0, calls, ops, gone), mount, foreground=True, nothreads=False, attr_timeout=0,
         entry_timeout=0, hard_remove=True)
