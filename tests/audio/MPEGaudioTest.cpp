// The analyser over crafted files: where it reads, what it derives, and when it judges the
// audio valid.
#include "audio/ID3v1.h"
#include "audio/MPEGaudio.h"
#include "id3v2/ID3v2.h"
#include "io/SongBytes.h"

#include <gtest/gtest.h>

#include "CraftedStream.h"
#include "tools/mp3fixtures/FileBytes.h"
#include "tools/mp3fixtures/ScratchDir.h"

namespace {

using namespace audiotest;

const Header Cbr128{};  // MPEG 1 Layer III, 128 kbit/s, 44100 Hz, joint stereo
constexpr std::size_t L128 = 417;

class MPEGaudioFile : public testing::Test {
protected:
    // Writes the bytes to a file and analyses it; the read's result goes to ok_.
    const audio::TMPEGaudio& Analyse(const Bytes& bytes)
    {
        const std::string path = dir_.File("song.mp3");
        fixtures::WriteFileBytes(path, bytes);
        ok_ = analyser_.ReadFromFile(path);
        return analyser_;
    }

    // A first frame with a Xing header, then plain frames.
    static Bytes XingStream(std::uint32_t frames, std::uint32_t bytes, std::size_t count = 10,
                            const std::string& vendor = "LAME3.98")
    {
        Bytes stream = Frames(Cbr128, L128, count);
        PutXing(stream, 36, frames, bytes, 60, vendor);
        return stream;
    }

