// The analyser on files made by real encoders (lame, twolame, ffmpeg), checked against what
// mediainfo and mutagen report for the same files. Every file is encoded once for the
// whole suite.
#include "audio/ID3v1.h"
#include "audio/MPEGaudio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

#include "tools/mp3fixtures/Command.h"
#include "tools/mp3fixtures/Encoders.h"
#include "tools/mp3fixtures/ScratchDir.h"

namespace {

using fixtures::Encoder;

struct EncodedFile {
    const char* name;
    Encoder encoder;
    std::vector<std::string> args;
    // The encoder name the analyser gives the file.
    const char* encoderText;
    // The first frame's channel mode, when it differs from the stream's: ffmpeg writes its
    // Info/Xing frame as plain stereo in front of joint-stereo audio.
    const char* firstFrameMode = nullptr;
};

const std::vector<EncodedFile>& Files()
{
    static const std::vector<EncodedFile> files = {
        // Constant bit rate over the whole MPEG 1 Layer III range. lame marks its files with an
        // "Info" frame (not a VBR header) and with "LAME3.100" in the ancillary data of the last
        // frames; at 32 kbit/s neither fits, and the first frame's habits say FhG. Whether the
        // signature fits at low rates depends on the audio: the input is the same every run.
        {"lame_cbr_32", Encoder::Lame, {"--resample", "44.1", "-b", "32"}, "FhG"},
        {"lame_cbr_40", Encoder::Lame, {"--resample", "44.1", "-b", "40"}, "LAME 3.10"},
        {"lame_cbr_48", Encoder::Lame, {"--resample", "44.1", "-b", "48"}, "LAME 3.10"},
        {"lame_cbr_56", Encoder::Lame, {"--resample", "44.1", "-b", "56"}, "LAME 3.10"},
        {"lame_cbr_64", Encoder::Lame, {"--resample", "44.1", "-b", "64"}, "LAME 3.10"},
        {"lame_cbr_80", Encoder::Lame, {"--resample", "44.1", "-b", "80"}, "LAME 3.10"},
        {"lame_cbr_96", Encoder::Lame, {"--resample", "44.1", "-b", "96"}, "LAME 3.10"},
        {"lame_cbr_112", Encoder::Lame, {"-b", "112"}, "LAME 3.10"},
        {"lame_cbr_128", Encoder::Lame, {"-b", "128"}, "LAME 3.10"},
        {"lame_cbr_160", Encoder::Lame, {"-b", "160"}, "LAME 3.10"},
        {"lame_cbr_192", Encoder::Lame, {"-b", "192"}, "LAME 3.10"},
        {"lame_cbr_224", Encoder::Lame, {"-b", "224"}, "LAME 3.10"},
        {"lame_cbr_256", Encoder::Lame, {"-b", "256"}, "LAME 3.10"},
        {"lame_cbr_320", Encoder::Lame, {"-b", "320"}, "LAME 3.10"},
        // Xing headers with "LAME3.100" as vendor: the version shows as its first 4 characters.
        {"lame_vbr_V0", Encoder::Lame, {"-V", "0"}, "LAME 3.10"},
        {"lame_vbr_V9", Encoder::Lame, {"-V", "9"}, "LAME 3.10"},
        {"lame_abr_160", Encoder::Lame, {"--abr", "160"}, "LAME 3.10"},
        {"lame_mono", Encoder::Lame, {"-m", "m", "-b", "64"}, "LAME 3.10"},
        {"lame_joint", Encoder::Lame, {"-m", "j", "-b", "128"}, "LAME 3.10"},
        {"lame_stereo", Encoder::Lame, {"-m", "s", "-b", "192"}, "LAME 3.10"},
        {"lame_mpeg2_22050", Encoder::Lame, {"--resample", "22.05", "-b", "64"}, "LAME 3.10"},
        {"lame_mpeg2_24000", Encoder::Lame, {"--resample", "24", "-b", "64"}, "LAME 3.10"},
        {"lame_mpeg2_16000", Encoder::Lame, {"--resample", "16", "-b", "48"}, "LAME 3.10"},
        {"lame_mpeg25_11025", Encoder::Lame, {"--resample", "11.025", "-b", "32"}, "LAME 3.10"},
        {"lame_mpeg25_12000", Encoder::Lame, {"--resample", "12", "-b", "32"}, "LAME 3.10"},
        {"lame_mpeg25_8000", Encoder::Lame, {"--resample", "8", "-b", "24"}, "LAME 3.10"},
        // Layer II carries no signature: the guess from the first header.
        {"twolame_192", Encoder::Twolame, {"-b", "192"}, "QDesign"},
        {"twolame_mono", Encoder::Twolame, {"-m", "m", "-b", "96"}, "QDesign"},
        {"twolame_dual_crc", Encoder::Twolame, {"-m", "d", "-p", "-b", "192"}, "Shine"},
        // ffmpeg's MP3 encoder: an Info frame (CBR) or a Xing header with vendor "Lavc".
        {"ffmpeg_cbr_128", Encoder::Ffmpeg, {"-b:a", "128k"}, "LAME 3.10", "Stereo"},
        {"ffmpeg_vbr_q2", Encoder::Ffmpeg, {"-q:a", "2"}, "Xing", "Stereo"},
        // Tags around the audio: an ID3v2 tag (and an ID3v1 tag), an ID3v1 tag alone.
        {"lame_id3v2", Encoder::Lame, {"-b", "128", "--add-id3v2", "--tt", "Title", "--ta", "Artist"}, "LAME 3.10"},
        {"lame_id3v1", Encoder::Lame, {"-b", "128", "--id3v1-only", "--tt", "Title", "--ta", "Artist"}, "LAME 3.10"},
    };
    return files;
}

// What the independent readers say about one file.
struct Reference {
    std::string version;       // "Version 1", "Version 2", "Version 2.5"
    std::string layer;         // "Layer 2", "Layer 3"
    std::string mode;          // "Joint stereo", "Dual mono" or empty
    long frameCount = 0;
    long sampleRate = 0;
    long channels = 0;
    double duration = 0;       // seconds
    long bitRate = 0;          // bit/s
    long id3v2Size = 0;        // 0 without a tag
};

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

long Number(const std::string& text)
{
    return text.empty() ? -1 : std::stol(text);
}

// mediainfo's view of the audio stream.
Reference MediaInfo(const std::string& path)
{
    const std::string info = fixtures::RunCommand({"mediainfo",
        "--Inform=Audio;%Format_Version%|%Format_Profile%|%Format_Settings_Mode%|%FrameCount%|%SamplingRate%|"
        "%Channel(s)%|%Duration%|%BitRate%|", path}).output;
    const auto fields = Split(info, '|');
    Reference ref;
    if (fields.size() < 8)
        return ref;
    ref.version = fields[0];
    ref.layer = fields[1];
    ref.mode = fields[2];
    ref.frameCount = Number(fields[3]);
    ref.sampleRate = Number(fields[4]);
    ref.channels = Number(fields[5]);
    ref.duration = static_cast<double>(Number(fields[6])) / 1000;  // milliseconds
    ref.bitRate = Number(fields[7]);
    return ref;
}

// mutagen's ID3v2 tag sizes (header included; 0 without a tag), one python run for all files.
std::vector<long> Id3v2Sizes(const std::vector<std::string>& paths)
{
    std::vector<std::string> argv = {"/usr/bin/python3", "-c",
        "import sys, mutagen.id3\n"
        "for p in sys.argv[1:]:\n"
        "    try: print(mutagen.id3.ID3(p).size)\n"
        "    except mutagen.id3.ID3NoHeaderError: print(0)\n"};
    argv.insert(argv.end(), paths.begin(), paths.end());
    std::vector<long> sizes;
    for (const std::string& line : Split(fixtures::RunCommand(argv).output, '\n'))
        sizes.push_back(Number(line));
    return sizes;
}

std::string VersionName(const std::string& mediainfoVersion)
{
    if (mediainfoVersion == "Version 1")
        return "MPEG 1";
    if (mediainfoVersion == "Version 2")
        return "MPEG 2";
    if (mediainfoVersion == "Version 2.5")
        return "MPEG 2.5";
    return "?" + mediainfoVersion;
}

std::string LayerName(const std::string& mediainfoLayer)
{
    if (mediainfoLayer == "Layer 1")
        return "Layer I";
    if (mediainfoLayer == "Layer 2")
        return "Layer II";
    if (mediainfoLayer == "Layer 3")
        return "Layer III";
    return "?" + mediainfoLayer;
}

std::string ModeName(const Reference& ref)
{
    if (ref.channels == 1)
        return "Mono";
    if (ref.mode == "Joint stereo")
        return "Joint Stereo";
    if (ref.mode == "Dual mono")
        return "Dual Channel";
    return "Stereo";
}

// Encodes every file and asks the other readers about it. One test runs over all files, so that
// CTest, which starts a process per test, encodes them once.
class EncodedFiles {
public:
    EncodedFiles()
    {
        const std::string wav = dir_.File("tone.wav");
        fixtures::Tone tone;
        tone.noiseSeed = 2010;  // the same input every run: the encoders' bytes depend on it
        if (!fixtures::MakeWav(wav, tone))
            return;
        std::vector<std::string> paths;
        for (const EncodedFile& file : Files()) {
            const std::string path = Path(file);
            bool made = false;
            switch (file.encoder) {
            case Encoder::Lame: made = fixtures::EncodeWithLame(wav, path, file.args); break;
            case Encoder::Twolame: made = fixtures::EncodeWithTwolame(wav, path, file.args); break;
            case Encoder::Ffmpeg: made = fixtures::EncodeWithFfmpeg(wav, path, file.args); break;
            }
            if (!made)
                return;
            references_.push_back(MediaInfo(path));
            paths.push_back(path);
        }
        const std::vector<long> sizes = Id3v2Sizes(paths);
        for (std::size_t i = 0; i < sizes.size() && i < references_.size(); ++i)
            references_[i].id3v2Size = sizes[i];
        made_ = sizes.size() == Files().size();
    }

