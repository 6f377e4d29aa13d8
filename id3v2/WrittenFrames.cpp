#include "id3v2/WrittenFrames.h"

#include "id3v2/EncodedText.h"
#include "id3v2/FrameTable.h"

#include <algorithm>

namespace id3v2 {
namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::string_view kCommentLanguage = "eng";

std::string_view IdIn(const FrameRow& row, std::uint8_t version)
{
    return version == 2 ? row.idV22 : row.idV23;
}

// Whether the description that starts at `offset` of the content (after its encoding byte) is
// empty.
bool HasEmptyDescription(Bytes content, std::size_t offset)
{
    if (content.empty() || content.size() < offset)
        return false;
    Bytes rest = content.subspan(offset);
    const FieldString description = TakeString(rest, content[0]);
    return IsEmptyString(description.Bytes, content[0]);
}

bool IsEnglishWithoutDescription(Bytes content)
{
    const std::size_t languageEnd = 1 + kCommentLanguage.size();
    return content.size() >= languageEnd &&
           std::equal(kCommentLanguage.begin(), kCommentLanguage.end(), content.begin() + 1) &&
           HasEmptyDescription(content, languageEnd);
}

bool IsWrittenAs(const FrameRow& row, Bytes content)
{
    switch (row.write) {
    case WriteAs::Text:
    case WriteAs::TrackNumber:
        return true;
    case WriteAs::Comment:
        return IsEnglishWithoutDescription(content);
    case WriteAs::Link:
        return HasEmptyDescription(content, 1);
    case WriteAs::RatingByte:
        return !content.empty() && content[0] == 0; // no e-mail address before its terminator
    case WriteAs::Never:
        break;
    }
    return false;
}

} // namespace

bool IsWrittenTextFrame(std::string_view id, std::uint8_t version)
{
    return std::any_of(kFrameTable.begin(), kFrameTable.end(), [&](const FrameRow& row) {
        return IdIn(row, version) == id && (row.write == WriteAs::Text || row.write == WriteAs::TrackNumber);
    });
}

bool IsWrittenFrame(std::string_view id, std::uint8_t version, std::span<const std::uint8_t> content)
{
    return std::any_of(kFrameTable.begin(), kFrameTable.end(),
                       [&](const FrameRow& row) { return IdIn(row, version) == id && IsWrittenAs(row, content); });
}

} // namespace id3v2
