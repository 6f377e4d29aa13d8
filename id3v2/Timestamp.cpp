#include "id3v2/Timestamp.h"

#include <array>
#include <cstdio>

namespace id3v2 {
namespace {

constexpr std::size_t kParts = 5;
constexpr std::size_t kMostDigits = 9; // within an int

bool IsSeparator(char16_t c)
{
    return c == u'-' || c == u'T' || c == u':' || c == u'/' || c == u'.';
}

bool IsBlank(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

std::optional<int> NumberOf(std::u16string_view part)
{
    if (part.empty() || part.size() > kMostDigits)
        return std::nullopt;
    int value = 0;
    for (const char16_t c : part) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return value;
}

bool InRange(const std::optional<int>& part, int least, int most)
{
    return part && *part >= least && *part <= most;
}

std::string TwoByTwo(int first, int second)
{
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "%02d%02d", first, second);
    return text.data();
}

} // namespace

Timestamp TimestampOf(std::u16string_view text)
{
    std::array<std::optional<int>, kParts> parts{};
    std::size_t index = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size() && index < kParts; ++i) {
        if (i < text.size() && !IsSeparator(text[i]) && !IsBlank(text[i]))
            continue;
        parts[index++] = NumberOf(text.substr(start, i - start));
        if (i < text.size() && IsBlank(text[i]))
            while (i + 1 < text.size() && IsBlank(text[i + 1]))
                ++i;
        start = i + 1;
    }
    return {parts[0], parts[1], parts[2], parts[3], parts[4]};
}

std::string YearText(const Timestamp& stamp)
{
    if (!InRange(stamp.Year, 1, 9999))
        return {};
    return TwoByTwo(*stamp.Year / 100, *stamp.Year % 100);
}

std::string DayMonthText(const Timestamp& stamp)
{
    if (!InRange(stamp.Month, 1, 12) || !InRange(stamp.Day, 1, 31))
        return {};
    return TwoByTwo(*stamp.Day, *stamp.Month);
}

std::string HourMinuteText(const Timestamp& stamp)
{
    if (!InRange(stamp.Hour, 0, 23) || !InRange(stamp.Minute, 0, 59))
        return {};
    return TwoByTwo(*stamp.Hour, *stamp.Minute);
}

} // namespace id3v2
