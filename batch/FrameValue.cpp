#include "batch/FrameValue.h"

#include "batch/FrameText.h"
#include "batch/TerminalText.h"
#include "id3v2/DescribedFrame.h"
#include "id3v2/Popularimeter.h"
#include "id3v2/TextDecoding.h"

#include <algorithm>
#include <span>
#include <string_view>

namespace batch {
namespace {

using Bytes = std::span<const std::uint8_t>;

std::string_view AsText(Bytes bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::string SizeText(std::int64_t size)
{
    return std::to_string(size) + " bytes";
}

FrameValue TextFrame(std::string_view content)
{
    const std::uint8_t encoding = content.empty() ? 0 : static_cast<std::uint8_t>(content[0]);
    const std::string text = Utf8FromFrameText(encoding, content.substr(content.empty() ? 0 : 1));
    return {text, Quoted(text)};
}

// COMM, USLT: encoding, language, description, text. TXXX, WXXX: encoding, description, then the
// text (the address of a WXXX, single-byte whatever the encoding).
FrameValue DescribedFrame(std::string_view id, std::string_view content)
{
    const bool hasLanguage = id == "COMM" || id == "USLT";
    const id3v2::DescribedFrameParts parts = id3v2::SplitDescribedFrame(content, hasLanguage);
    const std::string language(parts.Language);
    const std::string description = Utf8FromFrameText(parts.Encoding, parts.Description);
    const std::string text =
        Utf8FromFrameText(id == "WXXX" ? std::uint8_t{id3v2::EncodingLatin1} : parts.Encoding, parts.Text);
    // The language always (a write sets it to "eng"), the description when there is one.
    const bool plainLanguage =
        std::all_of(language.begin(), language.end(), [](char b) { return b >= 0x21 && b < 0x7F && b != '"'; });
    std::string qualifier = !hasLanguage ? std::string() : plainLanguage ? language : Quoted(Utf8FromLatin1(language));
    if (!description.empty())
        qualifier += (qualifier.empty() ? "" : ", ") + Quoted(description);
    const std::string shown = (qualifier.empty() ? "" : "(" + qualifier + ") ") + Quoted(text);
    return {language + '\0' + description + '\0' + text, shown};
}

FrameValue Popularimeter(Bytes content)
{
    const id3v2::PopularimeterFields fields = id3v2::ParsePopularimeter(content);
    std::string shown = fields.Rating ? "rating " + std::to_string(*fields.Rating) : std::string("no rating");
    if (!fields.Address.empty())
        shown += " from " + Quoted(Utf8FromLatin1(AsText(fields.Address)));
    if (fields.PlayCount)
        shown += ", played " + std::to_string(*fields.PlayCount) + " times";
    return {std::string(AsText(content)), shown};
}

bool IsTextFrameId(std::string_view id)
{
    return id.size() == 4 && id[0] == 'T' && id != "TXXX";
}

bool IsLinkFrameId(std::string_view id)
{
    return id.size() == 4 && id[0] == 'W' && id != "WXXX";
}

} // namespace

FrameValue ValueOfFrame(const id3v2::ListedFrame& frame)
{
    if (!frame.Content)
        return {"\x01unreadable " + std::to_string(frame.StoredSize), "encrypted or unreadable, " + SizeText(frame.StoredSize)};
    const Bytes content(*frame.Content);
    const std::string_view id = frame.Id;
    if (IsTextFrameId(id))
        return TextFrame(AsText(content));
    if (id == "COMM" || id == "USLT" || id == "TXXX" || id == "WXXX")
        return DescribedFrame(id, AsText(content));
    if (IsLinkFrameId(id)) {
        const std::string address = Utf8FromFrameText(id3v2::EncodingLatin1, AsText(content));
        return {address, Quoted(address)};
    }
    if (id == "POPM")
        return Popularimeter(content);
    const std::string kind = id == "APIC" || id == "PIC" ? "picture, " : "";
    return {std::string(AsText(content)), kind + SizeText(frame.StoredSize)};
}

} // namespace batch
