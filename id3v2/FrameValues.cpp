#include "id3v2/FrameValues.h"

#include "id3v2/DescribedFrame.h"
#include "id3v2/GenreTable.h"
#include "id3v2/TextDecoding.h"
#include "text/IntegerText.h"

#include <limits>

namespace id3v2 {
namespace {

// One leading genre reference "(...)" of a genre text.
struct GenreReference {
    std::string_view name; // what stands between the parentheses
    std::size_t length = 0; // bytes taken, parentheses included; 0 when the text starts with none
};

bool IsDecimal(std::string_view digits)
{
    if (digits.empty())
        return false;
    for (char c : digits)
        if (c < '0' || c > '9')
            return false;
    return true;
}

GenreReference LeadingReference(std::string_view text)
{
    if (text.size() < 2 || text[0] != '(' || text[1] == '(')
        return {};
    const std::size_t close = text.find(')');
    if (close == std::string_view::npos)
        return {};
    const std::string_view name = text.substr(1, close - 1);
    if (name != "RX" && name != "CR" && !IsDecimal(name))
        return {};
    return {name, close + 1};
}

std::string GenreOfReference(std::string_view name)
{
    if (name == "RX")
        return "Remix";
    if (name == "CR")
        return "Cover";
    const auto number = text::ParseInt32(name);
    if (!number || *number < 0 || static_cast<std::size_t>(*number) >= kGenreCount)
        return {};
    return std::string(GenreTable[static_cast<std::size_t>(*number)]);
}

} // namespace

std::string TextOrFallback(std::string_view data, std::string_view fallback)
{
    std::string value = DecodeText(data);
    return value.empty() ? DecodeText(fallback) : value;
}

std::uint16_t TrackNumber(std::string_view data)
{
    const std::string value = DecodeText(data);
    const std::string_view number = std::string_view(value).substr(0, value.find('/'));
    const auto parsed = text::ParseInt32(number);
    if (!parsed || *parsed < 0 || *parsed > std::numeric_limits<std::uint16_t>::max())
        return 0;
    return static_cast<std::uint16_t>(*parsed);
}

std::string YearOrDate(std::string_view data, std::string_view dateData)
{
    std::string year = DecodeText(data);
    if (year.empty())
        year = DecodeText(dateData).substr(0, 4);
    return year;
}

std::string GenreName(std::string_view data)
{
    const std::string value = DecodeText(data);
    std::string_view rest = value;
    std::string_view lastReference;
    for (GenreReference ref = LeadingReference(rest); ref.length > 0; ref = LeadingReference(rest)) {
        lastReference = ref.name;
        rest.remove_prefix(ref.length);
    }
    if (rest.starts_with("(("))
        rest.remove_prefix(1);
    if (!rest.empty() || lastReference.empty())
        return std::string(rest);
    return GenreOfReference(lastReference);
}

std::string TextAfterDescription(std::string_view data, bool withLanguage)
{
    if (data.empty())
        return {};
    const DescribedFrameParts parts = SplitDescribedFrame(data, withLanguage);
    // A description without its terminator removes nothing: the text is all after the language.
    const std::string_view text = parts.Terminated ? parts.Text : parts.Description;
    // A comment's text keeps the frame's encoding; a link's address is always single-byte.
    std::string encoded(1, static_cast<char>(withLanguage ? parts.Encoding : std::uint8_t{EncodingLatin1}));
    encoded.append(text);
    return DecodeText(encoded);
}

} // namespace id3v2
