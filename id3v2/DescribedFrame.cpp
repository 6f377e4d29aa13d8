#include "id3v2/DescribedFrame.h"

#include "id3v2/TextDecoding.h"

namespace id3v2 {

TerminatedString SplitAtTerminator(std::string_view bytes, std::uint8_t encoding)
{
    std::size_t end = std::string_view::npos;
    std::size_t terminatorSize = 1;
    if (IsWideEncoding(encoding)) {
        terminatorSize = 2;
        for (std::size_t i = 0; i + 1 < bytes.size() && end == std::string_view::npos; i += 2)
            if (bytes[i] == '\0' && bytes[i + 1] == '\0')
                end = i;
    } else {
        end = bytes.find('\0');
    }
    if (end == std::string_view::npos)
        return {bytes, {}, false};
    return {bytes.substr(0, end), bytes.substr(end + terminatorSize), true};
}

DescribedFrameParts SplitDescribedFrame(std::string_view data, bool withLanguage)
{
    constexpr std::size_t kLanguageSize = 3;
    DescribedFrameParts parts;
    if (data.empty())
        return parts;
    parts.Encoding = static_cast<std::uint8_t>(data[0]);
    std::string_view rest = data.substr(1);
    if (withLanguage) {
        parts.Language = rest.substr(0, kLanguageSize);
        rest.remove_prefix(parts.Language.size());
    }
    const TerminatedString description = SplitAtTerminator(rest, parts.Encoding);
    parts.Description = description.Text;
    parts.Text = description.Rest;
    parts.Terminated = description.Terminated;
    return parts;
}

} // namespace id3v2
