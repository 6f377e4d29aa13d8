#pragma once
// Copies the rest of one open file into another, in the kernel where the file system allows.
#include "io/BinaryFile.h"
#include "io/Outcome.h"

#include <cstdint>

namespace io {

// Copies the bytes of `source` from sourceOffset to its end into `target` at targetOffset.
// Failed on any read (Read), write (Write) or copy in the kernel (Copy) error, a full disk included.
Outcome CopyToEnd(const BinaryFile& source, std::int64_t sourceOffset, const BinaryFile& target, std::int64_t targetOffset);

} // namespace io
