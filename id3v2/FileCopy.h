#pragma once
// Copies the rest of one open file into another, in the kernel where the file system allows.
#include "id3v2/BinaryFile.h"

#include <cstdint>

namespace id3v2 {

// Copies the bytes of `source` from sourceOffset to its end into `target` at targetOffset.
// False on any read or write error (a full disk included).
bool CopyToEnd(const BinaryFile& source, std::int64_t sourceOffset, const BinaryFile& target, std::int64_t targetOffset);

} // namespace id3v2
