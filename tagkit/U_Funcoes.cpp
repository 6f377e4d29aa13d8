#include "tagkit/U_Funcoes.h"

#include "audio/ID3v1.h"
#include "audio/MPEGaudio.h"
#include "id3v2/ID3v2.h"
#include "io/FileSystem.h"
#include "io/SongBytes.h"
#include "tagkit/FileExtension.h"
#include "tagkit/RecordValues.h"
#include "text/IntegerText.h"

#include <memory>
#include <optional>

namespace tagkit {
namespace {

// The reader set of the song at hand and the one tag data record, alive for the whole run.
struct ModuleState {
    std::unique_ptr<audio::TMPEGaudio> audioInfo;
    std::unique_ptr<audio::TID3v1> id3v1Tag;
    std::unique_ptr<id3v2::TID3v2> id3v2Tag;
    Tag record;
    // Whether the last inspection read the file's ID3v2 tag (found or not) into id3v2Tag: the
    // merge-writer only replaces a tag that it has read.
    bool tagRead = false;
};

ModuleState& State()
{
    static ModuleState state;
    return state;
}

// The given value when there is one, else the inspected one.
const std::string& Pick(const std::string& given, const std::string& inspected)
{
    return given.empty() ? inspected : given;
}

// A track number as the tag can hold it; a number outside 0..65535 counts as not given rather
// than wrapping around. Text that is no integer is an error.
std::optional<std::uint16_t> TrackNumber(const std::string& text)
{
    const std::optional<std::int32_t> number = text::ParseInt32(text);
    if (!number)
        throw ConversionError("'" + text + "' is not a valid integer value");
    if (*number < 0 || *number > 0xFFFF)
        return std::nullopt;
    return static_cast<std::uint16_t>(*number);
}

// A rating byte: text that is no integer, the empty text and numbers outside 0..255 give 0.
std::uint8_t RatingByte(const std::string& text)
{
    const std::optional<std::int32_t> number = text::ParseInt32(text);
    if (!number || *number < 0 || *number > 0xFF)
        return 0;
    return static_cast<std::uint8_t>(*number);
}

void SetTrack(id3v2::TID3v2& tag, const std::string& given, const std::string& inspected)
{
    std::optional<std::uint16_t> track;
    if (!given.empty())
        track = TrackNumber(given);
    if (!track && !inspected.empty())
        track = TrackNumber(inspected);
    if (track)
        tag.SetTrack(*track);
}

void MergeValues(id3v2::TID3v2& tag, const TagValues& given, const Tag& inspected)
{
    tag.SetTitle(Pick(given.Title, inspected.Title));
    tag.SetArtist(Pick(given.Artist, inspected.Artist));
    tag.SetComposer(Pick(given.Composer, inspected.Composer));
    tag.SetAlbum(Pick(given.Album, inspected.Album));
    tag.SetYear(Pick(given.Year, inspected.Year));
    SetTrack(tag, given.Track, inspected.Track);
    tag.SetFrameTIDM(Pick(given.FrameTIDM, inspected.FrameTIDM));
    tag.SetGenre(Pick(given.Genre, inspected.Genre));
    tag.SetSubGenre(Pick(given.SubGenre, inspected.SubGenre));
    tag.SetRhythm(Pick(given.Rhythm, inspected.Rhythm));
    tag.SetLanguage(Pick(given.Language, inspected.Language));
    tag.SetRecordLabel(Pick(given.RecordLabel, inspected.RecordLabel));
    tag.SetVocal(Pick(given.Vocal, inspected.Vocal));
    tag.SetRating(RatingByte(Pick(given.Rating, inspected.Rating)));
    tag.SetPeriodType(Pick(given.PeriodType, inspected.PeriodType));
    tag.SetPeriodStart(Pick(given.PeriodStart, inspected.PeriodStart));
    tag.SetPeriodEnd(Pick(given.PeriodEnd, inspected.PeriodEnd));
    tag.SetFileExtension(Pick(given.FileExtension, inspected.FileExtension));
    tag.SetComment(Pick(given.Comment, inspected.Comment));
    tag.SetFrameTINT(Pick(given.FrameTINT, inspected.FrameTINT));
    tag.SetFrameTCAR(Pick(given.FrameTCAR, inspected.FrameTCAR));
    tag.SetFrameTVIN(Pick(given.FrameTVIN, inspected.FrameTVIN));
    tag.SetFrameTMXI(Pick(given.FrameTMXI, inspected.FrameTMXI));
    tag.SetFrameTMXF(Pick(given.FrameTMXF, inspected.FrameTMXF));
    tag.SetFrameTRFI(Pick(given.FrameTRFI, inspected.FrameTRFI));
    tag.SetFrameTRFF(Pick(given.FrameTRFF, inspected.FrameTRFF));
    tag.SetFrameTPMI(Pick(given.FrameTPMI, inspected.FrameTPMI));
    // Always the file's own values, and the catalogue's mark.
    tag.SetEncoder(inspected.Encoder);
    tag.SetCopyright(inspected.Copyright);
    tag.SetLink(inspected.Link);
    tag.SetCatalogueMark("S");
}

} // namespace

void CreateTagObjects(std::string_view Extension)
{
    ModuleState& state = State();
    if (IsMp3Extension(Extension)) {
        state.audioInfo = std::make_unique<audio::TMPEGaudio>();
        state.id3v1Tag = std::make_unique<audio::TID3v1>();
        state.id3v2Tag = std::make_unique<id3v2::TID3v2>();
    }
    ClearTagRecord();
}

void ClearTagRecord()
{
    State().record.Clear();
    State().tagRead = false;
}

void LoadFileInfo(const std::string& FileName)
{
    ModuleState& state = State();
    ClearTagRecord();
    if (FileName.empty())
        return;
    if (!state.audioInfo)
        CreateTagObjects(ExtensionOf(FileName));
    if (!state.audioInfo)
        return;

    // One open file for the three readers: each byte range is read once and shared. A missing
    // file, or one that cannot be opened, fails the analyser's read and leaves the record empty,
    // so the open itself is the existence test.
    io::SongBytes song;
    if (!song.Open(FileName))
        return;
    Tag& record = state.record;
    if (!state.audioInfo->ReadFromSource(song))
        return;
    if (!state.audioInfo->Valid()) {
        record.AudioValid = kNo;
        return;
    }
    DescribeAudio(*state.audioInfo, record);

    if (!state.id3v2Tag->ReadFromSource(song))
        return;
    state.tagRead = true;
    if (state.id3v2Tag->TagFound()) {
        CopyId3v2Values(*state.id3v2Tag, record);
        return;
    }
    if (!state.id3v1Tag->ReadFromSource(song)) {
        record.TagExists = kNo;
        return;
    }
    if (state.id3v1Tag->Exists())
        CopyId3v1Values(*state.id3v1Tag, record);
}

bool SaveTagInfo(const std::string& FileName, const TagValues& values)
{
    ModuleState& state = State();
    bool written = false;
    if (state.id3v2Tag && state.tagRead && state.record.AudioValid == kYes && io::Exists(FileName)) {
        MergeValues(*state.id3v2Tag, values, state.record);
        written = state.id3v2Tag->SaveToFile(FileName);
    }
    ClearTagRecord();
    return written;
}

void FreeTagObjects(std::string_view /*Extension*/)
{
    ModuleState& state = State();
    ClearTagRecord();
    state.audioInfo.reset();
    state.id3v1Tag.reset();
    state.id3v2Tag.reset();
}

const Tag& TagRecord()
{
    return State().record;
}

const audio::TMPEGaudio* AudioInfo()
{
    return State().audioInfo.get();
}

const audio::TID3v1* ID3v1Tag()
{
    return State().id3v1Tag.get();
}

const id3v2::TID3v2* ID3v2Tag()
{
    return State().id3v2Tag.get();
}

} // namespace tagkit
