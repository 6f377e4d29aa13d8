// Round trips through an independent reader: tags written here into real MP3 files (made by
// lame and twolame) are read back by TagLib as version 2.3 tags with the same values, with the
// audio behind them unchanged; tags TagLib writes are read here.
#include "id3v2/ID3v2.h"
#include "text/Cp1252.h"
#include "tools/mp3fixtures/Encoders.h"
#include "tools/mp3fixtures/FileBytes.h"
#include "tools/mp3fixtures/ScratchDir.h"

#include "ExampleTags.h"

#include <gtest/gtest.h>

#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/popularimeterframe.h>
#include <taglib/textidentificationframe.h>
#include <taglib/urllinkframe.h>

#include <filesystem>
#include <memory>

namespace id3v2 {
namespace {

namespace fs = std::filesystem;

TagLib::String Latin1(const std::string& bytes)
{
    return TagLib::String(bytes, TagLib::String::Latin1);
}

// Text as a reader of the standard reads what we write: each byte its Windows-1252 character.
TagLib::String Cp1252(const std::string& bytes)
{
    return TagLib::String(text::Utf8FromCp1252(bytes), TagLib::String::UTF8);
}

// Text in the source's own encoding, UTF-8.
TagLib::String Utf8(const char* text)
{
    return TagLib::String(text, TagLib::String::UTF8);
}

const TagLib::ID3v2::FrameList& FramesOf(const TagLib::ID3v2::Tag& tag, const char* id)
{
    static const TagLib::ID3v2::FrameList none;
    const auto& map = tag.frameListMap();
    const auto it = map.find(id);
    return it == map.end() ? none : it->second;
}

// Where the audio starts and its fingerprint, as TagLib sees the file.
struct Audio {
    std::int64_t start = 0;
    std::uint64_t fingerprint = 0;
    int lengthMs = 0;
};

Audio AudioOf(const std::string& path)
{
    Audio audio;
    {
        TagLib::MPEG::File file(path.c_str());
        if (file.hasID3v2Tag())
            audio.start = file.ID3v2Tag()->header()->completeTagSize();
        if (file.audioProperties())
            audio.lengthMs = file.audioProperties()->lengthInMilliseconds();
    }
    const auto bytes = fixtures::ReadFileBytes(path);
    audio.fingerprint = fixtures::Fingerprint(std::span(bytes).subspan(static_cast<std::size_t>(audio.start)));
    return audio;
}

// Every value of `expected` as TagLib reads it from the file, and no other frame.
void ExpectTagLibReads(const std::string& path, const TID3v2& expected)
{
    TagLib::MPEG::File file(path.c_str());
    ASSERT_TRUE(file.isValid());
    ASSERT_TRUE(file.hasID3v2Tag());
    const TagLib::ID3v2::Tag& tag = *file.ID3v2Tag();
    EXPECT_EQ(tag.header()->majorVersion(), 3u);

    const auto textFrames = exampletags::ExpectedTextFrames(expected);
    for (const auto& [id, text] : textFrames) {
        // TagLib reads a version 2.3 year as a recording time.
        const auto& frames = FramesOf(tag, id == "TYER" ? "TDRC" : id.c_str());
        ASSERT_EQ(frames.size(), 1u) << id;
        EXPECT_EQ(frames.front()->toString(), Cp1252(text)) << id;
    }
    const auto& comments = FramesOf(tag, "COMM");
    ASSERT_EQ(comments.size(), 1u);
    const auto* comment = dynamic_cast<const TagLib::ID3v2::CommentsFrame*>(comments.front());
    ASSERT_NE(comment, nullptr);
    EXPECT_EQ(comment->language(), TagLib::ByteVector("eng"));
    EXPECT_TRUE(comment->description().isEmpty());
    EXPECT_EQ(comment->text(), Cp1252(expected.Comment()));

    const auto& links = FramesOf(tag, "WXXX");
    ASSERT_EQ(links.size(), 1u);
    const auto* link = dynamic_cast<const TagLib::ID3v2::UserUrlLinkFrame*>(links.front());
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->description().isEmpty());
    EXPECT_EQ(link->url(), Latin1(expected.Link()));

