// fonarel-save-one [--read-first] TITLE SONG...: writes each song's tag as a batch run does
// (CreateTagObjects, LoadFileInfoForWriting, SaveTagInfo with a title, an album and a track,
// FreeTagObjects). With --read-first, as a song that cannot be held for writing is written:
// LoadFileInfo, then SaveTagInfo. Prints one line per song, "written" or "not written", and ends 0
// when every song was written, 1 otherwise.
#include "id3v2/TagWriter.h"
#include "tagkit/U_Funcoes.h"

#include <cstdio>
#include <string>
#include <string_view>

int main(int argc, char** argv)
{
    int first = 1;
    const bool readFirst = argc > 1 && std::string_view(argv[1]) == "--read-first";
    first += readFirst ? 1 : 0;
    if (argc < first + 2) {
        std::fprintf(stderr, "usage: fonarel-save-one [--read-first] TITLE SONG...\n");
        return 2;
    }
    tagkit::TagValues values;
    values.Title = argv[first];
    values.Album = "Falhas";
    values.Track = "7";
    values.FileExtension = ".mp3";
    bool all = true;
    for (int i = first + 1; i < argc; ++i) {
        const std::string path = argv[i];
        tagkit::CreateTagObjects(".mp3");
        bool written = false;
        const tagkit::Hold hold =
            readFirst ? tagkit::Hold::NotHeld : tagkit::LoadFileInfoForWriting(path, id3v2::kDefaultLockWait);
        if (hold == tagkit::Hold::NotHeld)
            tagkit::LoadFileInfo(path);
        try {
            written = hold != tagkit::Hold::Busy && tagkit::SaveTagInfo(path, values);
        } catch (...) {
        }
        tagkit::FreeTagObjects(".mp3");
        std::printf("%s %s\n", written ? "written" : "not written", path.c_str());
        std::fflush(stdout);
        all = all && written;
    }
    return all ? 0 : 1;
}
