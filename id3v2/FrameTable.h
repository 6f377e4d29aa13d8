#pragma once
// The 36 frames a tag of ours knows, declared once: for every row, in the order the writer
// emits them, its IDs in tags of version 2.3/2.4 and 2.2, how its frame data becomes a value when
// read, and how the value becomes frame data when written. Every other frame is neither read
// nor written. The reader, the writer and the toolkit loop over this table.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace id3v2 {

inline constexpr std::size_t kFrameRows = 36;

// Row indices (0-based) of the frame table.
enum Row : std::size_t {
    RowTitle,
    RowArtist,
    RowAlbum,
    RowTrack,
    RowYear,
    RowGenre,
    RowComment,
    RowComposer,
    RowEncoder,
    RowCopyright,
    RowLanguage,
    RowLink,
    RowRecordingDate,
    RowOrigArtist,
    RowContentGroup,
    RowOrigAlbum,
    RowRhythm,
    RowFrameTINT,
    RowFileExtension,
    RowSubGenre,
    RowFrameTIDM,
    RowFrameTCAR,
    RowFrameTVIN,
    RowFrameTMXI,
    RowFrameTMXF,
    RowFrameTRFI,
    RowFrameTRFF,
    RowCatalogueMark,
    RowFrameTSUC,
    RowRecordLabel,
    RowVocal,
    RowPeriodType,
    RowPeriodStart,
    RowPeriodEnd,
    RowFrameTPMI,
    RowRating,
};

// How a row's frame data becomes the tag's value when a tag is read.
enum class ReadAs : std::uint8_t {
    Text,           // the frame's text
    TextOrFallback, // the frame's text, or the fallback row's when it has none
    YearOrDate,     // the year, or the year at the start of the fallback row's date
    GenreName,      // the text without its leading genre references
    CommentText,    // the text after the language and the description
    LinkAddress,    // the address after the description, single-byte whatever the encoding
    TrackNumber,    // the number at the start of the text; 0 for none
    RatingByte,     // the popularimeter's rating
    FallbackOnly,   // never a value of its own: it stands in for another row
};

// How a row's value becomes frame data when a tag is written (the text without its encoding
// byte; an empty text leaves the frame out).
enum class WriteAs : std::uint8_t {
    Text,        // the text
    TrackNumber, // the number in decimal, when not 0
    Comment,     // "eng", a zero byte and the text, when there is a text
    Link,        // a zero byte and the address, when there is one
    RatingByte,  // the rating's single byte, always
    Never,       // not written
};

struct FrameRow {
    Row row;
    std::string_view idV23; // written, and read from tags of major version 3 and 4
    std::string_view idV22; // read from tags of major version 2
    ReadAs read;
    WriteAs write;
    Row fallback; // the row that stands in, for TextOrFallback and YearOrDate
};

