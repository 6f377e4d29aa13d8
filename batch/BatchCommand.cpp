#include "batch/BatchCommand.h"

#include "catalogue/AttachInTime.h"
#include "catalogue/CatalogueError.h"
#include "catalogue/CatalogueSession.h"
#include "catalogue/Configuration.h"
#include "catalogue/EngineHolders.h"
#include "catalogue/ExitGuard.h"
#include "catalogue/SongColumns.h"
#include "songs/SongTagMapping.h"
#include "songs/ShareWatch.h"
#include "songs/SongWriting.h"
#include "songs/StopSignals.h"
#include "text/Capitals.h"
#include "text/CaseFolding.h"
#include "text/Cp1252.h"
#include "text/IntegerText.h"
#include "batch/Progress.h"
#include "batch/RunTally.h"
#include "batch/SongFrames.h"
#include "batch/SongsInFlight.h"

#include <atomic>
#include <memory>
#include <optional>
#include <set>
#include <system_error>
#include <utility>

namespace batch {
namespace {

using songs::SongOutcome;
using catalogue::SongColumn;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OwnedFile = std::unique_ptr<std::FILE, FileCloser>;

// Where the command talks to: the streams and the terminal's character set.
class Talk {
public:
    Talk(const CommandStreams& streams, const TerminalText& terminal)
        : streams_(streams)
        , terminal_(terminal)
    {
    }
    void Out(std::string_view utf8) const { Put(streams_.out, utf8); }
    void Error(std::string_view utf8) const
    {
        // After what standard output has so far, when both go to one place.
        std::fflush(streams_.out);
        Put(streams_.err, "fonarel-write: " + std::string(utf8) + "\n");
    }
    std::FILE* ProgressStream() const { return streams_.progress; }

private:
    void Put(std::FILE* stream, std::string_view utf8) const
    {
        const std::string shown = terminal_.ToTerminal(utf8);
        std::fwrite(shown.data(), 1, shown.size(), stream);
    }
    const CommandStreams& streams_;
    const TerminalText& terminal_;
};

// The configuration file the command reads: --ini, else RevoZadoz.ini beside the program.
std::filesystem::path IniPath(const CommandOptions& options, const std::filesystem::path& executable)
{
    return options.ini ? std::filesystem::path(*options.ini) : catalogue::ConfigurationPath(executable);
}

// What the command takes from the configuration file and its own options, read once.
struct CommandConfiguration {
    std::string database;
    catalogue::Credentials credentials;
    tagkit::Keeping keep;
    songs::FolderMap folders;
};

// The database name (--database, else the INI file's: --ini, else RevoZadoz.ini beside the
// program), the file's user and password, what the writes keep ([GRAVACAO], and the options)
// and where the Windows folders are ([PASTAS], then --map-folder); all but the name are read
// also when --database names the catalogue. None, after saying why, when the database has no
// name or a folder line cannot be taken.
std::optional<CommandConfiguration> ConfigurationOf(const CommandOptions& options, const std::filesystem::path& executable,
                                                    const TerminalText& terminal, const Talk& talk)
{
    const std::filesystem::path ini = IniPath(options, executable);
    catalogue::Configuration file = catalogue::LoadConfiguration(ini);
    if (!options.database && !file.exists) {
        talk.Error("no configuration file " + ini.string() + " (give --ini FILE or --database NAME)");
        return std::nullopt;
    }
    catalogue::ConfigurationValues& values = file.values;
    CommandConfiguration configuration;
    if (options.database) {
        configuration.database = *options.database;
    } else if (values.readError != 0) {
        talk.Error("cannot read " + ini.string() + ": " + std::system_category().message(values.readError) +
                   " (give --ini FILE or --database NAME)");
        return std::nullopt;
    } else if (values.databaseName.empty()) {
        talk.Error(ini.string() + " names no database (section [BANCO], key caminho)");
        return std::nullopt;
    } else {
        configuration.database = std::move(values.databaseName);
    }
    configuration.credentials = values.credentials.value_or(catalogue::Credentials{});
    configuration.keep = {options.keepOtherFrames || values.writing.keepOtherFrames,
                          options.keepTimes || values.writing.keepTimes};
    const std::vector<songs::RefusedFolderLine> refused = songs::AddFolderLines(configuration.folders, values.folderLines);
    for (const songs::RefusedFolderLine& line : refused)
        talk.Error(ini.string() + ", line " + std::to_string(line.number) + " ([PASTAS]): " +
                   songs::FolderLineErrorText(line.error, line.prefix, line.folder));
    if (!refused.empty())
        return std::nullopt;
    for (const CommandOptions::FolderLine& line : options.folders)
        configuration.folders.Add(terminal.FromTerminal(line.prefix), terminal.FromTerminal(line.folder));
    return configuration;
}

// The rows to write, in list order: every row, or the rows of the codes asked for.
std::vector<catalogue::SongList::RowId> ChosenRows(catalogue::SongList& songs, const std::vector<std::int64_t>& codes,
                                                  const Talk& talk)
{
    std::vector<catalogue::SongList::RowId> rows;
    const std::set<std::int64_t> wanted(codes.begin(), codes.end());
    std::set<std::int64_t> found;
    for (catalogue::SongList::RowId row = 0; row < songs.RowCount(); ++row) {
        if (!wanted.empty()) {
            const auto code = text::ParseInt32(songs.Row(row).Text(SongColumn::MUS_CODIGO));
            if (!code || !wanted.contains(*code))
                continue;
            found.insert(*code);
        }
        rows.push_back(row);
    }
    for (std::int64_t code : wanted)
        if (!found.contains(code))
            talk.Error("no song with code " + std::to_string(code) + " in the list");
    return rows;
}

// A dry run's lines for one song; cataloguePath: the catalogue's own path, when it differs.
std::string DryRunText(std::string_view code, std::string_view shownPath, std::string_view cataloguePath,
                       const songs::SongWriteResult& song, const std::vector<FrameChange>& changes)
{
    std::string out = "[" + std::string(code) + "] " + std::string(shownPath) + "\n";
    const auto line = [&out](std::string_view text) { out += "    " + std::string(text) + "\n"; };
    if (!cataloguePath.empty())
        line("catalogue: " + std::string(cataloguePath));
    if (song.outcome != SongOutcome::Written && song.outcome != SongOutcome::WouldWrite) {
        line(OutcomeListing(song));
    } else {
        if (changes.empty())
            line("rewritten, no frame changes");
        for (const FrameChange& change : changes)
            line(ChangeLine(change));
    }
    return out;
}

std::string ReportLine(std::string_view code, const std::string& path, const songs::SongWriteResult& song,
                       const std::vector<FrameChange>& changes)
{
    std::string ids;
    for (const FrameChange& change : changes)
        ids += (ids.empty() ? "" : ",") + change.id;
    return TabField(code) + "\t" + TabField(path) + "\t" + std::string(OutcomeWord(song.outcome)) + "\t" + ids + "\t" +
           TabField(songs::ReasonOf(song)) + "\n";
}

// Why the catalogue cannot be read, in the user's terms where the client's text would not help.
std::string CannotReadText(const std::string& database, const std::string& user, const catalogue::CatalogueError& error)
{
    if (error.Failure() == catalogue::CatalogueFailure::LoginRefused)
        return "the server refused the user " + user + " for the catalogue " + database +
               " (user name or password wrong: usuario and senha in the configuration file's [BANCO])";
    if (error.Failure() == catalogue::CatalogueFailure::OpenInAnotherProgram)
        return "the catalogue " + database +
               " is open in another program on this machine, and the embedded engine lets one program at a "
               "time have it: close that program (a Fonarel 2010 window, say), or share the catalogue through "
               "the Firebird server (--database localhost:" + database + ")";
    return "the catalogue " + database + " cannot be read:\n" + text::Utf8FromCp1252(error.what());
}

// The catalogue did not open within the wait: who holds the engine, as far as the system tells.
std::string EngineHeldText(const std::string& database, std::chrono::milliseconds waited,
                           const std::vector<std::string>& holders)
{
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%g", static_cast<double>(waited.count()) / 1000);
    std::string text = "the catalogue " + database + " did not open within " + seconds + " s: ";
    if (holders.empty())
        return text + "the embedded engine is held by a process of this machine that does not answer";
    text += "the embedded engine is held by another program on this machine: ";
    for (std::size_t i = 0; i < holders.size(); ++i)
        text += (i > 0 ? ", " : "") + holders[i];
    // A catalogue named by its file can be shared through the server instead; one named through a
    // server already is.
    if (database.starts_with("/"))
        return text + " (if it does not answer, end it; or share the catalogue through the Firebird server, "
                      "--database localhost:" + database + ")";
    return text + " (if it does not answer, end it)";
}

// The summary of a command stopped before its songs were listed.
std::string StoppedWhileOpeningText(const CommandOptions& options, const TerminalText& terminal)
{
    return terminal.ToTerminal("interrupted before the songs were listed\n" + SummaryText(RunTally{}, options.dryRun, false));
}

class Run {
public:
    Run(const CommandOptions& options, tagkit::Keeping keep, songs::FolderMap folders, const Talk& talk,
        const volatile std::sig_atomic_t& interrupted)
        : options_(options)
        , talk_(talk)
        , interrupted_(interrupted)
        , finder_(std::move(folders))
    {
        writeOptions_.finder = &finder_;
        writeOptions_.dryRun = options.dryRun || options.check;
        writeOptions_.skipUnchanged = options.skipUnchanged;
        writeOptions_.keepTags = options.dryRun || options.report.has_value();
        writeOptions_.lockWait = options.lockWait;
        writeOptions_.keep = keep;
    }

