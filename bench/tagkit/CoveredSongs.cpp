#include "CoveredSongs.h"

#include "bench/support/Floors.h"
#include "bench/support/Turns.h"
#include "bench/support/WorkingSet.h"
#include "tagkit/SongExamination.h"
#include "tools/mp3fixtures/FileBytes.h"

#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace bench {
namespace {

namespace fs = std::filesystem;

constexpr int kSongs = 200;
constexpr unsigned kCoverBytes = 40 * 1024;

// The song with a version 2.4 tag holding a title, an artist and a 40 KB front cover.
bool MakeCovered(const std::string& plain, const std::string& covered)
{
    if (fs::exists(covered))
        return true;
    fs::copy_file(plain, covered);
    TagLib::MPEG::File file(covered.c_str(), false);
    TagLib::ID3v2::Tag* tag = file.ID3v2Tag(true);
    tag->setTitle("Capa");
    tag->setArtist("Artista");
    auto cover = std::make_unique<TagLib::ID3v2::AttachedPictureFrame>();
    cover->setMimeType("image/jpeg");
    cover->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
    cover->setPicture(TagLib::ByteVector(kCoverBytes, 'J'));
    tag->addFrame(cover.release());
    return file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers, TagLib::ID3v2::v4);
}

bool OursKeeping(const std::string& path)
{
    static const tagkit::TagValues values = [] {
        tagkit::TagValues v;
        v.Title = "Novo titulo";
        v.FileExtension = ".mp3";
        return v;
    }();
    tagkit::SongExamination inspection = tagkit::SongExamination::Of(path, tagkit::Access::HeldForWriting(id3v2::kDefaultLockWait));
    return inspection.Save(inspection.Plan(values, {true, false})).Done();
}

// mutagen over its own copies, in one process: its median microseconds per song, or a negative
// number when it could not run.
double MutagenMedian(const std::string& folder)
{
    const std::string script = R"(
import glob, statistics, sys, time
from mutagen.id3 import ID3, TIT2
times = []
for path in sorted(glob.glob(sys.argv[1] + "/*.mp3")):
    start = time.perf_counter()
    tags = ID3(path)
    tags.add(TIT2(encoding=3, text="Novo titulo"))
    tags.save(v2_version=3)
    times.append(time.perf_counter() - start)
print(statistics.median(times) * 1e6)
)";
    const std::string command = "/usr/bin/python3 -c '" + script + "' '" + folder + "'";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return -1;
    double median = -1;
    if (std::fscanf(pipe, "%lf", &median) != 1)
        median = -1;
    return ::pclose(pipe) == 0 ? median : -1;
}

} // namespace

void RunCoveredSongsCase(const std::string& plainSong, const std::string& data)
{
    const std::string covered = data + "/covered-5m.mp3";
    if (!MakeCovered(plainSong, covered)) {
        std::fprintf(stderr, "cannot make the covered song\n");
        return;
    }
    // The floor writes a tag as large as the old one, then the song behind it.
    const std::vector<std::uint8_t> tag(static_cast<std::size_t>(kCoverBytes + 200), 0);
    const std::string work = data + "/work";
    std::vector<Contender> contenders = {{"ours keeping the other frames", OursKeeping, {}, {}},
                                         {"floor (copy, fsync, rename)", [&](const std::string& p) { return FloorRebuild(p, tag); }, {}, {}}};
    for (Contender& c : contenders)
        c.files = MakeWorkingSet(work + "/" + c.name, covered, kSongs);
    ::sync();
    RunInTurns(contenders);
    Report("Keeping the other frames, " + std::to_string(kSongs) + " files of 5 MB with a 40 KB front cover, one title changed",
           contenders);
    for (const Contender& c : contenders)
        RemoveFolder(work + "/" + c.name);

    const std::string mutagen = work + "/mutagen";
    MakeWorkingSet(mutagen, covered, kSongs);
    ::sync();
    const double median = MutagenMedian(mutagen);
    if (median < 0)
        std::printf("  mutagen (load, set, save 2.3): could not run\n");
    else
        std::printf("  mutagen (load, set, save 2.3), in one process over its own copies: %.0f us a file\n", median);
    RemoveFolder(mutagen);
}

} // namespace bench