// "TRI" stands in two rows of version 2.2 tags (rhythm and TRFI), so such a frame feeds both.
inline constexpr std::array<FrameRow, kFrameRows> kFrameTable = {{
    {RowTitle, "TIT2", "TT2", ReadAs::TextOrFallback, WriteAs::Text, RowContentGroup},
    {RowArtist, "TPE1", "TP1", ReadAs::TextOrFallback, WriteAs::Text, RowOrigArtist},
    {RowAlbum, "TALB", "TAL", ReadAs::TextOrFallback, WriteAs::Text, RowOrigAlbum},
    {RowTrack, "TRCK", "TRK", ReadAs::TrackNumber, WriteAs::TrackNumber, RowTrack},
    {RowYear, "TYER", "TYE", ReadAs::YearOrDate, WriteAs::Text, RowRecordingDate},
    {RowGenre, "TCON", "TCO", ReadAs::GenreName, WriteAs::Text, RowGenre},
    {RowComment, "COMM", "COM", ReadAs::CommentText, WriteAs::Comment, RowComment},
    {RowComposer, "TCOM", "TCM", ReadAs::Text, WriteAs::Text, RowComposer},
    {RowEncoder, "TENC", "TEN", ReadAs::Text, WriteAs::Text, RowEncoder},
    {RowCopyright, "TCOP", "TCR", ReadAs::Text, WriteAs::Text, RowCopyright},
    {RowLanguage, "TLAN", "TLA", ReadAs::Text, WriteAs::Text, RowLanguage},
    {RowLink, "WXXX", "WXX", ReadAs::LinkAddress, WriteAs::Link, RowLink},
    {RowRecordingDate, "TDRC", "TOR", ReadAs::FallbackOnly, WriteAs::Never, RowRecordingDate},
    {RowOrigArtist, "TOPE", "TOA", ReadAs::FallbackOnly, WriteAs::Never, RowOrigArtist},
    {RowContentGroup, "TIT1", "TT1", ReadAs::FallbackOnly, WriteAs::Never, RowContentGroup},
    {RowOrigAlbum, "TOAL", "TOT", ReadAs::FallbackOnly, WriteAs::Never, RowOrigAlbum},
    {RowRhythm, "TRIT", "TRI", ReadAs::Text, WriteAs::Text, RowRhythm},
    {RowFrameTINT, "TINT", "TIN", ReadAs::Text, WriteAs::Text, RowFrameTINT},
    {RowFileExtension, "TEXT", "TEX", ReadAs::Text, WriteAs::Text, RowFileExtension},
    {RowSubGenre, "TEST", "TES", ReadAs::Text, WriteAs::Text, RowSubGenre},
    {RowFrameTIDM, "TIDM", "TID", ReadAs::Text, WriteAs::Text, RowFrameTIDM},
    {RowFrameTCAR, "TCAR", "TCA", ReadAs::Text, WriteAs::Text, RowFrameTCAR},
    {RowFrameTVIN, "TVIN", "TVI", ReadAs::Text, WriteAs::Text, RowFrameTVIN},
    {RowFrameTMXI, "TMXI", "TMI", ReadAs::Text, WriteAs::Text, RowFrameTMXI},
    {RowFrameTMXF, "TMXF", "TMF", ReadAs::Text, WriteAs::Text, RowFrameTMXF},
    {RowFrameTRFI, "TRFI", "TRI", ReadAs::Text, WriteAs::Text, RowFrameTRFI},
    {RowFrameTRFF, "TRFF", "TRF", ReadAs::Text, WriteAs::Text, RowFrameTRFF},
    {RowCatalogueMark, "TCAD", "TCD", ReadAs::Text, WriteAs::Text, RowCatalogueMark},
    {RowFrameTSUC, "TSUC", "TSU", ReadAs::Text, WriteAs::Text, RowFrameTSUC},
    {RowRecordLabel, "TGRA", "TGR", ReadAs::Text, WriteAs::Text, RowRecordLabel},
    {RowVocal, "TVOC", "TVO", ReadAs::Text, WriteAs::Text, RowVocal},
    {RowPeriodType, "TTPE", "TTP", ReadAs::Text, WriteAs::Text, RowPeriodType},
    {RowPeriodStart, "TPIN", "TPI", ReadAs::Text, WriteAs::Text, RowPeriodStart},
    {RowPeriodEnd, "TPFI", "TPF", ReadAs::Text, WriteAs::Text, RowPeriodEnd},
    {RowFrameTPMI, "TPMI", "TPM", ReadAs::Text, WriteAs::Text, RowFrameTPMI},
    {RowRating, "POPM", "POP", ReadAs::RatingByte, WriteAs::RatingByte, RowRating},
}};

constexpr bool RowsInOrder()
{
    for (std::size_t i = 0; i < kFrameRows; ++i)
        if (kFrameTable[i].row != i)
            return false;
    return true;
}
static_assert(RowsInOrder(), "the frame table lists every row once, in row order");

// Rows whose value is a plain text property of the tag (every row but the track number, the
// fallback-only rows and the rating).
constexpr bool IsTextProperty(std::size_t row)
{
    const ReadAs read = kFrameTable[row].read;
    return read != ReadAs::TrackNumber && read != ReadAs::RatingByte && read != ReadAs::FallbackOnly;
}

// The IDs of every row, by version, as the scan compares them.
constexpr std::array<std::string_view, kFrameRows> FrameIds(bool version22)
{
    std::array<std::string_view, kFrameRows> ids{};
    for (std::size_t i = 0; i < kFrameRows; ++i)
        ids[i] = version22 ? kFrameTable[i].idV22 : kFrameTable[i].idV23;
    return ids;
}
inline constexpr std::array<std::string_view, kFrameRows> FrameIdsV23 = FrameIds(false);
inline constexpr std::array<std::string_view, kFrameRows> FrameIdsV22 = FrameIds(true);

} // namespace id3v2
