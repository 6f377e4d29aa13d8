#pragma once
// The 36 frames a tag of ours knows, in the order the writer emits them. Every other frame is
// neither read nor written.
#include <array>
#include <cstddef>
#include <string_view>

namespace id3v2 {

inline constexpr std::size_t kFrameRows = 36;

// Row indices (0-based) of the frame table.
enum Row : std::size_t {
    RowTitle,         // TIT2
    RowArtist,        // TPE1
    RowAlbum,         // TALB
    RowTrack,         // TRCK
    RowYear,          // TYER
    RowGenre,         // TCON
    RowComment,       // COMM
    RowComposer,      // TCOM
    RowEncoder,       // TENC
    RowCopyright,     // TCOP
    RowLanguage,      // TLAN
    RowLink,          // WXXX
    RowRecordingDate, // TDRC: only the fallback of the year
    RowOrigArtist,    // TOPE: only the fallback of the artist
    RowContentGroup,  // TIT1: only the fallback of the title
    RowOrigAlbum,     // TOAL: only the fallback of the album
    RowRhythm,        // TRIT
    RowFrameTINT,     // TINT
    RowFileExtension, // TEXT
    RowSubGenre,      // TEST
    RowFrameTIDM,     // TIDM
    RowFrameTCAR,     // TCAR
    RowFrameTVIN,     // TVIN
    RowFrameTMXI,     // TMXI
    RowFrameTMXF,     // TMXF
    RowFrameTRFI,     // TRFI
    RowFrameTRFF,     // TRFF
    RowCatalogueMark, // TCAD
    RowFrameTSUC,     // TSUC
    RowRecordLabel,   // TGRA
    RowVocal,         // TVOC
    RowPeriodType,    // TTPE
    RowPeriodStart,   // TPIN
    RowPeriodEnd,     // TPFI
    RowFrameTPMI,     // TPMI
    RowRating,        // POPM
};

// Four-character IDs: written, and read from tags of major version 3 and 4.
inline constexpr std::array<std::string_view, kFrameRows> FrameIdsV23 = {
    "TIT2", "TPE1", "TALB", "TRCK", "TYER", "TCON", "COMM", "TCOM", "TENC", "TCOP", "TLAN", "WXXX",
    "TDRC", "TOPE", "TIT1", "TOAL", "TRIT", "TINT", "TEXT", "TEST", "TIDM", "TCAR", "TVIN", "TMXI",
    "TMXF", "TRFI", "TRFF", "TCAD", "TSUC", "TGRA", "TVOC", "TTPE", "TPIN", "TPFI", "TPMI", "POPM",
};

// Three-character IDs read from tags of major version 2. "TRI" stands in two rows (rhythm and
// TRFI), so such a frame feeds both.
inline constexpr std::array<std::string_view, kFrameRows> FrameIdsV22 = {
    "TT2", "TP1", "TAL", "TRK", "TYE", "TCO", "COM", "TCM", "TEN", "TCR", "TLA", "WXX",
    "TOR", "TOA", "TT1", "TOT", "TRI", "TIN", "TEX", "TES", "TID", "TCA", "TVI", "TMI",
    "TMF", "TRI", "TRF", "TCD", "TSU", "TGR", "TVO", "TTP", "TPI", "TPF", "TPM", "POP",
};

// Rows whose value is a plain text property of the tag (every row but the track number, the
// four fallback-only rows and the rating).
constexpr bool IsTextProperty(std::size_t row)
{
    return row != RowTrack && row != RowRating && (row < RowRecordingDate || row > RowOrigAlbum);
}

} // namespace id3v2