    const auto& ratings = FramesOf(tag, "POPM");
    ASSERT_EQ(ratings.size(), 1u);
    const auto* rating = dynamic_cast<const TagLib::ID3v2::PopularimeterFrame*>(ratings.front());
    ASSERT_NE(rating, nullptr);
    EXPECT_TRUE(rating->email().isEmpty());
    EXPECT_EQ(rating->rating(), expected.Rating());
    EXPECT_EQ(rating->counter(), 0u);

    EXPECT_EQ(tag.frameList().size(), textFrames.size() + 3);
}

class RoundTrip : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        sources_ = std::make_unique<fixtures::ScratchDir>("id3v2-roundtrip");
        ASSERT_TRUE(fixtures::MakeMp3(sources_->File("lame-cbr.mp3"), fixtures::Encoder::Lame, {"-b", "128"}));
        ASSERT_TRUE(fixtures::MakeMp3(sources_->File("lame-vbr.mp3"), fixtures::Encoder::Lame, {"-V", "2"}));
        ASSERT_TRUE(fixtures::MakeMp3(sources_->File("twolame.mp3"), fixtures::Encoder::Twolame, {"-b", "192"}));
    }
    static void TearDownTestSuite() { sources_.reset(); }

    // A fresh copy of an encoded file.
    std::string Copy(const std::string& source)
    {
        const std::string path = dir_.File(source);
        fs::copy_file(sources_->File(source), path, fs::copy_options::overwrite_existing);
        return path;
    }

    static std::unique_ptr<fixtures::ScratchDir> sources_;
    fixtures::ScratchDir dir_;
};

std::unique_ptr<fixtures::ScratchDir> RoundTrip::sources_;

TEST_F(RoundTrip, TagLibReadsWhatWeWriteAndTheAudioIsUnchanged)
{
    for (const char* source : {"lame-cbr.mp3", "lame-vbr.mp3", "twolame.mp3"}) {
        SCOPED_TRACE(source);
        const std::string path = Copy(source);
        const Audio before = AudioOf(path);
        ASSERT_GT(before.lengthMs, 1500);

        TID3v2 tag;
        exampletags::SetEveryValue(tag, 1);
        ASSERT_TRUE(tag.SaveToFile(path)); // rebuilt: the encoders wrote no tag
        ExpectTagLibReads(path, tag);
        const Audio rebuilt = AudioOf(path);
        EXPECT_EQ(rebuilt.start, 4096);
        EXPECT_EQ(rebuilt.fingerprint, before.fingerprint);
        EXPECT_EQ(rebuilt.lengthMs, before.lengthMs);

        exampletags::SetEveryValue(tag, 2);
        ASSERT_TRUE(tag.SaveToFile(path)); // in place
        ExpectTagLibReads(path, tag);
        const Audio inPlace = AudioOf(path);
        EXPECT_EQ(inPlace.start, 4096);
        EXPECT_EQ(inPlace.fingerprint, before.fingerprint);

        TID3v2 reread;
        ASSERT_TRUE(reread.ReadFromFile(path));
        EXPECT_EQ(reread.Values().Text, tag.Values().Text);
        EXPECT_EQ(reread.Track(), tag.Track());
        EXPECT_EQ(reread.Rating(), tag.Rating());
    }
}

// Every byte of the code page in every text row: TagLib reads each as its Windows-1252
// character, we read back the same bytes, and a tag read and written again keeps them.
TEST_F(RoundTrip, EveryByteOfTheCodePageReadsAsItsCharacter)
{
    const std::string path = Copy("lame-cbr.mp3");
    TID3v2 tag;
    exampletags::SetEveryByte(tag);
    ASSERT_TRUE(tag.SaveToFile(path));
    ExpectTagLibReads(path, tag);

    TID3v2 reread;
    ASSERT_TRUE(reread.ReadFromFile(path));
    EXPECT_EQ(reread.Values().Text, tag.Values().Text);
    const std::string again = Copy("lame-cbr.mp3");
    ASSERT_TRUE(reread.SaveToFile(again));
    const auto first = fixtures::ReadFileBytes(path);
    EXPECT_EQ(fixtures::ReadFileBytes(again), first);
}

