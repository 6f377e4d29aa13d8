#pragma once
// File-name extensions as the toolkit and the song mapping compare them.
#include <string_view>

namespace tagkit {

// The text from the last "." to the end, dot included, provided no path delimiter ("/", "\"
// or ":") stands after that dot; otherwise empty. Letter case is kept.
std::string_view ExtensionOf(std::string_view fileName);

// True when the extension, with only its ASCII letters upper-cased, reads exactly ".MP3" or
// "MP3".
bool IsMp3Extension(std::string_view extension);

} // namespace tagkit