    bool Made() const { return made_; }
    std::string Path(const EncodedFile& file) const { return dir_.File(std::string(file.name) + ".mp3"); }
    const Reference& ReferenceOf(std::size_t i) const { return references_.at(i); }

private:
    fixtures::ScratchDir dir_{"real-encoders"};
    std::vector<Reference> references_;
    bool made_ = false;
};

void ExpectSameStream(const EncodedFile& file, const std::string& path, const Reference& ref)
{
    audio::TMPEGaudio a;
    ASSERT_TRUE(a.ReadFromFile(path));
    ASSERT_TRUE(a.Valid());

    EXPECT_EQ(a.Version(), VersionName(ref.version));
    EXPECT_EQ(a.Layer(), LayerName(ref.layer));
    EXPECT_EQ(a.SampleRate(), ref.sampleRate);
    EXPECT_EQ(a.ChannelMode(), file.firstFrameMode ? file.firstFrameMode : ModeName(ref));
    EXPECT_EQ(a.Encoder(), file.encoderText);

    // Without a VBR header the frame count is the audio size over the unpadded frame length,
    // the Info frame included; mediainfo counts the audio frames.
    EXPECT_LE(std::abs(a.Frames() - ref.frameCount), 2) << a.Frames() << " vs " << ref.frameCount;

    // Durations agree within three frames (mediainfo may leave out the encoder's delay and
    // padding, up to two frames).
    const double samplesPerFrame = a.Layer() == "Layer III" && a.Version() != "MPEG 1" ? 576 : 1152;
    EXPECT_NEAR(a.Duration(), ref.duration, 3 * samplesPerFrame / a.SampleRate());

    if (!a.VBR().Found)
        EXPECT_EQ(a.BitRate() * 1000, ref.bitRate);
    else
        EXPECT_NEAR(a.BitRate() * 1000.0, ref.bitRate, 0.05 * ref.bitRate);

    EXPECT_EQ(a.TagV2Size(), ref.id3v2Size);
    // lame writes an ID3v1 tag whenever it is given tag values, also with --add-id3v2.
    EXPECT_EQ(a.TagV1Exists(), std::string(file.name).starts_with("lame_id3"));
    EXPECT_LE(a.BytesRead(), 10 + 3458 + 3586);
}

TEST(RealEncoders, StreamsAreDescribedAsMediainfoAndMutagenSeeThem)
{
    const EncodedFiles files;
    ASSERT_TRUE(files.Made());
    for (std::size_t i = 0; i < Files().size(); ++i) {
        const EncodedFile& file = Files()[i];
        SCOPED_TRACE(file.name);
        ExpectSameStream(file, files.Path(file), files.ReferenceOf(i));
    }

    const EncodedFile& tagged = Files().back();
    ASSERT_STREQ(tagged.name, "lame_id3v1");
    audio::TID3v1 tag;
    ASSERT_TRUE(tag.ReadFromFile(files.Path(tagged)));
    EXPECT_TRUE(tag.Exists());
    EXPECT_EQ(tag.Title(), "Title");
    EXPECT_EQ(tag.Artist(), "Artist");
}

} // namespace
