// tagkit_bench [data folder]: times the tag toolkit's whole per-song sequence over real MP3
// files, as a batch run over the catalogue does it.
//
// Ours: the song's inspection held for writing from before it reads the song, the plan of its new
// tag with 15 catalogue values, and its save.
// In place: 2,000 files of about 40 KB and 100 files of 5 MB, each with a 4096-byte tag that
// another program wrote (no popularimeter), against
//   the floor: open, pread the first 10 KB and the last 4 KB, pwrite 4096 bytes, close;
//   TagLib: read the tag and the audio properties, set the same frames, save as version 2.3.
// Rebuild: 200 files without a tag, against a floor that writes the tag and copy_file_ranges
// the file into a temporary file, fsyncs it and renames it over the original.
// Keeping the other frames: 200 files of 5 MB with a 40 KB front cover, one title changed, against
// the rebuild floor and against mutagen's save of the same change.
// In the first two, the writers' lock alone (open for writing, lock, fstat, stat by name, close, as a
// save takes and checks it) is an upper bound of what the lock adds to a save.
//
// Contenders take turns file by file on their own copies (warm cache). Prints medians in
// microseconds per file, the medians of the pair-by-pair ratios, and how many times our
// sequence opens each file and how many bytes it reads.
#include "CoveredSongs.h"
#include "FileAccessCount.h"
#include "ForeignTag.h"
#include "bench/support/Floors.h"
#include "bench/support/Turns.h"
#include "bench/support/WorkingSet.h"
#include "id3v2/TagWriter.h"
#include "io/FileSystem.h"
#include "io/SongFile.h"
#include "tagkit/SongExamination.h"
#include "tools/mp3fixtures/FileBytes.h"

#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/popularimeterframe.h>
#include <taglib/textidentificationframe.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The catalogue's values for one song, as the song mapping passes them.
tagkit::TagValues CatalogueValues()
{
    tagkit::TagValues v;
    v.Title = "Cancao do Mar";
    v.Artist = "Artista Exemplo";
    v.Composer = "Compositor da Silva";
    v.Album = "Album Exemplo";
    v.Year = "1975";
    v.Track = "7";
    v.Genre = "Samba";
    v.SubGenre = "Samba-enredo";
    v.Rhythm = "Samba";
    v.Language = "Portugues";
    v.RecordLabel = "Gravadora Exemplo";
    v.Vocal = "Masculino";
    v.PeriodType = "D";
    v.PeriodStart = "1970";
    v.PeriodEnd = "1979";
    v.FileExtension = ".mp3";
    return v;
}

bool OursSequence(const std::string& path)
{
    static const tagkit::TagValues values = CatalogueValues();
    tagkit::SongExamination inspection = tagkit::SongExamination::Of(path, tagkit::Access::HeldForWriting(id3v2::kDefaultLockWait));
    return inspection.Save(inspection.Plan(values)).Done();
}

// What the writers' lock costs a save: the song opened for writing, locked, asked again under
// the lock and by its name, then closed.
bool LockAlone(const std::string& path)
{
    io::SongFile song;
    return song.Open(path) && song.LockForWriting(std::chrono::milliseconds(0)).Done() &&
           song.Close();
}

void SetText(TagLib::ID3v2::Tag& tag, const char* id, const std::string& text)
{
    tag.removeFrames(id);
    auto frame = std::make_unique<TagLib::ID3v2::TextIdentificationFrame>(TagLib::ByteVector(id), TagLib::String::Latin1);
    frame->setText(TagLib::String(text, TagLib::String::Latin1));
    tag.addFrame(frame.release());
}

bool TagLibSequence(const std::string& path)
{
    static const tagkit::TagValues v = CatalogueValues();
    TagLib::MPEG::File file(path.c_str(), true, TagLib::AudioProperties::Average);
    if (!file.isValid() || file.audioProperties() == nullptr)
        return false;
    volatile int seconds = file.audioProperties()->lengthInMilliseconds();
    (void)seconds;
    TagLib::ID3v2::Tag& tag = *file.ID3v2Tag(true);
    SetText(tag, "TIT2", v.Title);
    SetText(tag, "TPE1", v.Artist);
    SetText(tag, "TCOM", v.Composer);
    SetText(tag, "TALB", v.Album);
    SetText(tag, "TYER", v.Year);
    SetText(tag, "TRCK", v.Track);
    SetText(tag, "TCON", v.Genre);
    SetText(tag, "TEST", v.SubGenre);
    SetText(tag, "TRIT", v.Rhythm);
    SetText(tag, "TLAN", v.Language);
    SetText(tag, "TGRA", v.RecordLabel);
    SetText(tag, "TVOC", v.Vocal);
    SetText(tag, "TTPE", v.PeriodType);
    SetText(tag, "TPIN", v.PeriodStart);
    SetText(tag, "TPFI", v.PeriodEnd);
    SetText(tag, "TEXT", v.FileExtension);
    SetText(tag, "TCAD", "S");
    if (tag.frameList("POPM").isEmpty())
        tag.addFrame(new TagLib::ID3v2::PopularimeterFrame());
    return file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone, TagLib::ID3v2::v3, TagLib::File::DoNotDuplicate);
}

