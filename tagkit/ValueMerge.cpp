#include "tagkit/ValueMerge.h"

#include "tagkit/RecordTable.h"
#include "text/IntegerText.h"
#include "text/Trim.h"

namespace tagkit {
namespace {

// The given value when there is one, else the inspected one.
const std::string& Pick(const std::string& given, const std::string& inspected)
{
    return given.empty() ? inspected : given;
}

// A track number as the tag can hold it; a number outside 0..65535 counts as not given rather
// than wrapping around. Text that is no integer is an error.
std::optional<std::uint16_t> TrackNumber(const std::string& text)
{
    const std::optional<std::int32_t> number = text::ParseInt32(text);
    if (!number)
        throw ConversionError("'" + text + "' is not a valid integer value");
    if (*number < 0 || *number > 0xFFFF)
        return std::nullopt;
    return static_cast<std::uint16_t>(*number);
}

// A rating byte: text that is no integer, the empty text and numbers outside 0..255 give 0.
std::uint8_t RatingByte(const std::string& text)
{
    const std::optional<std::int32_t> number = text::ParseInt32(text);
    if (!number || *number < 0 || *number > 0xFF)
        return 0;
    return static_cast<std::uint8_t>(*number);
}

void SetTrack(id3v2::TagValues& tag, const std::string& given, std::optional<std::uint16_t> inspected)
{
    std::optional<std::uint16_t> track;
    if (!given.empty())
        track = TrackNumber(given);
    if (!track)
        track = inspected;
    if (track)
        tag.Track = *track;
}

void SetText(id3v2::TagValues& tag, id3v2::Row row, std::string_view value)
{
    tag.Text[row] = text::TrimBlanks(value);
}

} // namespace

void MergeValues(id3v2::TagValues& tag, const TagValues& given, const Tag& inspected, const InspectedNumbers& numbers)
{
    for (const RecordRow& r : kRecordTable) {
        switch (r.merge) {
        case Merge::GivenOrFile:
            // Numbers come from the values inspection found, texts from the record.
            switch (id3v2::kFrameTable[r.row].read) {
            case id3v2::ReadAs::TrackNumber:
                SetTrack(tag, given.*r.given, numbers.track);
                break;
            case id3v2::ReadAs::RatingByte:
                tag.Rating = !(given.*r.given).empty() ? RatingByte(given.*r.given) : numbers.rating;
                break;
            default:
                SetText(tag, r.row, Pick(given.*r.given, inspected.*r.field));
                break;
            }
            break;
        case Merge::FileOnly:
            SetText(tag, r.row, inspected.*r.field);
            break;
        case Merge::Mark:
            SetText(tag, r.row, kCatalogueMark);
            break;
        case Merge::Kept:
            break;
        }
    }
}

} // namespace tagkit
