#include "batch/CommandOptions.h"

#include "catalogue/SongQuery.h"
#include "songs/FolderMap.h"

#include <charconv>
#include <functional>
#include <map>

namespace batch {
namespace {

using Setter = std::function<std::string(CommandOptions&, std::string_view)>;

std::string SetCode(CommandOptions& options, std::string_view value)
{
    std::int32_t code = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), code);
    if (error != std::errc() || end != value.data() + value.size())
        return "--code takes a song's code, a whole number: '" + std::string(value) + "'";
    options.codes.push_back(code);
    return {};
}

std::string SetSort(CommandOptions& options, std::string_view value)
{
    if (!catalogue::IsSortColumnName(value))
        return "--sort takes a column name (letters, digits, _ and $, optionally after an alias and a dot): '" +
               std::string(value) + "'";
    options.sort = std::string(value);
    return {};
}

std::string SetWait(CommandOptions& options, std::string_view value)
{
    double seconds = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
    if (error != std::errc() || end != value.data() + value.size() || !(seconds >= 0 && seconds <= 86400))
        return "--wait takes a number of seconds, 0 to 86400: '" + std::string(value) + "'";
    options.lockWait = std::chrono::milliseconds(static_cast<std::int64_t>(seconds * 1000 + 0.5));
    return {};
}

std::string SetOpenWait(CommandOptions& options, std::string_view value)
{
    double seconds = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
    if (error != std::errc() || end != value.data() + value.size() || !(seconds > 0 && seconds <= 86400))
        return "--open-wait takes a number of seconds, more than 0 and up to 86400: '" + std::string(value) + "'";
    options.openWait = std::chrono::milliseconds(static_cast<std::int64_t>(seconds * 1000 + 0.5));
    return {};
}

std::string SetJobs(CommandOptions& options, std::string_view value)
{
    unsigned jobs = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), jobs);
    if (error != std::errc() || end != value.data() + value.size() || jobs < 1 || jobs > 64)
        return "--jobs takes a number of songs in flight, 1 to 64: '" + std::string(value) + "'";
    options.jobs = jobs;
    return {};
}

std::string SetFolder(CommandOptions& options, std::string_view value)
{
    const std::size_t equals = value.find('=');
    if (equals == std::string_view::npos)
        return "--map-folder takes PREFIX=FOLDER (M:\\=/mnt/acervo): '" + std::string(value) + "'";
    CommandOptions::FolderLine line{std::string(value.substr(0, equals)), std::string(value.substr(equals + 1))};
    songs::FolderMap check;
    if (const songs::FolderLineError error = check.Add(line.prefix, line.folder); error != songs::FolderLineError::None)
        return "--map-folder " + std::string(value) + ": " + songs::FolderLineErrorText(error, line.prefix, line.folder);
    options.folders.push_back(std::move(line));
    return {};
}

// The options that take a value.
const std::map<std::string_view, Setter>& ValueOptions()
{
    static const std::map<std::string_view, Setter> options = {
        {"--ini", [](CommandOptions& o, std::string_view v) { o.ini = std::string(v); return std::string(); }},
        {"--database", [](CommandOptions& o, std::string_view v) { o.database = std::string(v); return std::string(); }},
        {"--search", [](CommandOptions& o, std::string_view v) { o.search = std::string(v); return std::string(); }},
        {"--sort", SetSort},
        {"--code", SetCode},
        {"--report", [](CommandOptions& o, std::string_view v) { o.report = std::string(v); return std::string(); }},
        {"--wait", SetWait},
        {"--open-wait", SetOpenWait},
        {"--jobs", SetJobs},
        {"--map-folder", SetFolder},
        {"-j", SetJobs},
    };
    return options;
}

// The options that are flags.
bool* Flag(CommandOptions& options, std::string_view name)
{
    if (name == "--dry-run")
        return &options.dryRun;
    if (name == "--check")
        return &options.check;
    if (name == "--skip-unchanged")
        return &options.skipUnchanged;
    if (name == "--keep-other-frames")
        return &options.keepOtherFrames;
    if (name == "--keep-times")
        return &options.keepTimes;
    if (name == "--quiet" || name == "-q")
        return &options.quiet;
    if (name == "--help" || name == "-h")
        return &options.help;
    if (name == "--version")
        return &options.version;
    return nullptr;
}

} // namespace

