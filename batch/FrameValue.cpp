#include "batch/FrameValue.h"

#include "batch/FrameText.h"
#include "batch/PictureType.h"
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

// A language, a MIME type or an image format: as it is when it is a plain word (printable ASCII
// without space, quote or comma), quoted otherwise.
std::string ShownWord(std::string_view bytes)
{
    const bool plain = !bytes.empty() && std::all_of(bytes.begin(), bytes.end(), [](char b) {
        return b >= 0x21 && b < 0x7F && b != '"' && b != ',';
    });
    return plain ? std::string(bytes) : Quoted(Utf8FromLatin1(bytes));
}

std::string QuotedUnlessEmpty(const std::string& utf8)
{
    return utf8.empty() ? std::string() : Quoted(utf8);
}

FrameValue TextFrame(std::string_view content)
{
    const std::uint8_t encoding = content.empty() ? 0 : static_cast<std::uint8_t>(content[0]);
    const std::string text = Utf8FromFrameText(encoding, content.substr(content.empty() ? 0 : 1));
    return {text, Quoted(text), {}};
}

// COMM, USLT: encoding, language, description, text. TXXX, WXXX: encoding, description, then the
// text (the address of a WXXX, single-byte whatever the encoding). The description names the
// frame; a comment's language is part of its value (a write sets it to "eng").
FrameValue DescribedFrame(std::string_view id, std::string_view content)
{
    const bool hasLanguage = id == "COMM" || id == "USLT";
    const id3v2::DescribedFrameParts parts = id3v2::SplitDescribedFrame(content, hasLanguage);
    const std::string language(parts.Language);
    const std::string description = Utf8FromFrameText(parts.Encoding, parts.Description);
    const std::string text =
        Utf8FromFrameText(id == "WXXX" ? std::uint8_t{id3v2::EncodingLatin1} : parts.Encoding, parts.Text);
    const std::string shownLanguage = language.empty() ? std::string() : "(" + ShownWord(language) + ") ";
    return {language + '\0' + description + '\0' + text, shownLanguage + Quoted(text), QuotedUnlessEmpty(description)};
}

FrameValue Popularimeter(Bytes content)
{
    const id3v2::PopularimeterFields fields = id3v2::ParsePopularimeter(content);
    std::string shown = fields.Rating ? "rating " + std::to_string(*fields.Rating) : std::string("no rating");
    if (!fields.Address.empty())
        shown += " from " + Quoted(Utf8FromLatin1(AsText(fields.Address)));
    if (fields.PlayCount)
        shown += ", played " + std::to_string(*fields.PlayCount) + " times";
    // Each player rates under its own address; ours is the one without.
    return {std::string(AsText(content)), shown, QuotedUnlessEmpty(Utf8FromLatin1(AsText(fields.Address)))};
}

// APIC: encoding, MIME type (single-byte, ended by a zero byte), picture type, description,
// data. PIC (version 2.2): encoding, a 3-byte image format, picture type, description, data.
struct PictureParts {
    std::uint8_t encoding = 0;
    std::string_view format; // the MIME type, or the image format
    std::string_view type;   // the picture type's byte; empty when the frame ends before it
    id3v2::TerminatedString description; // its Rest: the picture's data
};

PictureParts SplitPicture(std::string_view id, std::string_view content)
{
    PictureParts parts;
    parts.encoding = content.empty() ? 0 : static_cast<std::uint8_t>(content[0]);
    const std::string_view afterEncoding = content.substr(std::min<std::size_t>(1, content.size()));
    parts.format = afterEncoding.substr(0, 3);
    std::string_view rest = afterEncoding.substr(parts.format.size());
    if (id == "APIC") {
        const id3v2::TerminatedString mime = id3v2::SplitAtTerminator(afterEncoding, id3v2::EncodingLatin1);
        parts.format = mime.Text;
        rest = mime.Rest;
    }
    parts.type = rest.substr(0, 1);
    parts.description = id3v2::SplitAtTerminator(rest.substr(parts.type.size()), parts.encoding);
    return parts;
}

// A picture's value whatever the encoding of its description.
std::string PictureKey(const PictureParts& parts)
{
    return std::string(parts.format) + '\0' + std::string(parts.type) + '\0' +
           Utf8FromFrameText(parts.encoding, parts.description.Text) + '\0' + std::string(parts.description.Rest);
}

std::string PictureIdentity(const PictureParts& parts)
{
    if (parts.type.empty())
        return ShownWord(parts.format);
    return PictureTypeName(static_cast<std::uint8_t>(parts.type[0])) + ", " + ShownWord(parts.format);
}

// UFID, PRIV: the owner (single-byte, ended by a zero byte), then the owner's data.
std::string OwnerIdentity(std::string_view content)
{
    return Quoted(Utf8FromLatin1(id3v2::SplitAtTerminator(content, id3v2::EncodingLatin1).Text));
}

// GEOB: encoding, MIME type (single-byte), file name, description (in the encoding), each ended
// by a zero, then the object.
struct ObjectParts {
    std::uint8_t encoding = 0;
    std::string_view mime;
    std::string fileName;    // UTF-8
    std::string description; // UTF-8
    std::string_view object;
};

ObjectParts SplitObject(std::string_view content)
{
    ObjectParts parts;
    parts.encoding = content.empty() ? 0 : static_cast<std::uint8_t>(content[0]);
    const auto mime = id3v2::SplitAtTerminator(content.substr(content.empty() ? 0 : 1), id3v2::EncodingLatin1);
    const auto fileName = id3v2::SplitAtTerminator(mime.Rest, parts.encoding);
    const auto description = id3v2::SplitAtTerminator(fileName.Rest, parts.encoding);
    parts.mime = mime.Text;
    parts.fileName = Utf8FromFrameText(parts.encoding, fileName.Text);
    parts.description = Utf8FromFrameText(parts.encoding, description.Text);
    parts.object = description.Rest;
    return parts;
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
        return {"\x01unreadable " + std::to_string(frame.StoredSize), "encrypted or unreadable, " + SizeText(frame.StoredSize), {}};
    const Bytes content(*frame.Content);
    const std::string_view id = frame.Id;
    if (IsTextFrameId(id))
        return TextFrame(AsText(content));
    if (id == "COMM" || id == "USLT" || id == "TXXX" || id == "WXXX")
        return DescribedFrame(id, AsText(content));
    if (IsLinkFrameId(id)) {
        const std::string address = Utf8FromFrameText(id3v2::EncodingLatin1, AsText(content));
        return {address, Quoted(address), {}};
    }
    if (id == "POPM")
        return Popularimeter(content);
    FrameValue value{std::string(AsText(content)), SizeText(frame.StoredSize), {}};
    if (id == "APIC" || id == "PIC") {
        const PictureParts picture = SplitPicture(id, AsText(content));
        value.key = PictureKey(picture);
        value.shown = "picture, " + value.shown;
        value.identity = PictureIdentity(picture);
    } else if (id == "UFID" || id == "PRIV") {
        value.identity = OwnerIdentity(AsText(content));
    } else if (id == "GEOB") {
        // Its value whatever the encoding of its texts; named by its MIME type, file name and
        // description.
        const ObjectParts object = SplitObject(AsText(content));
        value.key = std::string(object.mime) + '\0' + object.fileName + '\0' + object.description + '\0' + std::string(object.object);
        value.identity = ShownWord(object.mime) + ", " + Quoted(object.fileName) + ", " + Quoted(object.description);
    }
    return value;
}

} // namespace batch
