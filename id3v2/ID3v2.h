#pragma once
// One ID3v2 tag in memory: read from the start of an MP3 file (major versions 2, 3 and 4) and
// written back into it as a version 2.3 tag.
#include "id3v2/TagValues.h"
#include "id3v2/TagWriter.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace io {
class ByteSource;
}

namespace id3v2 {

class TID3v2 {
public:
    TID3v2() = default;

    // Replaces every value with what the file's tag holds. True when the file could be opened
    // and its first 10 bytes read, whether they are a tag header or not.
    bool ReadFromFile(const std::string& FileName);
    // The same from a song file already open, whose bytes other readers share; a song that
    // could not be opened gives what an unopenable file gives.
    bool ReadFromSource(io::ByteSource& song);
    // Puts the values into the file as a new version 2.3 tag in place of the old one. True when
    // the new tag is in the file; on false the file is as it was.
    bool SaveToFile(const std::string& FileName) const;
    void ResetData();

    // What the last read found.
    bool TagFound() const { return tagFound_; }
    std::uint8_t MajorVersion() const { return majorVersion_; }
    std::int32_t TagSize() const { return tagSize_; }

    const std::string& Title() const { return values_.Text[RowTitle]; }
    const std::string& Artist() const { return values_.Text[RowArtist]; }
    const std::string& Album() const { return values_.Text[RowAlbum]; }
    std::uint16_t Track() const { return values_.Track; }
    const std::string& Year() const { return values_.Text[RowYear]; }
    const std::string& Genre() const { return values_.Text[RowGenre]; }
    const std::string& Comment() const { return values_.Text[RowComment]; }
    const std::string& Composer() const { return values_.Text[RowComposer]; }
    const std::string& Encoder() const { return values_.Text[RowEncoder]; }
    const std::string& Copyright() const { return values_.Text[RowCopyright]; }
    const std::string& Language() const { return values_.Text[RowLanguage]; }
    const std::string& Link() const { return values_.Text[RowLink]; }
    const std::string& Rhythm() const { return values_.Text[RowRhythm]; }
    const std::string& FrameTINT() const { return values_.Text[RowFrameTINT]; }
    const std::string& FileExtension() const { return values_.Text[RowFileExtension]; }
    const std::string& SubGenre() const { return values_.Text[RowSubGenre]; }
    const std::string& FrameTIDM() const { return values_.Text[RowFrameTIDM]; }
    const std::string& FrameTCAR() const { return values_.Text[RowFrameTCAR]; }
    const std::string& FrameTVIN() const { return values_.Text[RowFrameTVIN]; }
    const std::string& FrameTMXI() const { return values_.Text[RowFrameTMXI]; }
    const std::string& FrameTMXF() const { return values_.Text[RowFrameTMXF]; }
    const std::string& FrameTRFI() const { return values_.Text[RowFrameTRFI]; }
    const std::string& FrameTRFF() const { return values_.Text[RowFrameTRFF]; }
    const std::string& CatalogueMark() const { return values_.Text[RowCatalogueMark]; }
    const std::string& FrameTSUC() const { return values_.Text[RowFrameTSUC]; }
    const std::string& RecordLabel() const { return values_.Text[RowRecordLabel]; }
    const std::string& Vocal() const { return values_.Text[RowVocal]; }
    const std::string& PeriodType() const { return values_.Text[RowPeriodType]; }
    const std::string& PeriodStart() const { return values_.Text[RowPeriodStart]; }
    const std::string& PeriodEnd() const { return values_.Text[RowPeriodEnd]; }
    const std::string& FrameTPMI() const { return values_.Text[RowFrameTPMI]; }
    std::uint8_t Rating() const { return values_.Rating; }

    // String setters store their argument without leading and trailing bytes 0x00-0x20.
    void SetTitle(std::string_view value) { SetText(RowTitle, value); }
    void SetArtist(std::string_view value) { SetText(RowArtist, value); }
    void SetAlbum(std::string_view value) { SetText(RowAlbum, value); }
    void SetTrack(std::uint16_t value) { values_.Track = value; }
    void SetYear(std::string_view value) { SetText(RowYear, value); }
    void SetGenre(std::string_view value) { SetText(RowGenre, value); }
    void SetComment(std::string_view value) { SetText(RowComment, value); }
    void SetComposer(std::string_view value) { SetText(RowComposer, value); }
    void SetEncoder(std::string_view value) { SetText(RowEncoder, value); }
    void SetCopyright(std::string_view value) { SetText(RowCopyright, value); }
    void SetLanguage(std::string_view value) { SetText(RowLanguage, value); }
    void SetLink(std::string_view value) { SetText(RowLink, value); }
    void SetRhythm(std::string_view value) { SetText(RowRhythm, value); }
    void SetFrameTINT(std::string_view value) { SetText(RowFrameTINT, value); }
    void SetFileExtension(std::string_view value) { SetText(RowFileExtension, value); }
    void SetSubGenre(std::string_view value) { SetText(RowSubGenre, value); }
    void SetFrameTIDM(std::string_view value) { SetText(RowFrameTIDM, value); }
    void SetFrameTCAR(std::string_view value) { SetText(RowFrameTCAR, value); }
    void SetFrameTVIN(std::string_view value) { SetText(RowFrameTVIN, value); }
    void SetFrameTMXI(std::string_view value) { SetText(RowFrameTMXI, value); }
    void SetFrameTMXF(std::string_view value) { SetText(RowFrameTMXF, value); }
    void SetFrameTRFI(std::string_view value) { SetText(RowFrameTRFI, value); }
    void SetFrameTRFF(std::string_view value) { SetText(RowFrameTRFF, value); }
    void SetCatalogueMark(std::string_view value) { SetText(RowCatalogueMark, value); }
    void SetRecordLabel(std::string_view value) { SetText(RowRecordLabel, value); }
    void SetVocal(std::string_view value) { SetText(RowVocal, value); }
    void SetPeriodType(std::string_view value) { SetText(RowPeriodType, value); }
    void SetPeriodStart(std::string_view value) { SetText(RowPeriodStart, value); }
    void SetPeriodEnd(std::string_view value) { SetText(RowPeriodEnd, value); }
    void SetFrameTPMI(std::string_view value) { SetText(RowFrameTPMI, value); }
    void SetRating(std::uint8_t value) { values_.Rating = value; }

    // All values at once, by frame-table row.
    const TagValues& Values() const { return values_; }
    // The text property of a row (one for which IsTextProperty holds), trimmed as the named
    // setters trim it.
    void SetText(Row row, std::string_view value);

private:
    bool tagFound_ = false;
    std::uint8_t majorVersion_ = 0;
    std::int32_t tagSize_ = 0;
    TagValues values_;
};

} // namespace id3v2