// Our sequence once more over fresh copies, untimed, counting opens and bytes read per file.
void ReportFileAccess(const std::string& folder, const std::string& source, int count)
{
    const auto files = bench::MakeWorkingSet(folder, source, count);
    const bench::FileAccess before = bench::CurrentFileAccess();
    for (const std::string& path : files)
        OursSequence(path);
    const bench::FileAccess after = bench::CurrentFileAccess();
    std::printf("  ours per file: %.2f opens, %.2f read calls, %.0f bytes read\n",
                static_cast<double>(after.opens - before.opens) / count,
                static_cast<double>(after.readCalls - before.readCalls) / count,
                static_cast<double>(after.bytesRead - before.bytesRead) / count);
    bench::RemoveFolder(folder);
}

struct Master {
    std::string name;
    std::string plain;    // no tag
    std::string tagged;   // with another program's 4096-byte tag
    int count;
};

bool PrepareMaster(Master& m, const std::vector<std::string>& lameArgs, double seconds)
{
    if (!bench::EncodeOnce(m.plain, lameArgs, seconds))
        return false;
    if (!fs::exists(m.tagged)) {
        const auto tag = bench::ForeignTag();
        auto bytes = fixtures::ReadFileBytes(m.plain);
        bytes.insert(bytes.begin(), tag.begin(), tag.end());
        fixtures::WriteFileBytes(m.tagged, bytes);
    }
    return true;
}

void RunCase(const std::string& title, const std::string& work, const std::string& source, int count,
             std::vector<bench::Contender> contenders)
{
    for (bench::Contender& c : contenders)
        c.files = bench::MakeWorkingSet(work + "/" + c.name, source, count);
    ::sync();
    bench::RunInTurns(contenders);
    bench::Report(title, contenders);
    for (const bench::Contender& c : contenders)
        bench::RemoveFolder(work + "/" + c.name);
    ReportFileAccess(work + "/access", source, std::min(count, 200));
}

} // namespace

int main(int argc, char** argv)
{
    const std::string data = argc > 1 ? argv[1] : FONAREL_BENCH_DATA;
    fs::create_directories(data);
    std::vector<Master> masters = {
        {"40 KB", data + "/plain-40k.mp3", data + "/tagged-40k.mp3", 2000},
        {"5 MB", data + "/plain-5m.mp3", data + "/tagged-5m.mp3", 100},
    };
    std::fprintf(stderr, "preparing the master files in %s (once)\n", data.c_str());
    if (!PrepareMaster(masters[0], {"-b", "128"}, 2.4) || !PrepareMaster(masters[1], {"-b", "320"}, 131.0)) {
        std::fprintf(stderr, "cannot make the MP3 files (lame, ffmpeg)\n");
        return 1;
    }
    const std::vector<std::uint8_t> tag = bench::ForeignTag();
    const std::string work = data + "/work";
    for (const Master& m : masters) {
        RunCase("In place, " + std::to_string(m.count) + " files of " + m.name + " with another program's 4096-byte tag",
                work, m.tagged, m.count,
                {{"ours (whole sequence)", OursSequence, {}, {}},
                 {"floor (pread, pwrite)", [&](const std::string& p) { return bench::FloorInPlace(p, tag); }, {}, {}},
                 {"TagLib (read, set, save 2.3)", TagLibSequence, {}, {}},
                 {"the writers' lock alone", LockAlone, {}, {}}});
    }
    RunCase("Rebuild, 200 files of 40 KB without a tag", work, masters[0].plain, 200,
            {{"ours (whole sequence)", OursSequence, {}, {}},
             {"floor (copy, fsync, rename)", [&](const std::string& p) { return bench::FloorRebuild(p, tag); }, {}, {}},
             {"the writers' lock alone", LockAlone, {}, {}}});
    bench::RunCoveredSongsCase(masters[1].plain, data);
    bench::RemoveFolder(work);
    return 0;
}
