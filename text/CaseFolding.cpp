#include "text/CaseFolding.h"

#include "text/CaseFoldingTable.h"
#include "text/Cp1252.h"

#include <algorithm>

namespace text {

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
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        const char32_t codePoint = NextUtf8(utf8, i);
        if (codePoint > 0x10FFFF)
            folded += utf8.substr(start, i - start);
        else if (codePoint < 0x80)
            folded += static_cast<char>(codePoint >= 'A' && codePoint <= 'Z' ? codePoint - 'A' + 'a' : codePoint);
        else
            AppendUtf8(folded, SimpleCaseFold(codePoint));
    }
    return folded;
}

bool IsValidUtf8(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size();)
        if (NextUtf8(bytes, i) > 0x10FFFF)
            return false;
    return true;
}

std::string Utf8OrCp1252(std::string_view bytes)
{
    return IsValidUtf8(bytes) ? std::string(bytes) : Utf8FromCp1252(bytes);
}

} // namespace text
