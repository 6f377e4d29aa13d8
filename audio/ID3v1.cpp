#include "audio/ID3v1.h"

#include "audio/GenreNames.h"
#include "io/SongBytes.h"
#include "text/Trim.h"

namespace audio {
namespace {

// Field offsets and lengths within the 128-byte block.
constexpr std::size_t TitleAt = 3, ArtistAt = 33, AlbumAt = 63, YearAt = 93, CommentAt = 97;
constexpr std::size_t TextLength = 30, YearLength = 4, CommentV11Length = 28;
constexpr std::size_t SeparatorAt = 125, TrackAt = 126, GenreAt = 127;

constexpr std::uint8_t Version10 = 1;
constexpr std::uint8_t Version11 = 2;

// A fixed-length field with its trailing blanks, zero bytes and control bytes removed; anything
// before the last printable byte stays, zero bytes included.
std::string FieldText(std::span<const std::uint8_t> block, std::size_t offset, std::size_t length)
{
    std::size_t end = length;
    while (end > 0 && text::IsBlankByte(static_cast<char>(block[offset + end - 1])))
        --end;
    return std::string(reinterpret_cast<const char*>(block.data() + offset), end);
}

// Version 1.1 stores a track number in the comment's last byte, announced by a zero (or blank)
// byte just before it.
std::uint8_t TagVersionOf(std::span<const std::uint8_t> block)
{
    const std::uint8_t separator = block[SeparatorAt];
    const std::uint8_t track = block[TrackAt];
    if ((separator == 0 && track != 0) || (separator == ' ' && track != ' '))
        return Version11;
    return Version10;
}

} // namespace

bool HasTagV1Marker(std::span<const std::uint8_t> block)
{
    return block.size() >= 3 && block[0] == 'T' && block[1] == 'A' && block[2] == 'G';
}

bool ReadTagV1Block(io::ByteSource& song, std::array<std::uint8_t, TagV1Size>& block)
{
    const std::int64_t size = song.Length();
    if (!song.IsOpen() || size < static_cast<std::int64_t>(TagV1Size))
        return false;
    return song.ReadAt(size - static_cast<std::int64_t>(TagV1Size), block) == static_cast<std::int64_t>(TagV1Size);
}

void TID3v1::ResetData()
{
    *this = TID3v1();
}

bool TID3v1::ReadFromFile(const std::string& FileName)
{
    io::SongBytes song;
    song.Open(FileName, io::SongBytes::Readers::One);
    return ReadFromSource(song);
}

bool TID3v1::ReadFromSource(io::ByteSource& song)
{
    ResetData();
    std::array<std::uint8_t, TagV1Size> block{};
    if (!ReadTagV1Block(song, block))
        return false;
    ReadFromBlock(block);
    return true;
}

void TID3v1::ReadFromBlock(std::span<const std::uint8_t, TagV1Size> block)
{
    ResetData();
    if (!HasTagV1Marker(block))
        return;
    exists_ = true;
    versionId_ = TagVersionOf(block);
    title_ = FieldText(block, TitleAt, TextLength);
    artist_ = FieldText(block, ArtistAt, TextLength);
    album_ = FieldText(block, AlbumAt, TextLength);
    year_ = FieldText(block, YearAt, YearLength);
    if (versionId_ == Version10) {
        comment_ = FieldText(block, CommentAt, TextLength);
    } else {
        comment_ = FieldText(block, CommentAt, CommentV11Length);
        track_ = block[TrackAt];
    }
    genreId_ = block[GenreAt];
}

std::string TID3v1::Genre() const
{
    if (genreId_ >= GenreNames.size())
        return {};
    return std::string(GenreNames[genreId_]);
}

} // namespace audio
