#include "id3v2/WideText.h"

#include "text/Cp1252.h"

#include <algorithm>

namespace id3v2 {

bool WritesAsWideText(std::string_view cp1252)
{
    return cp1252.find('\0') == std::string_view::npos && std::any_of(cp1252.begin(), cp1252.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x80 && byte <= 0x9F && text::CodePointFromCp1252(byte) != byte;
    });
}

std::string WideText(std::string_view cp1252)
{
    std::string out = "\xFF\xFE";
    out.reserve(2 + 2 * cp1252.size());
    for (char c : cp1252) {
        // Every character of the code page lies in the Basic Multilingual Plane: one code unit.
        const char32_t unit = text::CodePointFromCp1252(static_cast<unsigned char>(c));
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>(unit >> 8));
    }
    return out;
}

} // namespace id3v2
