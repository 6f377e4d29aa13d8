#include "Contenders.h"


#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/popularimeterframe.h>
#include <taglib/textidentificationframe.h>

#include <array>
#include <memory>

namespace bench {
namespace {

// The frames beyond the basic ones, with the values SetBenchValues gives them.
constexpr std::array<std::pair<const char*, const char*>, 13> kTextFrames = {{
    {"TCOM", "Compositor da Silva"},
    {"TENC", "LAME 3.100"},
    {"TCOP", "Gravadora Exemplo"},
    {"TLAN", "por"},
    {"TRIT", "Samba"},
    {"TEXT", ".mp3"},
    {"TEST", "Samba-enredo"},
    {"TCAD", "S"},
    {"TGRA", "Gravadora Exemplo"},
    {"TVOC", "Masculino"},
    {"TTPE", "Década"},
    {"TPIN", "1970"},
    {"TPFI", "1979"},
}};

void SetTextFrame(TagLib::ID3v2::Tag& tag, const char* id, const char* text)
{
    tag.removeFrames(id);
    auto frame = std::make_unique<TagLib::ID3v2::TextIdentificationFrame>(TagLib::ByteVector(id), TagLib::String::Latin1);
    frame->setText(TagLib::String(text, TagLib::String::Latin1));
    tag.addFrame(frame.release()); // the tag owns its frames
}

} // namespace

void SetBenchValues(id3v2::TID3v2& tag)
{
    tag.SetTitle("Cancao do Mar");
    tag.SetArtist("Artista Exemplo");
    tag.SetAlbum("Album Exemplo");
    tag.SetTrack(7);
    tag.SetYear("1975");
    tag.SetGenre("Samba");
    tag.SetComment("Comentario");
    tag.SetComposer(kTextFrames[0].second);
    tag.SetEncoder(kTextFrames[1].second);
    tag.SetCopyright(kTextFrames[2].second);
    tag.SetLanguage(kTextFrames[3].second);
    tag.SetRhythm(kTextFrames[4].second);
    tag.SetFileExtension(kTextFrames[5].second);
    tag.SetSubGenre(kTextFrames[6].second);
    tag.SetCatalogueMark(kTextFrames[7].second);
    tag.SetRecordLabel(kTextFrames[8].second);
    tag.SetVocal(kTextFrames[9].second);
    tag.SetPeriodType(kTextFrames[10].second);
    tag.SetPeriodStart(kTextFrames[11].second);
    tag.SetPeriodEnd(kTextFrames[12].second);
    tag.SetRating(196);
}

bool OursReadAndSave(const std::string& path)
{
    id3v2::TID3v2 tag;
    if (!tag.ReadFromFile(path))
        return false;
    SetBenchValues(tag);
    return tag.SaveToFile(path);
}

bool TagLibReadAndSave(const std::string& path)
{
    TagLib::MPEG::File file(path.c_str(), false);
    if (!file.isValid())
        return false;
    TagLib::ID3v2::Tag& tag = *file.ID3v2Tag(true);
    tag.setTitle("Cancao do Mar");
    tag.setArtist("Artista Exemplo");
    tag.setAlbum("Album Exemplo");
    tag.setTrack(7);
    tag.setYear(1975);
    tag.setGenre("Samba");
    tag.setComment("Comentario");
    for (const auto& [id, text] : kTextFrames)
        SetTextFrame(tag, id, text);
    tag.removeFrames("POPM");
    auto rating = std::make_unique<TagLib::ID3v2::PopularimeterFrame>();
    rating->setRating(196);
    tag.addFrame(rating.release());
    return file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v3, TagLib::File::DoNotDuplicate);
}

} // namespace bench
