#pragma once
// Where each row of the frame table meets the toolkit: the field of the tag data record that
// holds the file's value, the merge-writer value that feeds the row, and how the merge chooses.
// Inspection, the merge and the record's emptying loop over it.
#include "id3v2/FrameTable.h"
#include "tagkit/TagRecord.h"
#include "tagkit/TagValues.h"

#include <array>
#include <string>

namespace tagkit {

// How the merge-writer sets a row of the new tag.
enum class Merge : unsigned char {
    GivenOrFile, // the given value when there is one, else the file's
    FileOnly,    // the file's value, whatever is given
    Mark,        // the catalogue's mark, "S"
    Kept,        // not set: the value the file's tag was read with stays
};

struct RecordRow {
    id3v2::Row row;
    std::string Tag::*field;       // the record's field, or nullptr when the record has none
    std::string TagValues::*given; // the merge-writer value, or nullptr when none feeds it
    Merge merge;
};

inline constexpr std::array<RecordRow, id3v2::kFrameRows> kRecordTable = {{
    {id3v2::RowTitle, &Tag::Title, &TagValues::Title, Merge::GivenOrFile},
    {id3v2::RowArtist, &Tag::Artist, &TagValues::Artist, Merge::GivenOrFile},
    {id3v2::RowAlbum, &Tag::Album, &TagValues::Album, Merge::GivenOrFile},
    {id3v2::RowTrack, &Tag::Track, &TagValues::Track, Merge::GivenOrFile},
    {id3v2::RowYear, &Tag::Year, &TagValues::Year, Merge::GivenOrFile},
    {id3v2::RowGenre, &Tag::Genre, &TagValues::Genre, Merge::GivenOrFile},
    {id3v2::RowComment, &Tag::Comment, &TagValues::Comment, Merge::GivenOrFile},
    {id3v2::RowComposer, &Tag::Composer, &TagValues::Composer, Merge::GivenOrFile},
    {id3v2::RowEncoder, &Tag::Encoder, nullptr, Merge::FileOnly},
    {id3v2::RowCopyright, &Tag::Copyright, nullptr, Merge::FileOnly},
    {id3v2::RowLanguage, &Tag::Language, &TagValues::Language, Merge::GivenOrFile},
    {id3v2::RowLink, &Tag::Link, nullptr, Merge::FileOnly},
    {id3v2::RowRecordingDate, nullptr, nullptr, Merge::Kept},
    {id3v2::RowOrigArtist, nullptr, nullptr, Merge::Kept},
    {id3v2::RowContentGroup, nullptr, nullptr, Merge::Kept},
    {id3v2::RowOrigAlbum, nullptr, nullptr, Merge::Kept},
    {id3v2::RowRhythm, &Tag::Rhythm, &TagValues::Rhythm, Merge::GivenOrFile},
    {id3v2::RowFrameTINT, &Tag::FrameTINT, &TagValues::FrameTINT, Merge::GivenOrFile},
    {id3v2::RowFileExtension, &Tag::FileExtension, &TagValues::FileExtension, Merge::GivenOrFile},
    {id3v2::RowSubGenre, &Tag::SubGenre, &TagValues::SubGenre, Merge::GivenOrFile},
    {id3v2::RowFrameTIDM, &Tag::FrameTIDM, &TagValues::FrameTIDM, Merge::GivenOrFile},
    {id3v2::RowFrameTCAR, &Tag::FrameTCAR, &TagValues::FrameTCAR, Merge::GivenOrFile},
    {id3v2::RowFrameTVIN, &Tag::FrameTVIN, &TagValues::FrameTVIN, Merge::GivenOrFile},
    {id3v2::RowFrameTMXI, &Tag::FrameTMXI, &TagValues::FrameTMXI, Merge::GivenOrFile},
    {id3v2::RowFrameTMXF, &Tag::FrameTMXF, &TagValues::FrameTMXF, Merge::GivenOrFile},
    {id3v2::RowFrameTRFI, &Tag::FrameTRFI, &TagValues::FrameTRFI, Merge::GivenOrFile},
    {id3v2::RowFrameTRFF, &Tag::FrameTRFF, &TagValues::FrameTRFF, Merge::GivenOrFile},
    {id3v2::RowCatalogueMark, nullptr, nullptr, Merge::Mark},
    {id3v2::RowFrameTSUC, nullptr, nullptr, Merge::Kept},
    {id3v2::RowRecordLabel, &Tag::RecordLabel, &TagValues::RecordLabel, Merge::GivenOrFile},
    {id3v2::RowVocal, &Tag::Vocal, &TagValues::Vocal, Merge::GivenOrFile},
    {id3v2::RowPeriodType, &Tag::PeriodType, &TagValues::PeriodType, Merge::GivenOrFile},
    {id3v2::RowPeriodStart, &Tag::PeriodStart, &TagValues::PeriodStart, Merge::GivenOrFile},
    {id3v2::RowPeriodEnd, &Tag::PeriodEnd, &TagValues::PeriodEnd, Merge::GivenOrFile},
    {id3v2::RowFrameTPMI, &Tag::FrameTPMI, &TagValues::FrameTPMI, Merge::GivenOrFile},
    {id3v2::RowRating, &Tag::Rating, &TagValues::Rating, Merge::GivenOrFile},
}};

constexpr bool RecordRowsInOrder()
{
    for (std::size_t i = 0; i < id3v2::kFrameRows; ++i)
        if (kRecordTable[i].row != i)
            return false;
    return true;
}
static_assert(RecordRowsInOrder(), "the record table follows the frame table row by row");

// The catalogue's mark in every tag the merge-writer writes.
inline constexpr const char* kCatalogueMark = "S";

} // namespace tagkit
