#include "id3v2/EncodedText.h"

#include "id3v2/TextDecoding.h"

#include <algorithm>

namespace id3v2 {
namespace {

using Bytes = std::span<const std::uint8_t>;

bool HasMark(Bytes bytes, std::uint8_t first, std::uint8_t second)
{
    return bytes.size() >= 2 && bytes[0] == first && bytes[1] == second;
}

std::u16string Utf16Units(Bytes bytes, bool bigEndian)
{
    std::u16string units;
    units.reserve((bytes.size() + 1) / 2);
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const unsigned first = bytes[i];
        const unsigned second = i + 1 < bytes.size() ? bytes[i + 1] : 0;
        if (first == 0 && second == 0)
            break; // a lone zero byte at the end: half a terminator
        units.push_back(static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first));
    }
    return units;
}

void AppendCodePoint(char32_t c, std::u16string& units)
{
    if (c < 0x10000) {
        units.push_back(static_cast<char16_t>(c));
        return;
    }
    c -= 0x10000;
    units.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    units.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

// Strict UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF, no cut sequence.
std::optional<std::u16string> Utf8Units(Bytes bytes)
{
    std::u16string units;
    units.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const std::uint8_t lead = bytes[i];
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3 : lead >= 0xF0 && lead < 0xF5 ? 4 : 0;
        if (length == 0 || i + length > bytes.size())
            return std::nullopt;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80)
                return std::nullopt;
            c = c << 6 | (bytes[i + k] & 0x3F);
        }
        constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < kLeast[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
            return std::nullopt;
        AppendCodePoint(c, units);
        i += length;
    }
    return units;
}

} // namespace

FieldString TakeString(std::span<const std::uint8_t>& data, std::uint8_t encoding)
{
    std::size_t end = data.size();
    std::size_t next = data.size();
    if (IsWideEncoding(encoding)) {
        for (std::size_t i = 0; i + 1 < data.size(); i += 2)
            if (data[i] == 0 && data[i + 1] == 0) {
                end = i;
                next = i + 2;
                break;
            }
    } else {
        const auto zero = std::find(data.begin(), data.end(), std::uint8_t{0});
        if (zero != data.end()) {
            end = static_cast<std::size_t>(zero - data.begin());
            next = end + 1;
        }
    }
    const FieldString string{data.first(end), next != end};
    data = data.subspan(next);
    return string;
}

std::optional<std::u16string> CodeUnits(std::span<const std::uint8_t> bytes, std::uint8_t encoding)
{
    switch (encoding) {
    case EncodingUtf16:
        if (HasMark(bytes, 0xFE, 0xFF))
            return Utf16Units(bytes.subspan(2), true);
        if (HasMark(bytes, 0xFF, 0xFE))
            return Utf16Units(bytes.subspan(2), false);
        return Utf16Units(bytes, false);
    case EncodingUtf16BigEndian:
        return Utf16Units(bytes, true);
    case EncodingUtf8:
        return Utf8Units(bytes);
    default:
        return std::u16string(bytes.begin(), bytes.end());
    }
}

bool IsEmptyString(std::span<const std::uint8_t> bytes, std::uint8_t encoding)
{
    const std::optional<std::u16string> units = CodeUnits(bytes, encoding);
    return units && units->empty();
}

void AppendWideString(std::u16string_view units, std::vector<std::uint8_t>& out)
{
    out.push_back(0xFF);
    out.push_back(0xFE);
    for (const char16_t unit : units) {
        out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        out.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
}

} // namespace id3v2