    bool OpenReport()
    {
        if (!options_.report)
            return true;
        report_.reset(std::fopen(options_.report->c_str(), "w"));
        if (!report_)
            talk_.Error("cannot write the report " + *options_.report);
        return report_ != nullptr;
    }

    void WriteSongs(catalogue::SongList& songs, const std::vector<catalogue::SongList::RowId>& rows)
    {
        tally_.listed = rows.size();
        Progress progress(options_.quiet ? nullptr : talk_.ProgressStream(), rows.size());
        WriteSongsInFlight(
            rows.size(), options_.jobs,
            [&](std::size_t i, io::WrittenFileSystems& written) { return WriteSong(songs.Row(rows[i]), written); },
            [&](std::size_t i, const SongDone& done) {
                Tell(songs.Row(rows[i]), done);
                // A share gone: songs in flight finish, no other is taken.
                if (watch_.Saw(done.result, i + 1, songs.Row(rows[i]).Text(SongColumn::MUS_CODIGO)))
                    halted_ = true;
                progress.Done(tally_.done);
            },
            interrupted_, halted_, written_);
        progress.End();
        if (watch_.Loss()) {
            // The rest is not tried: told as such, in the report too.
            for (std::size_t i = tally_.done; i < rows.size(); ++i) {
                SongDone rest;
                rest.tag = songs::MapSongToTag(songs.Row(rows[i]));
                rest.result.outcome = SongOutcome::NotTried;
                rest.result.why = "the run stopped: " + watch_.Loss()->folder + " stopped answering";
                Tell(songs.Row(rows[i]), rest, false);
            }
        }
        // What the run wrote is on disk before it says it is done: one flush per file system.
        written_.FlushAll();
    }

