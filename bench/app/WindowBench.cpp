// Prints, for the 100,000-song catalogue (embedded engine) in the offscreen window:
//   - the time from a typed letter to the list having painted its first screen of rows, against
//     the bare song query (the catalogue link without a window) fetching as many rows, in turns
//     in the same run;
//   - the window's memory with its first screen shown, against the song list's kept rows;
//   - a four-letter word typed quickly: one run of the query per letter, against keystrokes that
//     arrive while a query runs being served by one run of the text they leave.
//
//   window_bench [repetitions]    (5 by default)
//
// The catalogue is built once beside the program (shared with catalogue_bench).
#include "bench/app/BenchWindow.h"
#include "bench/support/GeneratedCatalogueFile.h"
#include "bench/support/Measures.h"

#include "app/SongGrid.h"
#include "app/SongTableModel.h"
#include "app/UPrincipal.h"
#include "catalogue/CatalogueSession.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <cstdio>
#include <cstdlib>

namespace {

using bench::Clock;
using bench::Milliseconds;

constexpr std::size_t kSongs = 100000;

// When the list last painted, and how many rows it showed then.
class PaintWatch final : public QObject {
public:
    PaintWatch(QWidget& viewport, const QAbstractItemModel& model)
        : model_(model)
    {
        viewport.installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            lastPaint = Clock::now();
            rowsAtPaint = model_.rowCount();
        }
        return false;
    }
    Clock::time_point lastPaint;
    int rowsAtPaint = 0;

private:
    const QAbstractItemModel& model_;
};

struct Bench {
    app::TFrmPrincipal& window;
    PaintWatch& watch;
    int resets = 0;
    Clock::time_point lastReset;
    int screenRows = 0;

    // Waits until count query runs have ended since `before` and the list has painted its first
    // screen after the last of them; the time of that paint.
    Clock::time_point FirstScreenAfter(int before, int count)
    {
        bench::ServeUntil([&] {
            return resets >= before + count && watch.lastPaint > lastReset && watch.rowsAtPaint >= screenRows;
        });
        return watch.lastPaint;
    }

    void SearchFor(const QString& text)
    {
        window.MEBuscarMusicas->blockSignals(true);
        window.MEBuscarMusicas->setText(text);
        window.MEBuscarMusicas->blockSignals(false);
        const int before = resets;
        window.MEBuscarMusicasChange();
        FirstScreenAfter(before, 1);
    }

