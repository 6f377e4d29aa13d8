#include "batch/FrameChanges.h"

#include "id3v2/DescribedFrame.h"
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

std::string_view AsText(Bytes bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// ISO-8859-1 as UTF-8: each byte is its code point.
std::string Latin1Text(std::string_view bytes)
{
    std::string out;
    for (const char b : bytes)
        text::AppendUtf8(out, static_cast<unsigned char>(b));
    return out;
}

// Text in the frame's encoding as UTF-8, as a player that follows the standard reads it:
// single-byte text as ISO-8859-1 (so Windows-1252 punctuation stored there, 0x80 to 0x9F, reads
// as control characters), UTF-16 by its byte order mark (little-endian without one) or
// big-endian, UTF-8 as it is. Terminating zeros are dropped; zeros inside stay (they separate a
// list of texts).
std::string Utf8Text(std::uint8_t encoding, std::string_view stored)
{
    std::string out;
    if (id3v2::IsWideEncoding(encoding)) {
        const id3v2::Utf16ByteOrder order = id3v2::ByteOrderOfUtf16(encoding, stored);
        out = text::Utf8FromUtf16(stored.substr(order.MarkSize), order.BigEndian, U'?');
    } else if (encoding == id3v2::EncodingUtf8) {
        out = text::ValidUtf8(stored);
    } else {
        out = Latin1Text(stored);
    }
    while (!out.empty() && out.back() == '\0')
        out.pop_back();
    return out;
}

std::string SizeText(std::int64_t size)
{
    return std::to_string(size) + " bytes";
}

FrameValue TextFrame(Bytes content)
{
    const std::uint8_t encoding = content.empty() ? 0 : content[0];
    const std::string text = Utf8Text(encoding, AsText(content.empty() ? content : content.subspan(1)));
    return {text, Quoted(text)};
}

// COMM, USLT: encoding, language, description, text. TXXX, WXXX: encoding, description, then the
// text (the address of a WXXX, single-byte whatever the encoding).
FrameValue DescribedFrame(const id3v2::ListedFrame& frame, Bytes content)
{
    const bool hasLanguage = frame.Id == "COMM" || frame.Id == "USLT";
    const id3v2::DescribedFrameParts parts = id3v2::SplitDescribedFrame(AsText(content), hasLanguage);
    const std::string language(parts.Language);
    const std::string descriptionText = Utf8Text(parts.Encoding, parts.Description);
    const std::string text = Utf8Text(frame.Id == "WXXX" ? std::uint8_t{id3v2::EncodingLatin1} : parts.Encoding, parts.Text);
    // The language always (a write sets it to "eng"), the description when there is one.
    const bool plainLanguage =
        std::all_of(language.begin(), language.end(), [](char b) { return b >= 0x21 && b < 0x7F && b != '"'; });
    std::string qualifier = !hasLanguage ? std::string() : plainLanguage ? language : Quoted(Latin1Text(language));
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
        shown += " from " + Quoted(Latin1Text(AsText(fields.Address)));
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
        const std::string address = Utf8Text(id3v2::EncodingLatin1, AsText(content));
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