    const RunTally& Tally() const { return tally_; }
    // Interrupted by a signal before its last song (or before the first of none).
    bool Stopped() const
    {
        return !watch_.Loss() && (tally_.done < tally_.listed || (tally_.done == 0 && interrupted_ != 0));
    }
    // Why the run stopped taking songs, when a folder stopped answering.
    const std::optional<songs::ShareLoss>& Loss() const { return watch_.Loss(); }

private:
    // One song written (on any thread: the toolkit's state is the thread's own).
    SongDone WriteSong(const catalogue::SongRecord& record, io::WrittenFileSystems& written) const
    {
        SongDone done;
        done.tag = songs::MapSongToTag(record);
        done.result = songs::WriteCatalogueSong(done.tag, writeOptions_, written);
        return done;
    }

    // What became of a song, counted and told (on the calling thread, in list order); a song not
    // tried is named in the listing and the report alone.
    void Tell(const catalogue::SongRecord& record, const SongDone& done, bool nameable = true)
    {
        const songs::SongTag& tag = done.tag;
        const songs::SongWriteResult& song = done.result;
        tally_.Count(song);
        // A failed or busy write is named even with --quiet, as it always was; every other song
        // not written unless --quiet; a dry run's listing names them all (--check's too).
        const bool failed = song.outcome == SongOutcome::Failed || song.outcome == SongOutcome::Busy;
        const bool plainDryRun = options_.dryRun && !options_.check;
        const bool named = !plainDryRun && nameable && (failed || (songs::IsNotWritten(song.outcome) && !options_.quiet));
        if (!options_.dryRun && !report_ && !named)
            return; // nothing to say of a song written, skipped or passed over
        const std::string code(record.Text(SongColumn::MUS_CODIGO));
        const std::string cataloguePath = text::Utf8FromCp1252(tag.fileName);
        // The path on this machine, where there is one; else the catalogue's.
        const std::string shownPath = song.path.empty() ? cataloguePath : text::Utf8OrCp1252(song.path);
        const std::vector<FrameChange> changes = writeOptions_.keepTags ? ChangesOfSong(song) : std::vector<FrameChange>{};
        if (options_.dryRun)
            talk_.Out(DryRunText(code, shownPath, shownPath == cataloguePath ? "" : cataloguePath, song, changes));
        if (named)
            talk_.Error("[" + code + "] " + shownPath + ": " + (song.outcome == SongOutcome::Busy ? "busy: " : "not written: ") +
                        songs::ReasonOf(song));
        if (report_) {
            // A song with no path on this machine, or not tried (its folder may not answer), has the
            // catalogue's.
            const bool cataloguesOwn = !song.prefix.empty() || song.outcome == SongOutcome::NotTried;
            const std::string path = !song.path.empty() ? song.path
                                     : cataloguesOwn     ? cataloguePath
                                                         : songs::FileSystemPath(tag.fileName);
            const std::string line = ReportLine(code, path, song, changes);
            std::fwrite(line.data(), 1, line.size(), report_.get());
            // Line by line, so that the report of an interrupted or killed run lists what was done.
            std::fflush(report_.get());
        }
    }

