#pragma once
// Windows-1252, the single-byte code page of every string in the system: catalogue values,
// file paths and tag values stay in it as bytes until the window shows them.
#include <cstddef>
#include <string>
#include <string_view>

namespace text {

// The Unicode code point of one Windows-1252 byte. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same value,
// as the platform's conversion does, so every byte survives a round trip.
char32_t CodePointFromCp1252(unsigned char byte);

// The Windows-1252 byte of a code point; '?' for a code point the code page lacks.
char Cp1252FromCodePoint(char32_t codePoint);

// Appends one code point (at most U+10FFFF) to out in UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);

// Whole-string conversions between Windows-1252 bytes and UTF-8. Invalid UTF-8 sequences and
// code points the code page lacks become '?'.
std::string Utf8FromCp1252(std::string_view bytes);
std::string Cp1252FromUtf8(std::string_view utf8);

// Decodes one UTF-8 sequence at bytes[i], advancing i past it; a malformed sequence gives a code
// point above U+10FFFF. A sequence cut short, by the end of the text or by a byte that cannot
// continue it, is one malformed sequence made of its lead and the continuation bytes it has (the
// maximal subpart): the byte that cut it starts the next one.
char32_t NextUtf8(std::string_view bytes, std::size_t& i);

// The code points of UTF-8 text; an invalid sequence gives one code point above U+10FFFF.
std::u32string CodePointsFromUtf8(std::string_view utf8);

// UTF-8 with every invalid sequence replaced by '?'.
std::string ValidUtf8(std::string_view utf8);

// UTF-16 code units (without a byte order mark) as UTF-8: surrogate pairs joined, an unpaired
// surrogate replaced by `unpaired`, an odd last byte dropped.
std::string Utf8FromUtf16(std::string_view bytes, bool bigEndian, char32_t unpaired);

} // namespace text
