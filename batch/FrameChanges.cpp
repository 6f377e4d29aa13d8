#include "batch/FrameChanges.h"

#include "id3v2/Popularimeter.h"
#include "id3v2/TextDecoding.h"
#include "text/Cp1252.h"
#include "batch/TerminalText.h"

#include <algorithm>
#include <map>
#include <span>

namespace batch {
namespace {

using Bytes = std::span<const std::uint8_t>;

std::string AsString(Bytes bytes)
{
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// ISO-8859-1 as UTF-8: each byte is its code point.
std::string Latin1Text(Bytes bytes)
{
    std::string out;
    for (std::uint8_t b : bytes)
        text::AppendUtf8(out, b);
    return out;
}

// Text in the frame's encoding as UTF-8, as a player that follows the standard reads it:
// single-byte text as ISO-8859-1 (so Windows-1252 punctuation stored there, 0x80 to 0x9F, reads
// as control characters), UTF-16 by its byte order mark (little-endian without one) or
// big-endian, UTF-8 as it is. Terminating zeros are dropped; zeros inside stay (they separate a
// list of texts).
std::string Utf8Text(std::uint8_t encoding, Bytes bytes)
{
    std::string out;
    const std::string_view stored(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (id3v2::IsWideEncoding(encoding)) {
        bool bigEndian = encoding == id3v2::EncodingUtf16BigEndian;
        std::size_t start = 0;
        if (stored.starts_with("\xFF\xFE") || stored.starts_with("\xFE\xFF")) {
            bigEndian = bytes[0] == 0xFE;
            start = 2;
        }
        out = text::Utf8FromUtf16(stored.substr(start), bigEndian, U'?');
    } else if (encoding == id3v2::EncodingUtf8) {
        out = text::ValidUtf8(stored);
    } else {
        out = Latin1Text(bytes);
    }
    while (!out.empty() && out.back() == '\0')
        out.pop_back();
    return out;
}

// The bytes up to the zero that ends a string in the encoding (two zero bytes, aligned, for
// UTF-16), and the bytes after that zero.
std::pair<Bytes, Bytes> SplitAtTerminator(std::uint8_t encoding, Bytes bytes)
{
    if (id3v2::IsWideEncoding(encoding)) {
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            if (bytes[i] == 0 && bytes[i + 1] == 0)
                return {bytes.first(i), bytes.subspan(i + 2)};
    } else {
        const auto zero = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
        if (zero != bytes.end()) {
            const auto at = static_cast<std::size_t>(zero - bytes.begin());
            return {bytes.first(at), bytes.subspan(at + 1)};
        }
    }
    return {bytes, Bytes{}};
}

std::string SizeText(std::int64_t size)
{
    return std::to_string(size) + " bytes";
}

FrameValue TextFrame(Bytes content)
{
    const std::uint8_t encoding = content.empty() ? 0 : content[0];
    const std::string text = Utf8Text(encoding, content.empty() ? content : content.subspan(1));
    return {text, Quoted(text)};
}

// COMM, USLT: encoding, language, description, text. TXXX, WXXX: encoding, description, then the
// text (the address of a WXXX, single-byte whatever the encoding).
FrameValue DescribedFrame(const id3v2::ListedFrame& frame, Bytes content)
{
    const bool hasLanguage = frame.Id == "COMM" || frame.Id == "USLT";
    const std::uint8_t encoding = content.empty() ? 0 : content[0];
    Bytes rest = content.empty() ? content : content.subspan(1);
    const Bytes languageBytes = hasLanguage ? rest.first(std::min<std::size_t>(3, rest.size())) : Bytes{};
    const std::string language = AsString(languageBytes);
    rest = rest.subspan(languageBytes.size());
    const auto [description, value] = SplitAtTerminator(encoding, rest);
    const std::string descriptionText = Utf8Text(encoding, description);
    const std::string text = frame.Id == "WXXX" ? Utf8Text(0, value) : Utf8Text(encoding, value);
    // The language always (a write sets it to "eng"), the description when there is one.
    const bool plainLanguage = std::all_of(languageBytes.begin(), languageBytes.end(),
                                           [](std::uint8_t b) { return b >= 0x21 && b < 0x7F && b != '"'; });
    std::string qualifier = !hasLanguage ? std::string() : plainLanguage ? language : Quoted(Latin1Text(languageBytes));
    if (!descriptionText.empty())
        qualifier += (qualifier.empty() ? "" : ", ") + Quoted(descriptionText);
    const std::string shown = (qualifier.empty() ? "" : "(" + qualifier + ") ") + Quoted(text);
    return {language + '\0' + descriptionText + '\0' + text, shown};
}

FrameValue Popularimeter(Bytes content)
{
    const id3v2::PopularimeterFields fields = id3v2::ParsePopularimeter(content);
    std::string shown = fields.Rating ? "rating " + std::to_string(*fields.Rating) : std::string("no rating");
    if (!fields.Address.empty())
        shown += " from " + Quoted(Latin1Text(fields.Address));
    if (fields.PlayCount)
        shown += ", played " + std::to_string(*fields.PlayCount) + " times";
    return {AsString(content), shown};
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
    if (IsTextFrameId(frame.Id))
        return TextFrame(content);
    if (frame.Id == "COMM" || frame.Id == "USLT" || frame.Id == "TXXX" || frame.Id == "WXXX")
        return DescribedFrame(frame, content);
    if (IsLinkFrameId(frame.Id)) {
        const std::string address = Utf8Text(0, content);
        return {address, Quoted(address)};
    }
    if (frame.Id == "POPM")
        return Popularimeter(content);
    const std::string kind = frame.Id == "APIC" || frame.Id == "PIC" ? "picture, " : "";
    return {AsString(content), kind + SizeText(frame.StoredSize)};
}

std::vector<FrameChange> CompareFrames(const std::vector<id3v2::ListedFrame>& before,
                                       const std::vector<id3v2::ListedFrame>& after)
{
    std::vector<std::string> order;
    std::map<std::string, std::pair<std::vector<FrameValue>, std::vector<FrameValue>>> byId;
    const auto collect = [&](const std::vector<id3v2::ListedFrame>& frames, bool old) {
        for (const id3v2::ListedFrame& frame : frames) {
            auto [entry, added] = byId.try_emplace(frame.Id);
            if (added)
                order.push_back(frame.Id);
            (old ? entry->second.first : entry->second.second).push_back(ValueOfFrame(frame));
        }
    };
    collect(after, false);
    collect(before, true);

    std::vector<FrameChange> changes;
    for (const std::string& id : order) {
        const auto& [old, now] = byId[id];
        std::size_t i = 0;
        while (i < old.size() && i < now.size() && old[i].key == now[i].key)
            ++i;
        if (i == old.size() && i == now.size())
            continue;
        FrameChange change{id, FrameChange::Kind::Changed, {}, {}};
        if (old.empty())
            change.kind = FrameChange::Kind::Added;
        else if (now.empty())
            change.kind = FrameChange::Kind::Removed;
        if (i < old.size())
            change.before = old[i].shown;
        if (i < now.size())
            change.after = now[i].shown;
        changes.push_back(std::move(change));
    }
    return changes;
}

std::string ChangeLine(const FrameChange& change)
{
    switch (change.kind) {
    case FrameChange::Kind::Added: return change.id + ": added " + change.after;
    case FrameChange::Kind::Removed: return change.id + ": removed (was " + change.before + ")";
    case FrameChange::Kind::Changed: break;
    }
    return change.id + ": " + (change.before.empty() ? "(none)" : change.before) + " -> " +
           (change.after.empty() ? "(none)" : change.after);
}

} // namespace batch
