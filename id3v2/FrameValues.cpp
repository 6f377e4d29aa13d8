#include "id3v2/FrameValues.h"

#include "id3v2/GenreTable.h"
#include "id3v2/TextDecoding.h"
#include "text/IntegerText.h"

#include <algorithm>
#include <limits>

namespace id3v2 {
namespace {

constexpr std::size_t kLanguageSize = 3;

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

// Offset just past the description that starts at `start`, with its terminator; `start` when
// the description has no terminator.
std::size_t SkipDescription(std::string_view data, std::size_t start, std::uint8_t encoding)
{
    if (IsWideEncoding(encoding)) {
        for (std::size_t i = start; i + 1 < data.size(); i += 2)
            if (data[i] == '\0' && data[i + 1] == '\0')
                return i + 2;
        return start;
    }
    const std::size_t zero = data.find('\0', start);
    return zero == std::string_view::npos ? start : zero + 1;
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
    const auto encoding = static_cast<std::uint8_t>(data[0]);
    const std::size_t descriptionStart = std::min(data.size(), withLanguage ? 1 + kLanguageSize : std::size_t{1});
    const std::size_t textStart = SkipDescription(data, descriptionStart, encoding);
    const std::string_view remainder = data.substr(textStart);
    // A comment's text keeps the frame's encoding; a link's address is always single-byte.
    std::string encoded(1, withLanguage ? static_cast<char>(encoding) : static_cast<char>(EncodingLatin1));
    encoded.append(remainder);
    return DecodeText(encoded);
}

} // namespace id3v2