// TagLib writes a version 2.4 tag with text it cannot keep in Latin-1, a picture, a comment
// and a link with descriptions, and a rating with an e-mail address.
void TagWithTagLib(const std::string& path, TagLib::ID3v2::Version version)
{
    using namespace TagLib::ID3v2;
    TagLib::MPEG::File file(path.c_str());
    Tag* tag = file.ID3v2Tag(true);
    tag->setTitle(Utf8("Ação € 1"));
    tag->setAlbum(Utf8("Álbum"));
    tag->setTrack(5);
    tag->setGenre("Rock");
    // TagLib owns the frames it is given.
    auto artist = std::make_unique<TextIdentificationFrame>("TPE1", TagLib::String::UTF16BE);
    artist->setText(Utf8("José"));
    tag->addFrame(artist.release());
    auto comment = std::make_unique<CommentsFrame>(TagLib::String::UTF16);
    comment->setLanguage("por");
    comment->setDescription("nota");
    comment->setText(Utf8("Olá"));
    tag->addFrame(comment.release());
    auto link = std::make_unique<UserUrlLinkFrame>(TagLib::String::UTF16);
    link->setDescription("site");
    link->setUrl("http://example.org/a");
    tag->addFrame(link.release());
    auto rhythm = std::make_unique<TextIdentificationFrame>("TRIT", TagLib::String::UTF8);
    rhythm->setText(Utf8("Baião"));
    tag->addFrame(rhythm.release());
    auto picture = std::make_unique<AttachedPictureFrame>();
    picture->setPicture(TagLib::ByteVector(6000, 'p'));
    tag->addFrame(picture.release());
    auto popularimeter = std::make_unique<PopularimeterFrame>();
    popularimeter->setEmail("someone@example.org");
    popularimeter->setRating(196);
    popularimeter->setCounter(3);
    tag->addFrame(popularimeter.release());
    ASSERT_TRUE(file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers, version));
}

TEST_F(RoundTrip, WeReadWhatTagLibWritesInVersion24And23)
{
    for (const auto version : {TagLib::ID3v2::v4, TagLib::ID3v2::v3}) {
        SCOPED_TRACE(version == TagLib::ID3v2::v4 ? "2.4" : "2.3");
        const std::string path = Copy("lame-cbr.mp3");
        const Audio before = AudioOf(path);
        TagWithTagLib(path, version);
        const Audio tagged = AudioOf(path);

        TID3v2 tag;
        ASSERT_TRUE(tag.ReadFromFile(path));
        EXPECT_TRUE(tag.TagFound());
        EXPECT_EQ(tag.MajorVersion(), version == TagLib::ID3v2::v4 ? 4 : 3);
        EXPECT_EQ(tag.TagSize(), tagged.start);
        EXPECT_EQ(tag.Title(), "A\xE7\xE3o \x80 1");
        EXPECT_EQ(tag.Artist(), "Jos\xE9");
        EXPECT_EQ(tag.Album(), "\xC1lbum");
        EXPECT_EQ(tag.Track(), 5);
        EXPECT_EQ(tag.Genre(), "Rock");
        EXPECT_EQ(tag.Comment(), "Ol\xE1");
        EXPECT_EQ(tag.Link(), "http://example.org/a");
        EXPECT_EQ(tag.Rhythm(), "Bai\xE3o");
        EXPECT_EQ(tag.Rating(), 196);

        // Written back over TagLib's tag (larger than 4096 bytes: rebuilt), the audio stays.
        tag.SetCatalogueMark("S");
        ASSERT_TRUE(tag.SaveToFile(path));
        ExpectTagLibReads(path, tag);
        EXPECT_EQ(AudioOf(path).fingerprint, before.fingerprint);
    }
}

} // namespace
} // namespace id3v2
