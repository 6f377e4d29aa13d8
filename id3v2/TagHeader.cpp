#include "id3v2/TagHeader.h"

#include "id3v2/ByteOrder.h"
#include "id3v2/HeaderFlags.h"
#include "io/BinaryFile.h"

#include <algorithm>

namespace id3v2 {

void TagHeader::SetBytes(std::span<const std::uint8_t> bytes)
{
    std::array<std::uint8_t, kHeaderSize> header = Bytes();
    std::copy_n(bytes.begin(), std::min(bytes.size(), header.size()), header.begin());
    std::copy_n(header.begin(), 3, Identifier.begin());
    MajorVersion = header[3];
    Revision = header[4];
    Flags = header[5];
    std::copy_n(header.begin() + 6, 4, SizeBytes.begin());
}

std::array<std::uint8_t, kHeaderSize> TagHeader::Bytes() const
{
    return {Identifier[0], Identifier[1], Identifier[2], MajorVersion, Revision, Flags,
            SizeBytes[0], SizeBytes[1], SizeBytes[2], SizeBytes[3]};
}

bool ReadTagHeader(const std::string& path, TagHeader& header, std::int64_t& fileLength)
{
    io::BinaryFile file;
    if (!file.Open(path, io::BinaryFile::Mode::Read))
        return false;
    std::array<std::uint8_t, kHeaderSize> bytes{};
    const std::int64_t got = file.ReadAt(0, bytes);
    if (got < 0)
        return false;
    header.SetBytes(std::span(bytes).first(static_cast<std::size_t>(got)));
    fileLength = file.Size();
    return got == static_cast<std::int64_t>(kHeaderSize) && fileLength >= 0;
}

std::int32_t TotalTagSize(const TagHeader& header, std::int64_t fileLength)
{
    const auto& b = header.SizeBytes;
    std::int64_t total = (std::int64_t{b[0]} << 21) + (std::int64_t{b[1]} << 14) + (std::int64_t{b[2]} << 7) + b[3];
    total += static_cast<std::int64_t>(kHeaderSize);
    if (header.Flags & flags::kTagFooter)
        total += static_cast<std::int64_t>(kHeaderSize);
    return total > fileLength ? 0 : static_cast<std::int32_t>(total);
}

std::optional<std::uint32_t> StandardBodySize(const TagHeader& header)
{
    return SyncsafeStrict(header.SizeBytes.data());
}

std::optional<std::int64_t> StandardTagSize(const TagHeader& header)
{
    const std::optional<std::uint32_t> body = StandardBodySize(header);
    if (!body)
        return std::nullopt;
    const bool footer = header.MajorVersion == 4 && (header.Flags & flags::kTagFooter);
    return static_cast<std::int64_t>(kHeaderSize) + *body + (footer ? static_cast<std::int64_t>(kHeaderSize) : 0);
}

} // namespace id3v2
