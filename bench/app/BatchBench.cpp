// Prints, in the offscreen window:
//   - "Gravar Todas" over N songs (5,000 by default) whose tags are rewritten in place, against
//     the bare toolkit loop (CreateTagObjects, LoadFileInfo, SaveTagInfo, FreeTagObjects) over the
//     same files with the same values, in alternating rounds of the same run;
//   - the memory of "Gravar Todas" over 100,000 songs (which rewrite 100 files in turn): the heap
//     at its peak and after the run, against the song list's kept rows.
//
//   batch_bench [songs] [rounds] [speed]    (5000 and 3 by default; "speed" leaves out the memory)
#include "bench/app/BenchWindow.h"
#include "bench/support/CatalogueSongs.h"
#include "bench/support/Measures.h"
#include "bench/support/WorkingSet.h"

#include "app/UPrincipal.h"
#include "catalogue/CatalogueSession.h"
#include "io/FileSystem.h"

#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

namespace fs = std::filesystem;
using bench::Clock;
using bench::Milliseconds;

const std::string kData = FONAREL_BENCH_DATA;

double GravarTodas(app::TFrmPrincipal& window, bench::CountedBoxes& boxes)
{
    const int before = boxes.shown;
    const auto start = Clock::now();
    window.BTodas->click();
    const double ms = Milliseconds(Clock::now() - start);
    if (boxes.shown != before + 1)
        std::fprintf(stderr, "batch_bench: the run did not end with its closing message\n");
    return ms;
}

// A working set of copies of the master, a catalogue of songs over them, and the window open on
// that catalogue; all removed again when it goes.
class Stage {
public:
    Stage(const std::string& name, const std::string& master, std::size_t songs, std::size_t files)
        : folder_(kData + "/" + name)
        , database_(kData + "/" + name + ".fdb")
    {
        bench::MakeWorkingSet(folder_, master, static_cast<int>(files));
        bench::BuildSongCatalogue(database_, folder_, songs, files);
        window_ = std::make_unique<app::TFrmPrincipal>(boxes, bench::ConfigurationFolder(database_) / "fonarel");
        window_->show();
        open_ = QTest::qWaitForWindowExposed(window_.get());
    }
    ~Stage()
    {
        window_.reset();
        bench::RemoveFolder(folder_);
        fs::remove(database_);
    }
    bool Open() const { return open_; }
    app::TFrmPrincipal& Window() { return *window_; }

    bench::CountedBoxes boxes;

private:
    std::string folder_;
    std::string database_;
    std::unique_ptr<app::TFrmPrincipal> window_;
    bool open_ = false;
};

void Speed(int songCount, int rounds, const std::string& master)
{
    Stage stage("batch", master, static_cast<std::size_t>(songCount), static_cast<std::size_t>(songCount));
    if (!stage.Open())
        return;
    app::TFrmPrincipal& window = stage.Window();
    bench::CountedBoxes& boxes = stage.boxes;
    std::vector<songs::SongTag> mapped = bench::MappedSongs(window.Catalogue().Q_Musicas());
    // Untimed: every file gets its first tag (a rebuild); from here on tags are rewritten in place.
    bench::BareLoop(mapped, true, false);

    std::vector<double> windowRuns, bareRuns;
    for (int r = 0; r < rounds; ++r) {
        if (r % 2 == 0) {
            windowRuns.push_back(GravarTodas(window, boxes));
            bareRuns.push_back(Milliseconds(bench::BareLoop(mapped, true, false)));
        } else {
            bareRuns.push_back(Milliseconds(bench::BareLoop(mapped, true, false)));
            windowRuns.push_back(GravarTodas(window, boxes));
        }
    }
    // The one flush a run makes at its end (the window's runs above include it): after a bare
    // loop, what it costs to get the rewritten tags onto the disk.
    bench::BareLoop(mapped, true, false);
    io::WrittenFileSystems written;
    written.AddByName(mapped.front().fileName);
    const auto flushStart = Clock::now();
    written.FlushAll();
    const double flush = Milliseconds(Clock::now() - flushStart);
    std::printf("the flush at the end of a run (syncfs of its one file system, after %d in-place writes): %.1f ms\n",
                songCount, flush);

    const double w = bench::Median(windowRuns), b = bench::Median(bareRuns);
    std::printf("\"Gravar Todas\" over %d songs, tags rewritten in place (%d rounds, medians): window %.0f ms "
                "(%.1f us a song), bare toolkit loop %.0f ms (%.1f us a song): %.3fx\n",
                songCount, rounds, w, 1000 * w / songCount, b, 1000 * b / songCount, w / b);
}

void Memory(const std::string& master)
{
    constexpr std::size_t kSongs = 100000, kFiles = 100;
    Stage stage("memory", master, kSongs, kFiles);
    if (!stage.Open())
        return;
    app::TFrmPrincipal& window = stage.Window();
    QTest::qWait(50);
    const std::size_t before = bench::HeapInUse();
    std::size_t peak = before, atSong1000 = 0, songs = 0;
    window.SetBeforeSongHook([&] {
        peak = std::max(peak, bench::HeapInUse());
        if (++songs == 1000)
            atSong1000 = bench::HeapInUse();
    });
    const auto start = Clock::now();
    window.BTodas->click();
    const double ms = Milliseconds(Clock::now() - start);
    const std::size_t after = bench::HeapInUse();
    const std::size_t kept = window.Catalogue().Q_Musicas().KeptBytes();
    std::printf("\"Gravar Todas\" over %zu songs (%zu files in turn) in %.1f s: heap before %.2f MiB; the kept rows "
                "%.2f MiB; peak during the run +%.2f MiB; after the run +%.2f MiB; from song 1,000 to the end %+.3f MiB\n",
                songs, kFiles, ms / 1000, bench::MiB(double(before)), bench::MiB(double(kept)),
                bench::MiB(double(peak) - double(before)), bench::MiB(double(after) - double(before)),
                bench::MiB(double(after) - double(atSong1000)));
}

} // namespace

int main(int argc, char** argv)
{
    const int songs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    bench::BenchApplication application(argc, argv);
    fs::create_directories(kData);
    const std::string master = kData + "/master-40k.mp3";
    if (!bench::EncodeOnce(master, {"-b", "128"}, 2.5)) {
        std::fprintf(stderr, "batch_bench: lame could not make %s\n", master.c_str());
        return 1;
    }
    Speed(songs, rounds, master);
    if (argc <= 3 || std::string(argv[3]) != "speed")
        Memory(master);
    return 0;
}