    static void Key(QWidget* box, char letter, bool post)
    {
        const QString text(QChar::fromLatin1(letter));
        const int key = QChar::fromLatin1(letter).toUpper().unicode();
        if (post) {
            QCoreApplication::postEvent(box, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
            QCoreApplication::postEvent(box, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
        } else {
            QTest::keyClick(box, letter);
        }
    }
};

double BareQuery(catalogue::CatalogueSession& bare, std::size_t rows)
{
    const auto start = Clock::now();
    bare.RunSongQuery("A", "Mus_Codigo");
    bare.Q_Musicas().FetchUntil(rows);
    return Milliseconds(Clock::now() - start);
}

} // namespace

int main(int argc, char** argv)
{
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    bench::BenchApplication application(argc, argv);
    bench::BuildGeneratedCatalogueOnce(FONAREL_BENCH_CATALOGUE, kSongs);
    const std::filesystem::path folder = bench::ConfigurationFolder(FONAREL_BENCH_CATALOGUE);

    // The bare song query first: it loads the embedded engine, whose memory is then not the
    // window's.
    const std::size_t residentAtStart = bench::ResidentBytes();
    catalogue::CatalogueSession bare;
    bare.DB_Audio().SetDatabaseName(FONAREL_BENCH_CATALOGUE);
    bare.DB_Audio().Connect();
    bare.Transaction_Audio().Start(bare.DB_Audio());
    BareQuery(bare, 21);
    const std::size_t residentEngine = bench::ResidentBytes();
    // A second attachment with its own query: what the window's own attachment costs the engine.
    std::size_t residentSecondAttachment = 0;
    {
        catalogue::CatalogueSession second;
        second.DB_Audio().SetDatabaseName(FONAREL_BENCH_CATALOGUE);
        second.DB_Audio().Connect();
        second.Transaction_Audio().Start(second.DB_Audio());
        BareQuery(second, 21);
        residentSecondAttachment = bench::ResidentBytes() - residentEngine;
    }

    // A window without a catalogue (no RevoZadoz.ini where it looks): Qt's own share, the fonts,
    // the style and the painted window.
    std::size_t residentQt = 0;
    {
        bench::CountedBoxes none;
        const std::size_t before = bench::ResidentBytes();
        const std::filesystem::path empty = folder / "without-catalogue";
        std::filesystem::create_directories(empty);
        app::TFrmPrincipal first(none, empty / "fonarel");
        first.show();
        if (!QTest::qWaitForWindowExposed(&first))
            return 1;
        QTest::qWait(50);
        residentQt = bench::ResidentBytes() - before;
    }

    bench::CountedBoxes boxes;
    const std::size_t heapBefore = bench::HeapInUse();
    const std::size_t residentBefore = bench::ResidentBytes();
    app::TFrmPrincipal window(boxes, folder / "fonarel");
    PaintWatch watch(*window.DBMusicas->viewport(), window.SongModel());
    Bench b{window, watch, 0, {}, 0};
    QObject::connect(&window.SongModel(), &QAbstractItemModel::modelReset, [&] {
        ++b.resets;
        b.lastReset = Clock::now();
    });
    window.show();
    if (!QTest::qWaitForWindowExposed(&window) || boxes.shown != 0) {
        std::fprintf(stderr, "window_bench: the window did not open over %s\n", FONAREL_BENCH_CATALOGUE);
        return 1;
    }
    const int perPage = window.DBMusicas->viewport()->height() / window.DBMusicas->RowHeight();
    bench::ServeUntil([&] { return watch.rowsAtPaint >= perPage; });
    b.screenRows = watch.rowsAtPaint;
    const catalogue::SongList& songs = window.Catalogue().Q_Musicas();
    std::printf("window over %zu songs, first screen shown (%d rows painted, %zu fetched)\n", kSongs, b.screenRows,
                songs.RowCount());
    std::printf("  memory of the window: heap +%.2f MiB, resident +%.2f MiB; the song list's kept rows %.3f MiB "
                "\n  (before it: the embedded engine and a bare query +%.2f MiB, a second attachment with its query "
                "+%.2f MiB, a first window without a catalogue +%.2f MiB)\n",
                bench::MiB(double(bench::HeapInUse() - heapBefore)),
                bench::MiB(double(bench::ResidentBytes() - residentBefore)), bench::MiB(double(songs.KeptBytes())),
                bench::MiB(double(residentEngine - residentAtStart)), bench::MiB(double(residentSecondAttachment)),
                bench::MiB(double(residentQt)));

    std::vector<double> typed, bareRuns;
    for (int r = 0; r < repetitions; ++r) {
        const bool bareFirst = r % 2 == 1;
        if (bareFirst)
            bareRuns.push_back(BareQuery(bare, static_cast<std::size_t>(b.screenRows)));
        b.SearchFor({}); // the empty search, untimed
        const int before = b.resets;
        const auto start = Clock::now();
        Bench::Key(window.MEBuscarMusicas, 'a', false);
        typed.push_back(Milliseconds(b.FirstScreenAfter(before, 1) - start));
        if (!bareFirst)
            bareRuns.push_back(BareQuery(bare, static_cast<std::size_t>(b.screenRows)));
    }
    const double typedMedian = bench::Median(typed), bareMedian = bench::Median(bareRuns);
    std::printf("typed letter to painted rows (%d runs, medians): window %.1f ms, bare query %.1f ms: %.3fx\n",
                repetitions, typedMedian, bareMedian, typedMedian / bareMedian);

    const std::string word = "song";
    std::vector<double> perLetter, served;
    std::vector<int> servedRuns;
    for (int r = 0; r < std::max(1, repetitions / 2); ++r) {
        // One run per letter: what every keystroke costs when each is searched on its own.
        b.SearchFor({});
        auto start = Clock::now();
        for (std::size_t k = 1; k <= word.size(); ++k)
            b.SearchFor(QString::fromStdString(word.substr(0, k)).toUpper());
        perLetter.push_back(Milliseconds(watch.lastPaint - start));

        // The first letter's query runs while the other three keystrokes arrive.
        b.SearchFor({});
        window.MEBuscarMusicas->setFocus();
        const int before = b.resets;
        start = Clock::now();
        Bench::Key(window.MEBuscarMusicas, word[0], false);
        for (std::size_t k = 1; k < word.size(); ++k)
            Bench::Key(window.MEBuscarMusicas, word[k], true);
        bench::ServeUntil([&] {
            return songs.StatementText().find("'%SONG%'") != std::string::npos && watch.lastPaint > b.lastReset &&
                   watch.rowsAtPaint >= b.screenRows;
        });
        served.push_back(Milliseconds(watch.lastPaint - start));
        servedRuns.push_back(b.resets - before);
    }
    std::printf("\"%s\" typed quickly until its rows are painted (medians): one query per letter %.1f ms (4 runs); "
                "keystrokes that arrive during a query served together %.1f ms (%d runs)\n",
                word.c_str(), bench::Median(perLetter), bench::Median(served), servedRuns.front());
    return 0;
}