    const CommandOptions& options_;
    const Talk& talk_;
    const volatile std::sig_atomic_t& interrupted_;
    songs::SongFinder finder_;
    songs::ShareWatch watch_;
    std::atomic<bool> halted_ = false;
    songs::SongWriteOptions writeOptions_;
    io::WrittenFileSystems written_;
    OwnedFile report_;
    RunTally tally_;
};

} // namespace

int RunCommand(const CommandOptions& options, const std::filesystem::path& executablePath, const TerminalText& terminal,
               const volatile std::sig_atomic_t& interrupted, const CommandStreams& streams)
{
    const Talk talk(streams, terminal);
    std::optional<CommandConfiguration> configuration = ConfigurationOf(options, executablePath, terminal, talk);
    if (!configuration)
        return kExitUsage;
    const std::string& database = configuration->database;

    // The user and password of the configuration file's [BANCO], when it gives them (also with
    // --database: no password is ever taken from the command line).
    catalogue::CatalogueSession session(configuration->credentials);
    session.DB_Audio().SetDatabaseName(database);
    catalogue::SongList& songs = session.Q_Musicas();
    try {
        // Nothing is in hand while the catalogue opens, and its engine may wait on another program
        // for long: a stop signal ends the command at once, with the summary.
        const songs::StopAtOnce atOnce(options.quiet ? std::string() : StoppedWhileOpeningText(options, terminal),
                                       fileno(streams.out));
        if (!catalogue::AttachInTime(session, options.openWait)) {
            // The attach goes on inside the engine and cannot be called off: the command ends
            // without its exit handlers, which would wait for it.
            talk.Error(EngineHeldText(terminal.FromTerminal(database), options.openWait, catalogue::EngineHolders()));
            catalogue::exit_guard::EndNow(kExitUsage);
        }
        // The search text as the search box holds it: capitals, in the catalogue's code page.
        session.RunSongQuery(text::Cp1252Capitals(terminal.FromTerminal(options.search)), options.sort);
        songs.FetchAll();
    } catch (const catalogue::CatalogueError& error) {
        talk.Error(CannotReadText(terminal.FromTerminal(database),
                                  text::Utf8FromCp1252(session.DB_Audio().UsedCredentials().userName), error));
        return kExitUsage;
    }
    // Interrupted while the list was read: the run stops before its first song and says so.
    Run run(options, configuration->keep, std::move(configuration->folders), talk, interrupted);
    if (!run.OpenReport())
        return kExitUsage;
    run.WriteSongs(songs, ChosenRows(songs, options.codes, talk));
    try {
        session.Shutdown();
    } catch (const catalogue::CatalogueError& error) {
        talk.Error("closing the catalogue: " + text::Utf8FromCp1252(error.what()));
    }
    if (!options.quiet)
        talk.Out(SummaryText(run.Tally(), options.dryRun || options.check, run.Stopped()));
    if (const std::optional<songs::ShareLoss>& loss = run.Loss())
        talk.Error("stopped: " + loss->folder + " stopped answering (" + loss->cause + ") after song " +
                   std::to_string(loss->position) + " (code " + loss->code + "); " + std::to_string(run.Tally().notTried) +
                   " songs not tried");
    std::fflush(streams.out);
    if (run.Stopped())
        return kExitStoppedBy + interrupted;
    if (run.Tally().notWritten > 0)
        return kExitWriteFailed;
    return options.check && run.Tally().written > 0 ? kExitWouldChange : kExitSuccess;
}

} // namespace batch