    fixtures::ScratchDir dir_{"mpegaudio"};
    audio::TMPEGaudio analyser_;
    bool ok_ = false;
};

void ExpectResetState(const audio::TMPEGaudio& a)
{
    EXPECT_EQ(a.FileLength(), 0);
    EXPECT_FALSE(a.Frame().Found);
    EXPECT_FALSE(a.VBR().Found);
    EXPECT_EQ(a.Version(), "MPEG ?");
    EXPECT_EQ(a.Layer(), "Layer ?");
    EXPECT_EQ(a.ChannelMode(), "Unknown");
    EXPECT_EQ(a.Emphasis(), "Unknown");
    EXPECT_EQ(a.Encoder(), "Unknown");
    EXPECT_EQ(a.BitRate(), 0);
    EXPECT_EQ(a.SampleRate(), 0);
    EXPECT_EQ(a.Duration(), 0);
    EXPECT_FALSE(a.Valid());
}

TEST_F(MPEGaudioFile, NewAnalyserIsInTheResetState)
{
    ExpectResetState(analyser_);
}

TEST_F(MPEGaudioFile, ConstantBitRateStreamBehindAnId3v2Tag)
{
    const Bytes file = Concat({Id3v2Tag(1000), Frames(Cbr128, L128, 40)});
    const audio::TMPEGaudio& a = Analyse(file);
    ASSERT_TRUE(ok_);
    EXPECT_TRUE(a.Valid());
    EXPECT_EQ(a.TagV2Size(), 1000);
    EXPECT_FALSE(a.TagV1Exists());
    EXPECT_EQ(a.FileLength(), 1000 + 40 * 417);
    EXPECT_EQ(a.Frame().Position, 0);  // relative to the buffer read after the tag
    EXPECT_EQ(a.Version(), "MPEG 1");
    EXPECT_EQ(a.Layer(), "Layer III");
    EXPECT_EQ(a.ChannelMode(), "Joint Stereo");
    EXPECT_EQ(a.Emphasis(), "None");
    EXPECT_EQ(a.BitRate(), 128);
    EXPECT_EQ(a.SampleRate(), 44100);
    EXPECT_EQ(a.Frames(), 40);
    EXPECT_DOUBLE_EQ(a.Duration(), 40.0 * 417 / 128 / 1000 * 8);
    EXPECT_EQ(a.Encoder(), "FhG");
    // The tag header, one scan buffer, and the file's last 3586 bytes.
    EXPECT_EQ(a.BytesRead(), 10 + 3458 + 3586);
}

TEST_F(MPEGaudioFile, AnId3v1TagIsLeftOutOfTheAudio)
{
    const audio::TMPEGaudio& a = Analyse(Concat({Junk(100), Frames(Cbr128, L128, 40), Id3v1Tag()}));
    ASSERT_TRUE(ok_);
    EXPECT_TRUE(a.TagV1Exists());
    EXPECT_EQ(a.Frame().Position, 100);
    EXPECT_EQ(a.Frames(), 40);
    EXPECT_DOUBLE_EQ(a.Duration(), 40.0 * 417 / 128 / 1000 * 8);
}

TEST_F(MPEGaudioFile, ATagSizePastTheEndOfTheFileMeansNoTag)
{
    // A tag header that announces 20000 bytes, directly followed by 10 frames.
    const Bytes header = Id3v2Tag(20000);
    const audio::TMPEGaudio& a = Analyse(Concat({Bytes(header.begin(), header.begin() + 10), Frames(Cbr128, L128, 10)}));
    ASSERT_TRUE(ok_);
    EXPECT_EQ(a.TagV2Size(), 0);
    EXPECT_EQ(a.Frame().Position, 10);
}

// The analyser reads only the 10-byte tag header; the audio must start where the ID3v2 reader
// says the tag ends, whatever the header holds.
TEST_F(MPEGaudioFile, TagSizeIsTheId3v2ReadersTagSize)
{
    auto header = [](std::string_view id, std::uint8_t version, std::uint8_t flags, std::array<std::uint8_t, 4> size) {
        Bytes bytes(id.begin(), id.end());
        bytes.insert(bytes.end(), {version, 0, flags});
        bytes.insert(bytes.end(), size.begin(), size.end());
        return bytes;
    };
    const Bytes headers[] = {
        header("ID3", 3, 0, {0, 0, 2, 1}),      // 267 bytes
        header("ID3", 4, 0x10, {0, 0, 2, 1}),   // with a footer: 277
        header("ID3", 5, 0, {0, 0, 0, 0x80}),   // any version; 0x80 counts whole: 138
        header("ID3", 3, 0, {0x7F, 0, 0, 0}),   // past the end of the file: 0
        header("id3", 3, 0, {0, 0, 2, 1}),      // no tag: 0
    };
    for (const Bytes& h : headers) {
        Bytes file = Concat({h, Junk(290), Frames(Cbr128, L128, 10)});
        const audio::TMPEGaudio& a = Analyse(file);
        id3v2::TID3v2 tag;
        ASSERT_TRUE(tag.ReadFromFile(dir_.File("song.mp3")));
        EXPECT_EQ(a.TagV2Size(), tag.TagSize());
        EXPECT_EQ(a.Frame().Position, 300 - tag.TagSize());
    }
}

TEST_F(MPEGaudioFile, AStreamBeyondTheFirstBufferIsLookedForHalfwayIn)
{
    // 6000 bytes of junk, then frames: the middle of the file lies at (FileLength - tag) / 2.
    const Bytes file = Concat({Id3v2Tag(500), Junk(6000), Frames(Cbr128, L128, 20)});
    const std::int64_t middle = static_cast<std::int64_t>(file.size() - 500) / 2;
    const audio::TMPEGaudio& a = Analyse(file);
    ASSERT_TRUE(ok_);
    ASSERT_TRUE(a.Frame().Found);
    const std::int64_t firstFrame = 6500 + ((middle - 6500) / 417 + 1) * 417;
    EXPECT_EQ(a.Frame().Position, firstFrame - middle);  // relative to the middle buffer
    EXPECT_EQ(a.BytesRead(), 10 + 3458 + 3458 + 3586);

    // A short first read means that there is no more file to look at.
    const audio::TMPEGaudio& b = Analyse(Concat({Junk(2000), Frames(Cbr128, L128, 1)}));
    EXPECT_TRUE(ok_);
    ExpectResetState(b);
    EXPECT_EQ(b.BytesRead(), 10 + 2417);
}

TEST_F(MPEGaudioFile, NoFrameLeavesTheResetState)
{
    Header freeFormat;
    freeFormat.bitRateIndex = 0;
    const audio::TMPEGaudio& a = Analyse(Frames(freeFormat, 417, 30));
    EXPECT_TRUE(ok_);
    ExpectResetState(a);
}

TEST_F(MPEGaudioFile, FilesShorterThan128BytesOrMissingAreNotRead)
{
    Header tiny;  // MPEG 2 Layer III, 8 kbit/s, 24000 Hz: 24-byte frames
    tiny.version = 2;
    tiny.bitRateIndex = 1;
    tiny.sampleRateIndex = 1;
    Analyse(Frames(tiny, 24, 5));
    EXPECT_FALSE(ok_);
    ExpectResetState(analyser_);
    EXPECT_FALSE(analyser_.ReadFromFile(dir_.File("missing.mp3")));

    // 128 bytes of such frames are 0.128 s of audio.
    const audio::TMPEGaudio& a = Analyse(Concat({Frames(tiny, 24, 5), Junk(8)}));
    EXPECT_TRUE(ok_);
    EXPECT_TRUE(a.Valid());
}

TEST_F(MPEGaudioFile, XingHeaderGivesFramesAverageBitRateAndDuration)
{
    const audio::TMPEGaudio& a = Analyse(XingStream(1000, 417000));
    ASSERT_TRUE(ok_);
    EXPECT_TRUE(a.VBR().Found);
    EXPECT_EQ(a.Frames(), 1000);
    EXPECT_EQ(a.BitRate(), 128);  // 417 bytes a frame: 127.7 kbit/s
    EXPECT_NEAR(a.Duration(), 26.122, 0.001);
    EXPECT_EQ(a.Encoder(), "LAME 3.98");
    EXPECT_TRUE(a.Valid());
    EXPECT_EQ(a.TailVendor(), "");  // no end scan with a VBR header
    EXPECT_EQ(a.BytesRead(), 10 + 3458 + 3);
}

// At 44100 Hz in MPEG 1 Layer III, one byte a frame is 0.30625 kbit/s.
TEST_F(MPEGaudioFile, AverageBitRateRoundsHalfToEven)
{
    EXPECT_EQ(Analyse(XingStream(1, 400)).BitRate(), 122);   // 122.5
    EXPECT_EQ(Analyse(XingStream(1, 240)).BitRate(), 74);    // 73.5
    EXPECT_EQ(Analyse(XingStream(8, 6664)).BitRate(), 255);  // 833 bytes a frame: 255.1
}

TEST_F(MPEGaudioFile, XingFrameCountZeroFallsBackToTheAudioSize)
{
    const audio::TMPEGaudio& a = Analyse(XingStream(0, 417000, 20));
    ASSERT_TRUE(ok_);
    EXPECT_TRUE(a.VBR().Found);
    EXPECT_EQ(a.Frames(), 0);
    EXPECT_EQ(a.BitRate(), 128);
    EXPECT_DOUBLE_EQ(a.Duration(), 20.0 * 417 / 128 / 1000 * 8);
    EXPECT_TRUE(a.Valid());

    // A negative count is reported as read.
    EXPECT_EQ(Analyse(XingStream(0xFFFFFFFE, 417000, 20)).Frames(), -2);
}

TEST_F(MPEGaudioFile, AbsurdAveragesAreInvalidAndNeverWrapAround)
{
    // 214413 bytes in one frame: 65665 kbit/s. Cut to 16 bits it would read as 129 kbit/s.
    const audio::TMPEGaudio& huge = Analyse(XingStream(1, 214413));
    EXPECT_EQ(huge.BitRate(), 65535);
    EXPECT_FALSE(huge.Valid());

    // The limits 8 and 448 hold for the rounded average.
    EXPECT_TRUE(Analyse(XingStream(1000, 1462857)).Valid());  // 447.99996 -> 448
    EXPECT_FALSE(Analyse(XingStream(1000, 1466000)).Valid()); // 448.96 -> 449
    EXPECT_EQ(analyser_.BitRate(), 449);
    EXPECT_TRUE(Analyse(XingStream(1000, 26123)).Valid());    // 8.0002 -> 8
    EXPECT_FALSE(Analyse(XingStream(1000, 24000)).Valid());   // 7.35 -> 7

    // A negative byte count gives a negative average: invalid, reported as 0.
    const audio::TMPEGaudio& negative = Analyse(XingStream(1000, 0x80000000));
    EXPECT_FALSE(negative.Valid());
    EXPECT_EQ(negative.BitRate(), 0);

    // A frame count that overflows 32 bits in the duration's product.
    const audio::TMPEGaudio& many = Analyse(XingStream(0x7FFFFFFF, 0x7FFFFFFF));
    EXPECT_NEAR(many.Duration(), 144.0 * 0x7FFFFFFF * 8 / 44100, 1);
}

TEST_F(MPEGaudioFile, PlayTimeMustReachATenthOfASecond)
{
    // 1600 bytes at 128 kbit/s are exactly 0.1 s; one byte less is too short.
    const Bytes audio1600 = Concat({Frames(Cbr128, L128, 3), Junk(1600 - 3 * L128)});
    const audio::TMPEGaudio& a = Analyse(Concat({Id3v2Tag(4000), audio1600}));
    ASSERT_TRUE(ok_);
    EXPECT_EQ(a.Duration(), 0.1);
    EXPECT_TRUE(a.Valid());
    EXPECT_FALSE(Analyse(Concat({Id3v2Tag(4000), Bytes(audio1600.begin(), audio1600.end() - 1)})).Valid());
}

TEST_F(MPEGaudioFile, VbriHeaderNamesFraunhofer)
{
    Bytes stream = Frames(Cbr128, L128, 10);
    PutVbri(stream, 36, 500, 208500, 80);
    const audio::TMPEGaudio& a = Analyse(stream);
    EXPECT_EQ(a.VBR().Frames, 500);
    EXPECT_EQ(a.Encoder(), "FhG");
    EXPECT_EQ(a.BitRate(), 128);

    // In a mono frame the header is looked for at offset 21 and not seen.
    Header mono;
    mono.mode = audio::ModeMono;
    Bytes monoStream = Frames(mono, L128, 10);
    PutVbri(monoStream, 36, 500, 208500, 80);
    EXPECT_FALSE(Analyse(monoStream).VBR().Found);
    EXPECT_EQ(analyser_.Frames(), 10);
}

// The end scan looks at the 3458 bytes before the ID3v1 tag (or the end of the file), for at
// most 5 frame lengths + 8 bytes back from there.
TEST_F(MPEGaudioFile, EndSignatureWithinFiveFramesOfTheEnd)
{
    const std::size_t reach = 5 * L128 + 8;
    auto withSignature = [](std::size_t fromEnd, const std::string& signature, bool tagV1) {
        Bytes file = Frames(Cbr128, L128, 40);
        Put(file, file.size() - fromEnd, signature);
        return tagV1 ? Concat({file, Id3v1Tag()}) : file;
    };
    for (bool tagV1 : {false, true}) {
        SCOPED_TRACE(tagV1 ? "with ID3v1" : "without ID3v1");
        EXPECT_EQ(Analyse(withSignature(8, "LAME3.97", tagV1)).Encoder(), "LAME 3.97");
        EXPECT_EQ(analyser_.TailVendor(), "LAME3.97");
        EXPECT_EQ(Analyse(withSignature(reach, "LAME3.97", tagV1)).Encoder(), "LAME 3.97");
        EXPECT_EQ(Analyse(withSignature(reach + 1, "LAME3.97", tagV1)).Encoder(), "FhG");
        EXPECT_EQ(Analyse(withSignature(100, "GOGO", tagV1)).Encoder(), "GoGo");
    }
    // Inside the ID3v1 tag a signature is not part of the stream.
    Bytes tag = Id3v1Tag();
    Put(tag, 97, "LAME3.97");
    EXPECT_EQ(Analyse(Concat({Frames(Cbr128, L128, 40), tag})).Encoder(), "FhG");
}

// Files shorter than the end scan's 3458 bytes (3586 with an ID3v1 tag) are analysed like any
// other: the window stays on the end of the stream and what lies before the file is zero.
TEST_F(MPEGaudioFile, ShortFilesAreAnalysedAndScannedAtTheirEnd)
{
    Bytes stream = Frames(Cbr128, L128, 5);  // 2085 bytes, 0.13 s
    Put(stream, stream.size() - 8, "LAME3.99");
    const audio::TMPEGaudio& a = Analyse(stream);
    ASSERT_TRUE(ok_);
    EXPECT_TRUE(a.Valid());
    EXPECT_EQ(a.Frames(), 5);
    EXPECT_EQ(a.Encoder(), "LAME 3.99");
    EXPECT_EQ(a.BytesRead(), 10 + 2085 + 2085);

    Bytes tag = Id3v1Tag();
    Put(tag, 3, "LAME3.97");  // in the tag's title: not part of the stream
    const audio::TMPEGaudio& b = Analyse(Concat({stream, tag}));
    ASSERT_TRUE(ok_);
    EXPECT_TRUE(b.TagV1Exists());
    EXPECT_EQ(b.TailVendor(), "LAME3.99");
    EXPECT_EQ(b.Frames(), 5);

    // Without a signature: the same guess as for a long file.
    const audio::TMPEGaudio& c = Analyse(Frames(Cbr128, L128, 5));
    ASSERT_TRUE(ok_);
    EXPECT_EQ(c.TailVendor(), "");
    EXPECT_EQ(c.Encoder(), "FhG");
}

// Layer I frames found with their real lengths, in MPEG 1 at 44100 Hz and in MPEG 2.
TEST_F(MPEGaudioFile, LayerIStreams)
{
    Header mpeg1;  // 384 kbit/s, 44100 Hz: 416 bytes
    mpeg1.layer = audio::LayerI;
    mpeg1.bitRateIndex = 12;
    const audio::TMPEGaudio& a = Analyse(Frames(mpeg1, 416, 50));
    ASSERT_TRUE(a.Frame().Found);
    EXPECT_EQ(a.Layer(), "Layer I");
    EXPECT_EQ(a.Frames(), 50);
    EXPECT_TRUE(a.Valid());

    Header mpeg2 = mpeg1;  // 128 kbit/s, 22050 Hz: 276 bytes
    mpeg2.version = 2;
    mpeg2.bitRateIndex = 8;
    const audio::TMPEGaudio& b = Analyse(Frames(mpeg2, 276, 50));
    ASSERT_TRUE(b.Frame().Found);
    EXPECT_EQ(b.Version(), "MPEG 2");
    EXPECT_EQ(b.Frames(), 50);
    EXPECT_NEAR(b.Duration(), 50 * 384.0 / 22050, 0.01);

    // A Xing header in a Layer I stream counts 384 samples a frame.
    Bytes vbr = Frames(mpeg2, 276, 10);
    PutXing(vbr, 21, 100, 27600, 0, "");
    EXPECT_NEAR(Analyse(vbr).Duration(), 100 * 384.0 / 22050, 1e-9);
    EXPECT_EQ(analyser_.BitRate(), 127);  // 276 bytes x 22050 / 48 / 1000 = 126.8
}

void ExpectSameAnalysis(const audio::TMPEGaudio& a, const audio::TMPEGaudio& b)
{
    EXPECT_EQ(a.FileLength(), b.FileLength());
    EXPECT_EQ(a.Frame().Found, b.Frame().Found);
    EXPECT_EQ(a.Frame().Position, b.Frame().Position);
    EXPECT_EQ(a.Frame().HeaderBytes, b.Frame().HeaderBytes);
    EXPECT_EQ(a.VBR().Found, b.VBR().Found);
    EXPECT_EQ(a.VBR().Frames, b.VBR().Frames);
    EXPECT_EQ(a.VBR().Vendor, b.VBR().Vendor);
    EXPECT_EQ(a.TailVendor(), b.TailVendor());
    EXPECT_EQ(a.TagV2Size(), b.TagV2Size());
    EXPECT_EQ(a.TagV1Exists(), b.TagV1Exists());
    EXPECT_EQ(a.BytesRead(), b.BytesRead());
    EXPECT_EQ(a.Encoder(), b.Encoder());
    EXPECT_EQ(a.Valid(), b.Valid());
}

// The analyser and the ID3v1 reader over one open song find what each finds alone, and the
// song's bytes read no range twice: the file's head and tail serve both.
TEST_F(MPEGaudioFile, OneOpenSongServesTheAnalyserAndTheId3v1Reader)
{
    const auto firstBytes = [](Bytes bytes, std::size_t count) {
        bytes.resize(count);
        return bytes;
    };
    const std::vector<std::pair<const char*, Bytes>> files = {
        {"tag and frames", Concat({Id3v2Tag(1000), Frames(Cbr128, L128, 40), Id3v1Tag()})},
        {"tag larger than the head", Concat({Id3v2Tag(20000), Frames(Cbr128, L128, 40)})},
        {"scan reaching past the head", Concat({Id3v2Tag(6000), Frames(Cbr128, L128, 40)})},
        {"xing and id3v1", Concat({XingStream(1000, 417000), Id3v1Tag()})},
        {"second scan halfway", Concat({Junk(4000), Frames(Cbr128, L128, 4), Junk(6000), Frames(Cbr128, L128, 40)})},
        {"no audio", Junk(30000)},
        {"shortest", firstBytes(Frames(Cbr128, L128, 40), 128)},
        {"too short", Junk(127)},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        const std::string path = dir_.File("shared.mp3");
        fixtures::WriteFileBytes(path, bytes);
        audio::TMPEGaudio alone;
        audio::TID3v1 tagAlone;
        const bool okAlone = alone.ReadFromFile(path);
        const bool tagOkAlone = tagAlone.ReadFromFile(path);

        io::SongBytes song;
        ASSERT_TRUE(song.Open(path));
        audio::TMPEGaudio shared;
        audio::TID3v1 tagShared;
        EXPECT_EQ(shared.ReadFromSource(song), okAlone);
        EXPECT_EQ(tagShared.ReadFromSource(song), tagOkAlone);
        ExpectSameAnalysis(shared, alone);
        EXPECT_EQ(tagShared.Exists(), tagAlone.Exists());
        EXPECT_EQ(tagShared.Title(), tagAlone.Title());
        EXPECT_EQ(song.FileBytesRead(), song.KeptBytes());
        EXPECT_LE(song.FileBytesRead(), song.Length());
    }

    // A song that could not be opened fails both as a missing file does.
    io::SongBytes missing;
    EXPECT_FALSE(missing.Open(dir_.File("missing.mp3")));
    audio::TID3v1 tag;
    EXPECT_FALSE(analyser_.ReadFromSource(missing));
    ExpectResetState(analyser_);
    EXPECT_EQ(analyser_.BytesRead(), 0);
    EXPECT_FALSE(tag.ReadFromSource(missing));
    EXPECT_FALSE(tag.Exists());
}

} // namespace
