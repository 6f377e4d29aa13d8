#pragma once
// A file's extended attributes carried over to the file that replaces it: the attributes other
// programs keep beside a song (a file server's Windows permissions, tags of a desktop's search)
// and its POSIX access control list, which the system keeps as one of them.
#include "io/BinaryFile.h"
#include "io/Outcome.h"

namespace io {

// Puts every extended attribute of `source` onto `target`, as it is. Done at once (one call) for a
// source without any, or on a file system that keeps none. Failed (Attributes) with the system's
// reason when one cannot be read or set (a target that refuses it, a "security." or "trusted."
// attribute without the privilege): the target then has some of them, and is to be thrown away.
Outcome CopyExtendedAttributes(const BinaryFile& source, const BinaryFile& target);

} // namespace io
