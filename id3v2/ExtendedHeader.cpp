#include "id3v2/ExtendedHeader.h"

#include "id3v2/ByteOrder.h"

namespace id3v2 {

std::optional<std::int64_t> ExtendedHeaderLength(std::span<const std::uint8_t, 4> sizeBytes, std::uint8_t version,
                                                 ExtendedSizeRule rule)
{
    constexpr std::int64_t kSmallestV24 = 6; // size, flag count, one flag byte
    const std::uint8_t* size = sizeBytes.data();
    if (version == 3)
        return 4 + std::int64_t{BigEndian(size, 4)};
    if (rule == ExtendedSizeRule::Lenient)
        return SyncsafeMasked(size);
    const std::optional<std::uint32_t> counted = SyncsafeStrict(size);
    if (!counted || *counted < kSmallestV24)
        return std::nullopt;
    return *counted;
}

} // namespace id3v2
