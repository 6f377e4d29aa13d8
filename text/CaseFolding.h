#pragma once
// Names compared as Windows compares file names: letter case ignored, by Unicode's simple case
// folding (one code point for one), so that "CANÇÃO" and "canção", "Ÿ" and "ÿ" are one name.
#include <string>
#include <string_view>

namespace text {

// The code point simple case folding gives for c (c itself when folding leaves it alone).
char32_t SimpleCaseFold(char32_t c);

// UTF-8 text with every code point folded; bytes of invalid sequences stay as they are.
std::string FoldCase(std::string_view utf8);

// Whether the bytes are valid UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Text of unknown encoding as UTF-8: the bytes themselves when they are valid UTF-8, else read
// as Windows-1252 (a file saved by an old Windows editor, a name written by an old file server).
std::string Utf8OrCp1252(std::string_view bytes);

} // namespace text
