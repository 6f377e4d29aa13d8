#include "batch/FrameText.h"

#include "id3v2/TextDecoding.h"
#include "text/Cp1252.h"

namespace batch {

std::string Utf8FromLatin1(std::string_view bytes)
{
    std::string out;
    for (const char b : bytes)
        text::AppendUtf8(out, static_cast<unsigned char>(b));
    return out;
}

std::string Utf8FromFrameText(std::uint8_t encoding, std::string_view stored)
{
    std::string out;
    if (id3v2::IsWideEncoding(encoding)) {
        const id3v2::Utf16ByteOrder order = id3v2::ByteOrderOfUtf16(encoding, stored);
        out = text::Utf8FromUtf16(stored.substr(order.MarkSize), order.BigEndian, U'?');
    } else if (encoding == id3v2::EncodingUtf8) {
        out = text::ValidUtf8(stored);
    } else {
        out = Utf8FromLatin1(stored);
    }
    while (!out.empty() && out.back() == '\0')
        out.pop_back();
    return out;
}

} // namespace batch
