// fonarel-write: the batch run of the window without the window, for a terminal, a script or a
// scheduled job. See UsageText() and docs/fonarel-write.1.
#include "io/FileSystem.h"
#include "batch/BatchCommand.h"
#include "batch/CommandOptions.h"
#include "batch/TerminalText.h"
#include "songs/StopSignals.h"

#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <string_view>
#include <vector>

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    // Ctrl+C, SIGTERM and SIGHUP stop the run after the song at hand instead of in the middle of a
    // write (taken again once the catalogue's engine has installed its own handlers).
    songs::StopSignals::Take();
    const batch::TerminalText terminal;
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const batch::ParsedCommand command = batch::ParseCommandOptions(args);
    if (!command.error.empty()) {
        const std::string shown = terminal.ToTerminal(terminal.FromTerminal(command.error));
        std::fprintf(stderr, "fonarel-write: %s\nTry 'fonarel-write --help'.\n", shown.c_str());
        return batch::kExitUsage;
    }
    if (command.options.help) {
        std::fputs(batch::UsageText().c_str(), stdout);
        return batch::kExitSuccess;
    }
    if (command.options.version) {
        std::puts("fonarel-write (Fonarel 2010) " FONAREL_VERSION);
        return batch::kExitSuccess;
    }
    batch::CommandStreams streams;
    if (isatty(STDERR_FILENO))
        streams.progress = stderr;
    // RevoZadoz.ini is looked for beside the program itself, wherever it was started from.
    const std::string executable = io::LinkTarget("/proc/self/exe");
    return batch::RunCommand(command.options, executable, terminal, songs::StopSignals::Received(), streams);
}
