#include "id3v2/ID3v2.h"

#include "text/Trim.h"

namespace id3v2 {

void TID3v2::ResetData()
{
    tagFound_ = false;
    majorVersion_ = 0;
    tagSize_ = 0;
    values_ = TagValues{};
}

void TID3v2::SetText(Row row, std::string_view value)
{
    values_.Text[row] = text::TrimBlanks(value);
}

bool TID3v2::ReadFromFile(const std::string& FileName)
{
    ResetData();
    TagInfo info;
    const bool ok = ReadTagHeader(FileName, info);
    if (ok && info.HasIdentifier()) {
        tagFound_ = true;
        majorVersion_ = info.MajorVersion;
        tagSize_ = TotalTagSize(info);
    }
    return ok;
}

bool TID3v2::SaveToFile(const std::string&) const
{
    return false;
}

} // namespace id3v2
