#include "io/ByteSource.h"

#include <algorithm>

namespace io {

std::int64_t MemoryBytes::ReadAt(std::int64_t offset, std::span<std::uint8_t> buffer)
{
    lastReadFailed_ = offset < 0;
    if (lastReadFailed_)
        return -1;
    const std::span<const std::uint8_t> bytes = View(offset, static_cast<std::int64_t>(buffer.size()));
    std::copy(bytes.begin(), bytes.end(), buffer.begin());
    return static_cast<std::int64_t>(bytes.size());
}

std::span<const std::uint8_t> MemoryBytes::View(std::int64_t offset, std::int64_t count)
{
    lastReadFailed_ = offset < 0 || count < 0;
    if (lastReadFailed_ || offset >= Length())
        return {};
    return bytes_.subspan(static_cast<std::size_t>(offset),
                          static_cast<std::size_t>(std::min(count, Length() - offset)));
}

} // namespace io
