// Prints how long the song query takes to show its first 30 rows and to fetch all of them, and
// how much memory the kept rows take, for the song list (Q_Musicas) and for a bare loop of the
// Firebird interface fetching the same rows, embedded and over the loopback server.
//
//   catalogue_bench [repetitions]    (7 by default)
//
// The 100,000-song catalogue is built once beside the program and reused. The server part runs
// when FONAREL_FB_SERVER names the server (scripts/firebird-server start) and the program may
// hand a copy of the catalogue to the server's user.
#include "bench/support/GeneratedCatalogueFile.h"
#include "bench/support/Measures.h"
#include "catalogue/CatalogueSession.h"
#include "catalogue/FirebirdClient.h"
#include "catalogue/SongQuery.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using bench::Clock;
using bench::HeapInUse;
using bench::MiB;
using bench::Milliseconds;
using catalogue::ClientPtr;
using catalogue::client::Status;

constexpr std::size_t kSongs = 100000;
constexpr std::size_t kFirstRows = 30;

// Median and fastest run: on a shared machine the fastest is the least disturbed.
struct Figure {
    double median;
    double fastest;
};

Figure Summarize(const std::vector<double>& values)
{
    return {bench::Median(values), *std::min_element(values.begin(), values.end())};
}

void PrintLine(const char* what, Figure list, Figure bare)
{
    std::printf("  %-15s song list %7.1f ms (fastest %7.1f)   bare loop %7.1f ms (fastest %7.1f)   "
                "%+.1f%% (fastest %+.1f%%)\n",
                what, list.median, list.fastest, bare.median, bare.fastest,
                100 * (list.median - bare.median) / bare.median, 100 * (list.fastest - bare.fastest) / bare.fastest);
}

struct Timing {
    double firstRows = 0; // from preparing the statement to the 30th row
    double allRows = 0;   // from preparing the statement to the last row
    std::size_t rows = 0;
};

// The reference: the Firebird interface alone, fetching every row into one message buffer.
Timing BareLoop(const std::string& databaseName, const std::string& statement)
{
    Timing timing;
    catalogue::client::Call([&] {
        Status status;
        const auto dpb = catalogue::DatabaseParameterBlock({});
        const auto tpb = catalogue::TransactionParameterBlock();
        auto provider = catalogue::client::Dispatcher();
        ClientPtr<Firebird::IAttachment> attachment(
            provider->attachDatabase(&status, databaseName.c_str(), static_cast<unsigned>(dpb.size()), dpb.data()));
        ClientPtr<Firebird::ITransaction> transaction(
            attachment->startTransaction(&status, static_cast<unsigned>(tpb.size()), tpb.data()));
        const auto start = Clock::now();
        ClientPtr<Firebird::IStatement> prepared(
            attachment->prepare(&status, transaction.get(), static_cast<unsigned>(statement.size()),
                                statement.data(), catalogue::kSqlDialect, Firebird::IStatement::PREPARE_PREFETCH_METADATA));
        ClientPtr<Firebird::IMessageMetadata> metadata(prepared->getOutputMetadata(&status));
        std::vector<std::uint8_t> message(metadata->getMessageLength(&status));
        ClientPtr<Firebird::IResultSet> cursor(
            prepared->openCursor(&status, transaction.get(), nullptr, nullptr, metadata.get(), 0));
        while (cursor->fetchNext(&status, message.data()) == Firebird::IStatus::RESULT_OK) {
            if (++timing.rows == kFirstRows)
                timing.firstRows = Milliseconds(Clock::now() - start);
        }
        timing.allRows = Milliseconds(Clock::now() - start);
    });
    return timing;
}

struct ListTiming : Timing {
    std::size_t keptBytes = 0;
    std::size_t heapBytes = 0;
    std::size_t textBytes = 0;
};