ParsedCommand ParseCommandOptions(std::span<const std::string_view> args)
{
    ParsedCommand parsed;
    CommandOptions& options = parsed.options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view name = args[i];
        std::optional<std::string_view> value;
        if (const std::size_t equals = name.find('='); name.starts_with("--") && equals != std::string_view::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        if (bool* flag = Flag(options, name)) {
            if (value) {
                parsed.error = std::string(name) + " takes no value";
                return parsed;
            }
            *flag = true;
            continue;
        }
        const auto setter = ValueOptions().find(name);
        if (setter == ValueOptions().end()) {
            parsed.error = name.starts_with("-") ? "unknown option " + std::string(name)
                                                 : "unexpected argument '" + std::string(name) + "'";
            return parsed;
        }
        if (!value) {
            if (i + 1 == args.size()) {
                parsed.error = std::string(name) + " needs a value";
                return parsed;
            }
            value = args[++i];
        }
        parsed.error = setter->second(options, *value);
        if (!parsed.error.empty())
            return parsed;
    }
    if ((options.dryRun || options.check) && options.skipUnchanged)
        parsed.error = std::string(options.check ? "--check" : "--dry-run") +
                       " writes nothing; --skip-unchanged has nothing to skip";
    return parsed;
}

std::string UsageText()
{
    return R"(usage: fonarel-write [options]

Writes the catalogue's songs into their MP3 files as ID3v2.3 tags, as the window's
"Gravar Todas" and "Gravar Selecionadas" do.

The catalogue (default: the database named in RevoZadoz.ini beside this program):
  --ini FILE          read the database's name from FILE ([BANCO] caminho)
  --database NAME     the database: a file path (embedded engine) or host:/path (a server)

Where the songs are, for a catalogue made on Windows (default: RevoZadoz.ini's [PASTAS]):
  --map-folder PREFIX=FOLDER
                      the folder of this machine where the Windows drive or share PREFIX is
                      (M:\=/mnt/acervo, \\SERVIDOR\Acervo=/mnt/servidor); may be given again,
                      and wins over a [PASTAS] line with the same prefix. Names under it are
                      found with letter case ignored, as Windows finds them

Which songs (default: every song of the list, in list order):
  --search TEXT       songs whose full name contains TEXT, upper-cased as the search box
                      does; % and _ are wildcards
  --sort COLUMN       the list's order (default Mus_Codigo)
  --code N            only the song with code N; may be given again

How:
  --dry-run           inspect only and show, per song, each frame whose value would change;
                      no file is opened for writing
  --check             inspect as --dry-run does and write nothing; prints the summary alone
                      (and, with --dry-run, the listing); see the exit status
  --skip-unchanged    leave alone a song whose new tag would be the tag it already has
  --keep-other-frames keep the old tag's other frames (pictures, lyrics, TXXX, ...) as ID3v2.3
                      frames after the catalogue's ([GRAVACAO] manter_quadros=1 does too)
  --keep-times        give each song back the access and modification times it had
                      ([GRAVACAO] manter_datas=1 does too)
  --report FILE       one line per song: code, path, outcome, changed frame IDs, reason
                      (tab-separated)
  --wait SECONDS      how long to wait for a song that another program is writing before it
                      counts as busy (default 5)
  --open-wait SECONDS how long to wait for the catalogue when another program on this machine
                      holds its embedded engine (default 5)
  -j, --jobs N        write up to N songs at once (default 4); the listing, the report and
                      the summary stay in list order
  -q, --quiet         no progress and no summary
  -h, --help          this text
      --version       the program's version

A song not written (missing, unmapped, outside its folder, ambiguous, passed over, failed,
busy or not tried) is named on standard error with its reason; unless --quiet, which keeps
back all but failed and busy writes. When a folder stops answering (a share whose server went
away), the run stops taking songs, says so on standard error and leaves the rest not tried.

Exit status: 0 when every song was written, unchanged or no MP3; 1 when a song was not
written; 2 for a wrong command line, a configuration or catalogue connection error; with
--check, 0 when every song already holds its tag, 3 when one would change, 1 when one would
not be written (1 wins over 3); 128 + the signal's number when stopped by SIGINT (Ctrl+C, 130),
SIGTERM (143) or SIGHUP (129) after the song at hand; a second such signal ends the program at
once, as does the first before the songs are listed.
)";
}

} // namespace batch
