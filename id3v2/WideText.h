#pragma once
// Text frames that a reader of the standard would misread as single-byte text: the 27
// characters that Windows-1252 places at 0x80-0x9F (curly quotes, dashes, the euro sign, ...)
// are control characters under the ISO-8859-1 mark, so a text holding one is written as UTF-16
// with a byte-order mark, little-endian, each byte as its Windows-1252 character.
#include <string>
#include <string_view>

namespace id3v2 {

// Whether the Windows-1252 text is to be written wide: it holds a character of 0x80-0x9F that
// ISO-8859-1 lacks (the five bytes the code page leaves undefined do not count: they read the
// same either way), and no zero byte (which would end a UTF-16 text, where single-byte text keeps
// it as a separator of several texts).
bool WritesAsWideText(std::string_view cp1252);

// FF FE, then each byte's Windows-1252 character as a little-endian UTF-16 code unit (the
// undefined bytes as the control characters of their value). No terminator.
std::string WideText(std::string_view cp1252);

} // namespace id3v2
