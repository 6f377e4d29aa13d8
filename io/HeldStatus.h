#pragma once
// stat(2) answers from what the system already holds of a file, without asking a file server
// again (statx with AT_STATX_DONT_SYNC), for the io code that asks the system itself.
//
// The file's type and identity never change; its length, permissions and owner are as fresh as
// the last look the system took, which an open or a lookup by name has just taken (a network
// file system checks a file's attributes at every open, and a name is looked up again once its
// entry may be stale). Where statx is missing, a plain stat answers.
#include <sys/stat.h>

namespace io {

// Of an open file.
bool HeldStatusOf(int fd, struct stat& status);
// Of the file a path names, through its links: the name itself is looked up as by stat.
bool HeldStatusOf(const char* path, struct stat& status);

} // namespace io
