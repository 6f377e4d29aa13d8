#pragma once
// Which file a stat(2) answer describes, for the io code that asks the system itself.
#include "io/BinaryFile.h"

#include <sys/stat.h>

namespace io {

inline FileIdentity IdentityOf(const struct stat& status)
{
    return {static_cast<unsigned long long>(status.st_dev), static_cast<unsigned long long>(status.st_ino)};
}

} // namespace io
