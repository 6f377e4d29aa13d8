#include "text/CaseFolding.h"

#include "text/CaseFoldingTable.h"
#include "text/Cp1252.h"

#include <algorithm>

namespace text {
namespace {

// The length of the valid UTF-8 sequence at the start of bytes and its code point; 0 when
// there is none.
std::size_t DecodeOne(std::string_view bytes, char32_t& codePoint)
{
    const auto byte = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

char32_t SimpleCaseFold(char32_t c)
{
    const auto found = std::lower_bound(kSimpleCaseFolding.begin(), kSimpleCaseFolding.end(), c,
                                        [](const std::pair<char32_t, char32_t>& entry, char32_t key) { return entry.first < key; });
    return found != kSimpleCaseFolding.end() && found->first == c ? found->second : c;
}

std::string FoldCase(std::string_view utf8)
{
    std::string folded;
    folded.reserve(utf8.size());
    while (!utf8.empty()) {
        char32_t codePoint = 0;
        const std::size_t length = DecodeOne(utf8, codePoint);
        if (length == 0) {
            folded += utf8.front();
            utf8.remove_prefix(1);
            continue;
        }
        if (codePoint < 0x80)
            folded += static_cast<char>(codePoint >= 'A' && codePoint <= 'Z' ? codePoint - 'A' + 'a' : codePoint);
        else
            AppendUtf8(folded, SimpleCaseFold(codePoint));
        utf8.remove_prefix(length);
    }
    return folded;
}

bool IsValidUtf8(std::string_view bytes)
{
    while (!bytes.empty()) {
        char32_t codePoint = 0;
        const std::size_t length = DecodeOne(bytes, codePoint);
        if (length == 0)
            return false;
        bytes.remove_prefix(length);
    }
    return true;
}

std::string Utf8OrCp1252(std::string_view bytes)
{
    return IsValidUtf8(bytes) ? std::string(bytes) : Utf8FromCp1252(bytes);
}

} // namespace text
