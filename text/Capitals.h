#pragma once
// The search text's capitals: every letter becomes its capital where that capital is a single
// character of Windows-1252 ("ç" gives "Ç", "ÿ" gives "Ÿ", "ı" gives "I"); other letters stay
// ("ß", "µ"). The window's search box applies the rule as it is typed; the command line applies it
// to its search argument.
#include <string>
#include <string_view>

namespace text {

// The capital of one code point by that rule (the code point itself when it has none).
char32_t SearchCapital(char32_t codePoint);

// UTF-8 text with the rule applied, in Windows-1252 ('?' for what the code page lacks).
std::string Cp1252Capitals(std::string_view utf8);

} // namespace text
