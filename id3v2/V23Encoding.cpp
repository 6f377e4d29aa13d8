#include "id3v2/V23Encoding.h"

#include "id3v2/EncodedText.h"
#include "id3v2/TextDecoding.h"

namespace id3v2 {
namespace {

using Bytes = std::span<const std::uint8_t>;
using Output = std::vector<std::uint8_t>;

constexpr std::size_t kTimeStampSize = 4;

constexpr std::size_t FixedSize(Field field)
{
    switch (field) {
    case Field::Byte:
        return 1;
    case Field::Language:
        return 3;
    case Field::Date:
        return 8;
    default:
        return 0;
    }
}

void AppendUnits(std::u16string_view units, bool wide, bool terminated, Output& out)
{
    if (wide) {
        AppendWideString(units, out);
    } else {
        for (const char16_t unit : units)
            out.push_back(static_cast<std::uint8_t>(unit)); // single-byte text, widened byte for byte
    }
    if (terminated)
        out.insert(out.end(), wide ? 2 : 1, 0);
}

bool AppendString(Bytes& data, std::uint8_t encoding, Output& out)
{
    const FieldString string = TakeString(data, encoding);
    const std::optional<std::u16string> units = CodeUnits(string.Bytes, encoding);
    if (!units)
        return false;
    AppendUnits(*units, encoding != EncodingLatin1, string.Terminated, out);
    return true;
}

bool AppendStringList(Bytes& data, std::uint8_t encoding, Output& out)
{
    std::u16string joined;
    bool terminated = false;
    for (bool first = true; !data.empty(); first = false) {
        const FieldString string = TakeString(data, encoding);
        const std::optional<std::u16string> units = CodeUnits(string.Bytes, encoding);
        if (!units)
            return false;
        if (!first)
            joined += u'/';
        joined += *units;
        terminated = string.Terminated;
    }
    if (!joined.empty() || terminated)
        AppendUnits(joined, encoding != EncodingLatin1, terminated, out);
    return true;
}

bool AppendField(Field field, Bytes& data, std::uint8_t encoding, Output& out)
{
    switch (field) {
    case Field::Latin1: {
        const FieldString string = TakeString(data, EncodingLatin1);
        out.insert(out.end(), string.Bytes.begin(), string.Bytes.end());
        if (string.Terminated)
            out.push_back(0);
        return true;
    }
    case Field::String:
        return AppendString(data, encoding, out);
    case Field::StringList:
        return AppendStringList(data, encoding, out);
    case Field::Strings:
        while (!data.empty())
            if (!AppendString(data, encoding, out))
                return false;
        return true;
    case Field::TimedStrings:
        while (!data.empty()) {
            if (!AppendString(data, encoding, out) || data.size() < kTimeStampSize)
                return false;
            out.insert(out.end(), data.begin(), data.begin() + kTimeStampSize);
            data = data.subspan(kTimeStampSize);
        }
        return true;
    case Field::Rest:
        out.insert(out.end(), data.begin(), data.end());
        data = {};
        return true;
    case Field::Byte:
    case Field::Language:
    case Field::Date:
        if (data.size() < FixedSize(field))
            return false;
        out.insert(out.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(FixedSize(field)));
        data = data.subspan(FixedSize(field));
        return true;
    case Field::End:
        break;
    }
    return true;
}

} // namespace

std::optional<std::vector<std::uint8_t>> InV23Encoding(std::span<const Field> fields, std::span<const std::uint8_t> content)
{
    if (content.empty() || !IsKnownTextEncoding(content[0]))
        return std::nullopt;
    const std::uint8_t encoding = content[0];
    Output out;
    out.reserve(content.size() * (encoding == EncodingUtf8 ? 2 : 1) + 8);
    out.push_back(encoding == EncodingLatin1 ? EncodingLatin1 : EncodingUtf16);
    Bytes data = content.subspan(1);
    for (const Field field : fields)
        if (!AppendField(field, data, encoding, out))
            return std::nullopt;
    return out;
}

std::optional<TextStrings> TextStringsOf(std::span<const std::uint8_t> content)
{
    if (content.empty() || !IsKnownTextEncoding(content[0]))
        return std::nullopt;
    TextStrings text;
    text.Wide = content[0] != EncodingLatin1;
    for (Bytes data = content.subspan(1); !data.empty();) {
        const FieldString string = TakeString(data, content[0]);
        std::optional<std::u16string> units = CodeUnits(string.Bytes, content[0]);
        if (!units)
            return std::nullopt;
        text.Strings.push_back(std::move(*units));
    }
    return text;
}

std::vector<std::uint8_t> TextFrameData(const TextStrings& text)
{
    Output out{text.Wide ? EncodingUtf16 : EncodingLatin1};
    for (const std::u16string& string : text.Strings)
        AppendUnits(string, text.Wide, true, out);
    return out;
}

} // namespace id3v2
