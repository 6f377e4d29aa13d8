#pragma once
// The ID3v1 tag: the last 128 bytes of an MP3 file, read into plain values. Reading never
// writes; parsing works on the block alone, the file side only fetches the block.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace io {
class ByteSource;
}

namespace audio {

inline constexpr std::size_t TagV1Size = 128;

// True when the given last bytes of a file begin with "TAG" (byte for byte, so "tag" is no tag).
bool HasTagV1Marker(std::span<const std::uint8_t> block);

// Reads a song's last 128 bytes into block. False when the song is not open, cannot be read or is
// shorter than 128 bytes.
bool ReadTagV1Block(io::ByteSource& song, std::array<std::uint8_t, TagV1Size>& block);

class TID3v1 {
public:
    TID3v1() = default;

    // True when the file's last 128 bytes could be read, whether or not they hold a tag.
    bool ReadFromFile(const std::string& FileName);
    // The same from a song file already open, whose bytes other readers share.
    bool ReadFromSource(io::ByteSource& song);
    // Takes the values from a file's last 128 bytes (reset values when they hold no tag).
    void ReadFromBlock(std::span<const std::uint8_t, TagV1Size> block);
    void ResetData();

    bool Exists() const { return exists_; }
    // 1 for version 1.0, 2 for version 1.1.
    std::uint8_t VersionID() const { return versionId_; }
    const std::string& Title() const { return title_; }
    const std::string& Artist() const { return artist_; }
    const std::string& Album() const { return album_; }
    const std::string& Year() const { return year_; }
    const std::string& Comment() const { return comment_; }
    std::uint8_t Track() const { return track_; }
    std::uint8_t GenreID() const { return genreId_; }
    // The genre's name, empty for a number outside the table (255 when none was read).
    std::string Genre() const;

private:
    bool exists_ = false;
    std::uint8_t versionId_ = 1;
    std::string title_;
    std::string artist_;
    std::string album_;
    std::string year_;
    std::string comment_;
    std::uint8_t track_ = 0;
    std::uint8_t genreId_ = 255;
};

} // namespace audio