ListTiming SongListRun(const std::string& databaseName)
{
    ListTiming timing;
    catalogue::CatalogueSession session;
    session.DB_Audio().SetDatabaseName(databaseName);
    session.DB_Audio().Connect();
    session.Transaction_Audio().Start(session.DB_Audio());
    catalogue::SongList& songs = session.Q_Musicas();
    const std::size_t heapBefore = HeapInUse();
    const auto start = Clock::now();
    session.RunSongQuery("", catalogue::kDefaultSortColumn);
    songs.FetchUntil(kFirstRows);
    timing.firstRows = Milliseconds(Clock::now() - start);
    songs.FetchAll();
    timing.allRows = Milliseconds(Clock::now() - start);
    timing.rows = songs.RowCount();
    timing.heapBytes = HeapInUse() - heapBefore;
    timing.keptBytes = songs.KeptBytes();
    for (std::size_t row = 0; row < songs.RowCount(); ++row) {
        for (std::size_t c = 0; c < catalogue::kSongColumnCount; ++c)
            timing.textBytes += songs.Row(row).Text(static_cast<catalogue::SongColumn>(c)).size();
    }
    return timing;
}

void Measure(const char* backend, const std::string& databaseName, int repetitions)
{
    const std::string statement = catalogue::SongQueryText("", catalogue::kDefaultSortColumn);
    std::vector<double> bareFirst, bareAll, listFirst, listAll;
    ListTiming last;
    std::size_t bareRows = 0;
    for (int i = 0; i < repetitions; ++i) {
        // Alternate which goes first, so that neither always finds the server's caches warmer.
        Timing bare;
        if (i % 2 == 0) {
            bare = BareLoop(databaseName, statement);
            last = SongListRun(databaseName);
        } else {
            last = SongListRun(databaseName);
            bare = BareLoop(databaseName, statement);
        }
        bareFirst.push_back(bare.firstRows);
        bareAll.push_back(bare.allRows);
        listFirst.push_back(last.firstRows);
        listAll.push_back(last.allRows);
        bareRows = bare.rows;
    }
    std::printf("\n%s (%s), %d runs, %zu rows (bare loop: %zu)\n", backend, databaseName.c_str(), repetitions,
                last.rows, bareRows);
    PrintLine("first 30 rows:", Summarize(listFirst), Summarize(bareFirst));
    PrintLine("all rows:", Summarize(listAll), Summarize(bareAll));
    const double rows = static_cast<double>(last.rows);
    std::printf("  kept rows: %.1f MiB in the store (%.1f bytes a row), heap growth %.1f MiB; "
                "text %.1f bytes a row; store / text = %.2f\n",
                MiB(double(last.keptBytes)), last.keptBytes / rows, MiB(double(last.heapBytes)),
                last.textBytes / rows, static_cast<double>(last.keptBytes) / last.textBytes);
}

// A copy of the catalogue in a folder of its own that the server's user owns.
std::string ServerCopy(const fs::path& catalogue, const std::string& host, fs::path& folder)
{
    std::string pattern = (fs::temp_directory_path() / "fonarel-bench.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        return {};
    folder = pattern;
    const fs::path copy = folder / "catalogue.fdb";
    fs::copy_file(catalogue, copy);
    const passwd* server = getpwnam("firebird");
    if (server == nullptr || chown(folder.c_str(), server->pw_uid, server->pw_gid) != 0 ||
        chown(copy.c_str(), server->pw_uid, server->pw_gid) != 0)
        return {};
    return host + ":" + copy.string();
}

} // namespace

int main(int argc, char** argv)
{
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const fs::path catalogue = FONAREL_BENCH_CATALOGUE;
    try {
        bench::BuildGeneratedCatalogueOnce(catalogue, kSongs);
        Measure("embedded", catalogue.string(), repetitions);

        const char* host = std::getenv("FONAREL_FB_SERVER");
        if (host == nullptr || *host == '\0') {
            std::printf("\nserver: skipped (FONAREL_FB_SERVER is not set; run scripts/firebird-server start)\n");
            return 0;
        }
        fs::path folder;
        const std::string name = ServerCopy(catalogue, host, folder);
        if (name.empty()) {
            std::printf("\nserver: skipped (cannot hand a copy of the catalogue to the user firebird)\n");
        } else {
            Measure("loopback server", name, repetitions);
        }
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "catalogue_bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
