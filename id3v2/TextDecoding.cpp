#include "id3v2/TextDecoding.h"

#include "text/Cp1252.h"
#include "text/Trim.h"

namespace id3v2 {
namespace {

std::string TrimmedCopy(std::string_view bytes)
{
    return std::string(text::TrimBlanks(bytes));
}

char16_t CodeUnitAt(std::string_view bytes, std::size_t offset, bool bigEndian)
{
    const auto first = static_cast<unsigned char>(bytes[offset]);
    const auto second = static_cast<unsigned char>(bytes[offset + 1]);
    return bigEndian ? static_cast<char16_t>(first << 8 | second) : static_cast<char16_t>(second << 8 | first);
}

// UTF-16 code units, two bytes each, up to the first zero unit, in the byte order of the
// encoding and the text's byte-order mark (which is dropped).
std::string DecodeUtf16(std::uint8_t encoding, std::string_view bytes)
{
    const Utf16ByteOrder order = ByteOrderOfUtf16(encoding, bytes);
    std::string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t offset = order.MarkSize; offset + 1 < bytes.size(); offset += 2) {
        const char16_t unit = CodeUnitAt(bytes, offset, order.BigEndian);
        if (unit == 0)
            break;
        out.push_back(text::Cp1252FromCodePoint(unit));
    }
    return TrimmedCopy(out);
}

std::string DecodeUtf8(std::string_view bytes)
{
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kUtf8Mark))
        bytes.remove_prefix(kUtf8Mark.size());
    return TrimmedCopy(text::Cp1252FromUtf8(bytes));
}

} // namespace

Utf16ByteOrder ByteOrderOfUtf16(std::uint8_t encoding, std::string_view text)
{
    if (text.starts_with("\xFF\xFE"))
        return {false, 2};
    if (text.starts_with("\xFE\xFF"))
        return {true, 2};
    return {encoding == EncodingUtf16BigEndian, 0};
}

std::string DecodeText(std::string_view data)
{
    if (data.empty())
        return {};
    const std::string_view body = data.substr(1);
    switch (static_cast<std::uint8_t>(data[0])) {
    case EncodingUtf16:
    case EncodingUtf16BigEndian:
        return DecodeUtf16(static_cast<std::uint8_t>(data[0]), body);
    case EncodingUtf8:
        return DecodeUtf8(body);
    default:
        // The encoding byte itself (0x00) goes with the trim, as do the zero bytes after the text.
        return TrimmedCopy(data);
    }
}

} // namespace id3v2
