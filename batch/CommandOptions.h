#pragma once
// The command line of fonarel-write: which catalogue, which songs, and how the run goes.
#include "id3v2/TagWriter.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace batch {

struct CommandOptions {
    std::optional<std::string> ini;      // --ini FILE
    std::optional<std::string> database; // --database NAME, as the client takes it
    // --search TEXT, in the terminal's encoding as given (upper-cased when the query is made).
    std::string search;
    std::string sort = "Mus_Codigo";     // --sort COLUMN
    std::vector<std::int64_t> codes;     // --code N, in the order given
    bool dryRun = false;
    // --check: inspect as a dry run does, and say by the exit status whether the files hold the
    // catalogue's tags.
    bool check = false;
    bool skipUnchanged = false;
    // --keep-other-frames, --keep-times; also on when RevoZadoz.ini's [GRAVACAO] says so.
    bool keepOtherFrames = false;
    bool keepTimes = false;
    bool quiet = false;
    std::optional<std::string> report;   // --report FILE
    // --map-folder PREFIX=FOLDER, in the order given, as given (after the file's [PASTAS] lines,
    // which they add to and override).
    struct FolderLine {
        std::string prefix;
        std::string folder;
    };
    std::vector<FolderLine> folders;
    // --wait SECONDS: how long a song another writer holds is waited for.
    std::chrono::milliseconds lockWait = id3v2::kDefaultLockWait;
    // --open-wait SECONDS: how long the catalogue's attach is waited for.
    std::chrono::milliseconds openWait = std::chrono::seconds(5);
    // --jobs N: songs in flight at once. Four by default: on a local disk a run takes as long with
    // 1, 2, 4 or 8, on a folder whose every call waits for a file server 4 are about 3.5 times as
    // fast as 1, and more add less while they load the server more.
    unsigned jobs = 4;
    bool help = false;
    bool version = false;
};

struct ParsedCommand {
    CommandOptions options;
    // What is wrong with the command line; empty when it is right.
    std::string error;
};

// args: the arguments after the program's name. Options take their value as the next argument
// or after "=" ("--sort=MUS_NOME").
ParsedCommand ParseCommandOptions(std::span<const std::string_view> args);

// The text --help prints.
std::string UsageText();

} // namespace batch
