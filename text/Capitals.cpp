#include "text/Capitals.h"

#include "text/Cp1252.h"

namespace text {

char32_t SearchCapital(char32_t c)
{
    // Latin-1 small letters, but for ß, whose capital is no single character, and ÿ, whose
    // capital Ÿ the code page has at 0x9F.
    if ((c >= U'a' && c <= U'z') || (c >= U'\u00E0' && c <= U'\u00FE' && c != U'\u00F7'))
        return c - 0x20;
    switch (c) {
    case U'\u00FF': return U'\u0178'; // ÿ Ÿ
    case U'\u0161': return U'\u0160'; // š Š
    case U'\u0153': return U'\u0152'; // œ Œ
    case U'\u017E': return U'\u017D'; // ž Ž
    case U'\u0131': return U'I';      // dotless ı
    case U'\u017F': return U'S';      // long ſ
    default: return c;
    }
}

std::string Cp1252Capitals(std::string_view utf8)
{
    std::string out;
    for (char32_t c : CodePointsFromUtf8(utf8))
        out += Cp1252FromCodePoint(SearchCapital(c));
    return out;
}

} // namespace text
