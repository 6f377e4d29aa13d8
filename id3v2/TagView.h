#pragma once
// The bytes a parse of a tag looks at, by offset: a span already in memory, or a song read a
// frame at a time (which holds no more than the range asked for, however large the tag), and a
// view of either with unsynchronisation undone.
#include "io/ByteSource.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace id3v2 {

// Appends bytes to out with unsynchronisation undone: a zero byte after a kept 0xFF is dropped.
// lastKeptFF carries that state from one run of bytes to the next.
void AppendResynchronised(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& out, bool& lastKeptFF);

// Bytes with unsynchronisation undone, as one run.
std::vector<std::uint8_t> Resynchronised(std::span<const std::uint8_t> bytes);

class TagView {
public:
    virtual ~TagView() = default;
    // The bytes [offset, offset + count) when the view holds all of them; none otherwise (also
    // after a read error, which ends the view there).
    virtual std::optional<std::span<const std::uint8_t>> At(std::int64_t offset, std::int64_t count) = 0;
    // Whether the view reaches the offset (holds every byte before it).
    virtual bool Reaches(std::int64_t offset) = 0;
    // Whether the view reaches the offset, where no byte before it will be asked for again.
    virtual bool SkipTo(std::int64_t offset) { return Reaches(offset); }
};

// Bytes in memory.
class SpanView final : public TagView {
public:
    explicit SpanView(std::span<const std::uint8_t> bytes)
        : bytes_(bytes)
    {
    }
    std::optional<std::span<const std::uint8_t>> At(std::int64_t offset, std::int64_t count) override;
    bool Reaches(std::int64_t offset) override { return offset >= 0 && offset <= static_cast<std::int64_t>(bytes_.size()); }

private:
    std::span<const std::uint8_t> bytes_;
};

// A song's bytes up to `end`, read as they are asked for and not kept.
class SourceView final : public TagView {
public:
    SourceView(io::ByteSource& song, std::int64_t end)
        : song_(song)
        , end_(end)
    {
    }
    std::optional<std::span<const std::uint8_t>> At(std::int64_t offset, std::int64_t count) override;
    bool Reaches(std::int64_t offset) override { return offset >= 0 && offset <= end_; }

private:
    io::ByteSource& song_;
    std::int64_t end_;
    std::vector<std::uint8_t> buffer_;
};

// The bytes [begin, end) of another view, from offset 0.
class SubView final : public TagView {
public:
    SubView(TagView& inner, std::int64_t begin, std::int64_t end)
        : inner_(inner)
        , begin_(begin)
        , end_(end)
    {
    }
    std::optional<std::span<const std::uint8_t>> At(std::int64_t offset, std::int64_t count) override;
    bool Reaches(std::int64_t offset) override;

private:
    TagView& inner_;
    std::int64_t begin_;
    std::int64_t end_;
};

// Another view with unsynchronisation undone (every 0xFF 0x00 read as 0xFF), read forwards: it
// keeps the decoded bytes from the last offset asked for or skipped to, and serves none before.
class ResynchronisedView final : public TagView {
public:
    explicit ResynchronisedView(TagView& inner)
        : inner_(inner)
    {
    }
    std::optional<std::span<const std::uint8_t>> At(std::int64_t offset, std::int64_t count) override;
    bool Reaches(std::int64_t offset) override;
    bool SkipTo(std::int64_t offset) override;

private:
    // Decodes until the decoded bytes reach `until` (or the inner view ends), dropping those
    // before floor_.
    void DecodeUntil(std::int64_t until);
    void DropBeforeFloor();
    std::int64_t DecodedEnd() const { return outStart_ + static_cast<std::int64_t>(out_.size()); }

    TagView& inner_;
    std::int64_t rawPos_ = 0; // the next raw byte to decode
    bool rawEnded_ = false;
    bool lastKeptFF_ = false; // the last byte kept was 0xFF: a zero byte after it is dropped
    std::int64_t floor_ = 0;  // no offset before it is asked for again
    std::int64_t outStart_ = 0;
    std::vector<std::uint8_t> out_; // decoded bytes from outStart_ on
};

} // namespace id3v2
