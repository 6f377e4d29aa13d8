#include "audio/StreamFile.h"

#include <algorithm>

namespace audio {

std::int64_t StreamFile::ReadFrom(std::int64_t offset, std::span<std::uint8_t> buffer)
{
    std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
    if (offset < 0)
        return -1;
    const std::int64_t got = song_.ReadAt(offset, buffer);
    if (got > 0)
        bytesRead_ += got;
    return got;
}

bool StreamFile::ReadExactly(std::int64_t offset, std::span<std::uint8_t> buffer)
{
    return ReadFrom(offset, buffer) == static_cast<std::int64_t>(buffer.size());
}

bool StreamFile::ReadTail(std::span<std::uint8_t> buffer)
{
    const std::int64_t wanted = std::min<std::int64_t>(Length(), static_cast<std::int64_t>(buffer.size()));
    std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
    return ReadExactly(Length() - wanted, buffer.last(static_cast<std::size_t>(wanted)));
}

} // namespace audio
