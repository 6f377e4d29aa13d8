#include "tagkit/FileExtension.h"

#include <string>

namespace tagkit {

std::string_view ExtensionOf(std::string_view fileName)
{
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos)
        return {};
    const std::string_view extension = fileName.substr(dot);
    if (extension.find_first_of("/\\:") != std::string_view::npos)
        return {};
    return extension;
}

bool IsMp3Extension(std::string_view extension)
{
    std::string upper(extension);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper == ".MP3" || upper == "MP3";
}

} // namespace tagkit
